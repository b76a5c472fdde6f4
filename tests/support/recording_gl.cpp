#include "recording_gl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

namespace {

RecordingGl* current = nullptr;

template <typename T>
GlArg ToArg(T value) {
  GlArg arg;
  if constexpr (std::is_pointer_v<T>) {
    arg.kind = GlArg::Kind::Pointer;
    arg.p = reinterpret_cast<const void*>(value);
  } else if constexpr (std::is_floating_point_v<T>) {
    arg.kind = GlArg::Kind::Float;
    arg.f = value;
    arg.i = static_cast<int64_t>(value);
  } else {
    arg.i = static_cast<int64_t>(value);
    arg.f = static_cast<double>(value);
  }
  return arg;
}

template <typename... T>
std::vector<GlArg> Args(T... values) {
  return {ToArg(values)...};
}

template <typename R>
R Convert(const GlArg& result) {
  if constexpr (std::is_void_v<R>) {
    return;
  } else if constexpr (std::is_pointer_v<R>) {
    return (R)(const_cast<void*>(result.p));
  } else {
    return static_cast<R>(result.i);
  }
}

#define SS_GL_FUNCTION(ret, name, params, args) \
  ret Fake_##name params { return Convert<ret>(current->Record(#name, Args args)); }
#define SS_GL_EXTENSION_FUNCTION(group, ret, name, params, args) SS_GL_FUNCTION(ret, name, params, args)
#include "platform/gl_core.inc"
#include "platform/gl_extension_functions.inc"
#undef SS_GL_FUNCTION
#undef SS_GL_EXTENSION_FUNCTION

std::size_t BytesPerPixel(GLenum format) {
  switch (format) {
    case GL_RGB:
    case GL_BGR: return 3;
    case GL_RGBA:
    case GL_BGRA: return 4;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1;
  }
}

// Tightly packed rows of a glTexImage2D call, GL_UNSIGNED_BYTE only.
std::vector<uint8_t> CopyImage(const GlCall& call, GLint alignment) {
  const auto width = static_cast<std::size_t>(call.Int(3));
  const auto height = static_cast<std::size_t>(call.Int(4));
  const auto* pixels = static_cast<const uint8_t*>(call.Pointer(8));
  if (!pixels || call.Int(7) != GL_UNSIGNED_BYTE) return {};
  const std::size_t row = width * BytesPerPixel(static_cast<GLenum>(call.Int(6)));
  const std::size_t stride = (row + alignment - 1) / alignment * alignment;
  std::vector<uint8_t> data;
  data.reserve(row * height);
  for (std::size_t y = 0; y < height; ++y) data.insert(data.end(), pixels + y * stride, pixels + y * stride + row);
  return data;
}

}  // namespace

RecordingGl::RecordingGl() {
  if (current) ADD_FAILURE() << "only one RecordingGl may live at a time";
  current = this;
  gl = GlTable{};
#define SS_GL_FUNCTION(ret, name, params, args) gl.name = &Fake_##name;
#define SS_GL_EXTENSION_FUNCTION(group, ret, name, params, args) gl.name = &Fake_##name;
#include "platform/gl_core.inc"
#include "platform/gl_extension_functions.inc"
#undef SS_GL_FUNCTION
#undef SS_GL_EXTENSION_FUNCTION
}

RecordingGl::~RecordingGl() {
  gl = GlTable{};
  current = nullptr;
}

GlArg RecordingGl::Record(const char* name, std::vector<GlArg> args) {
  GlCall call;
  call.name = name;
  call.args = std::move(args);
  std::function<void(GlCall&)> handler;
  {
    std::lock_guard<std::mutex> lock(guard_);
    auto found = handlers_.find(call.name);
    if (found != handlers_.end()) {
      handler = found->second;
    } else {
      Answer(call);
    }
  }
  if (handler) handler(call);
  std::lock_guard<std::mutex> lock(guard_);
  calls_.push_back(call);
  return call.result;
}

// Caller holds guard_.
void RecordingGl::Answer(GlCall& call) {
  const std::string& name = call.name;
  if (name == "glGenTextures") {
    auto* names = static_cast<GLuint*>(const_cast<void*>(call.Pointer(1)));
    for (int64_t k = 0; k < call.Int(0); ++k) names[k] = nextTexture_++;
  } else if (name == "glGenLists") {
    call.result.i = nextList_;
    nextList_ += static_cast<GLuint>(call.Int(0));
  } else if (name == "glCreateShaderObjectARB" || name == "glCreateProgramObjectARB") {
    call.result.i = nextHandle_++;
  } else if (name == "glGetString") {
    auto found = strings_.find(static_cast<GLenum>(call.Int(0)));
    call.result.kind = GlArg::Kind::Pointer;
    call.result.p = found == strings_.end() ? nullptr : found->second.c_str();
  } else if (name == "glGetIntegerv") {
    auto found = integers_.find(static_cast<GLenum>(call.Int(0)));
    if (found != integers_.end()) *static_cast<GLint*>(const_cast<void*>(call.Pointer(1))) = found->second;
  } else if (name == "glPixelStorei") {
    if (call.Int(0) == GL_UNPACK_ALIGNMENT) unpackAlignment_ = static_cast<GLint>(call.Int(1));
  } else if (name == "glTexImage2D") {
    call.data = CopyImage(call, unpackAlignment_);
  } else {
    auto found = returns_.find(name);
    if (found != returns_.end()) call.result.i = found->second;
  }
}

std::vector<GlCall> RecordingGl::Calls() const {
  std::lock_guard<std::mutex> lock(guard_);
  return calls_;
}

std::vector<GlCall> RecordingGl::Calls(const std::string& name) const {
  std::vector<GlCall> matching;
  std::lock_guard<std::mutex> lock(guard_);
  for (const GlCall& call : calls_) {
    if (call.name == name) matching.push_back(call);
  }
  return matching;
}

std::vector<std::string> RecordingGl::Names() const {
  std::vector<std::string> names;
  std::lock_guard<std::mutex> lock(guard_);
  for (const GlCall& call : calls_) names.push_back(call.name);
  return names;
}

std::size_t RecordingGl::Count(const std::string& name) const { return Calls(name).size(); }

GlCall RecordingGl::Last(const std::string& name) const {
  std::vector<GlCall> matching = Calls(name);
  if (matching.empty()) {
    ADD_FAILURE() << "no call of " << name;
    return GlCall{};
  }
  return matching.back();
}

bool RecordingGl::Find(const std::string& name, const std::function<bool(const GlCall&)>& match,
                       GlCall* found) const {
  for (const GlCall& call : Calls(name)) {
    if (!match(call)) continue;
    if (found) *found = call;
    return true;
  }
  return false;
}

void RecordingGl::Clear() {
  std::lock_guard<std::mutex> lock(guard_);
  calls_.clear();
}

void RecordingGl::SetString(GLenum name, const std::string& value) {
  std::lock_guard<std::mutex> lock(guard_);
  strings_[name] = value;
}

void RecordingGl::SetInteger(GLenum pname, GLint value) {
  std::lock_guard<std::mutex> lock(guard_);
  integers_[pname] = value;
}

void RecordingGl::SetReturn(const std::string& function, int64_t value) {
  std::lock_guard<std::mutex> lock(guard_);
  returns_[function] = value;
}

void RecordingGl::SetNextTextureName(GLuint name) {
  std::lock_guard<std::mutex> lock(guard_);
  nextTexture_ = name;
}

void RecordingGl::OnCall(const std::string& function, std::function<void(GlCall&)> handler) {
  std::lock_guard<std::mutex> lock(guard_);
  handlers_[function] = std::move(handler);
}
