#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gl_table.h"

// A fake OpenGL for tests: while a RecordingGl lives, every entry point of the
// process-wide table (core and extensions) records its call instead of
// drawing. Only one may live at a time; its destructor empties the table.
//
//   RecordingGl rec;
//   rec.SetString(GL_EXTENSIONS, "GL_ARB_multitexture");
//   texture.Bind();
//   EXPECT_EQ(rec.Last("glBindTexture")->Int(1), texture.glName);
//
// Built-in answers: glGenTextures hands out 1, 2, 3 ...; glGenLists returns
// consecutive bases; glCreateShaderObjectARB / glCreateProgramObjectARB return
// 1, 2, 3 ...; glGetString returns what SetString gave (else null);
// glGetIntegerv writes what SetInteger gave; any other function returns what
// SetReturn gave, else 0. glTexImage2D copies its pixels into the call's data
// (honouring the unpack alignment set through glPixelStorei), so a test can
// check a level even after the caller reused the buffer.

struct GlArg {
  enum class Kind { Int, Float, Pointer } kind = Kind::Int;
  int64_t i = 0;
  double f = 0;
  const void* p = nullptr;
};

struct GlCall {
  std::string name;
  std::vector<GlArg> args;
  std::vector<uint8_t> data;  // glTexImage2D: the pixels passed
  GlArg result;               // what the call returned to the caller

  int64_t Int(std::size_t k) const { return args.at(k).i; }
  double Float(std::size_t k) const { return args.at(k).f; }
  const void* Pointer(std::size_t k) const { return args.at(k).p; }
};

class RecordingGl {
 public:
  RecordingGl();
  ~RecordingGl();
  RecordingGl(const RecordingGl&) = delete;
  RecordingGl& operator=(const RecordingGl&) = delete;

  // Calls are recorded from any thread; the accessors copy under a lock.
  std::vector<GlCall> Calls() const;
  std::vector<GlCall> Calls(const std::string& name) const;
  std::vector<std::string> Names() const;  // every call's name, in order
  std::size_t Count(const std::string& name) const;
  // The last call of that name; a failed test expectation and an empty call
  // when there was none.
  GlCall Last(const std::string& name) const;
  // The first call of that name whose arguments satisfy match, if any.
  bool Find(const std::string& name, const std::function<bool(const GlCall&)>& match, GlCall* found = nullptr) const;
  void Clear();

  void SetString(GLenum name, const std::string& value);
  void SetInteger(GLenum pname, GLint value);
  void SetReturn(const std::string& function, int64_t value);
  void SetNextTextureName(GLuint name);
  // Runs after a call is recorded and before it returns: may write through
  // the call's pointer arguments and set call.result. Replaces a built-in
  // answer of the same function.
  void OnCall(const std::string& function, std::function<void(GlCall&)> handler);

  // Used by the fake entry points.
  GlArg Record(const char* name, std::vector<GlArg> args);

 private:
  void Answer(GlCall& call);

  mutable std::mutex guard_;
  std::vector<GlCall> calls_;
  std::map<GLenum, std::string> strings_;
  std::map<GLenum, GLint> integers_;
  std::map<std::string, int64_t> returns_;
  std::map<std::string, std::function<void(GlCall&)>> handlers_;
  GLuint nextTexture_ = 1;
  GLuint nextList_ = 1;
  int64_t nextHandle_ = 1;
  GLint unpackAlignment_ = 4;
};
