#include "resources/repository.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/asset_directory.h"

// Callers hand int32 values over as their in-memory bytes; the file is
// little-endian.
static_assert(std::endian::native == std::endian::little);

const char* const Repository::defaultHeader =
    "//This file will NOT be edited by any other application other than DepotBuilder.exe\r\n";

namespace {

constexpr uint8_t magic[4] = {'N', '>', 'N', '>'};
constexpr uint8_t headerMarker = 0xE0;
constexpr uint8_t blockMarker = 0xDA;
constexpr uint8_t sectionEndMarker[2] = {0x5C, 0x2F};

std::size_t FixedTypeSize(int32_t type) {
  switch (type) {
    case 1: return 1;
    case 2: return 2;
    case 4: case 7: case 10: return 8;
    case 8: return 12;
    case 9: case 11: return 16;
    case 12: return 24;
    case 13: return 32;
    default: return 4;
  }
}

// Symbolic links followed before a save gives up: more means a loop.
constexpr int kMaxLinkHops = 40;

// The file a save must replace: the path itself, or the file its chain of
// symbolic links ends at (which need not exist yet), so that the link stays
// and keeps pointing at the new settings. Empty for a loop.
std::filesystem::path SaveTarget(std::filesystem::path path) {
  std::error_code error;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) return {};
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return {};
}

// The mode a new file gets from fopen; mkstemp's own 0600 would hide the
// settings from a player's other tools.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::vector<uint8_t> CopyData(const void* data, int32_t type) {
  auto bytes = static_cast<const uint8_t*>(data);
  std::size_t size = type == repositoryTextType
                         ? std::strlen(static_cast<const char*>(data)) + 1
                         : FixedTypeSize(type);
  return std::vector<uint8_t>(bytes, bytes + size);
}

// Reads forward through bytes it does not own; every read checks what is left.
class ByteReader {
 public:
  ByteReader(const uint8_t* bytes, std::size_t size) : at_(bytes), left_(size) {}

  std::size_t Left() const { return left_; }

  bool Take(std::size_t count, const uint8_t** out) {
    if (count > left_) return false;
    *out = at_;
    Skip(count);
    return true;
  }
  bool Byte(uint8_t* out) {
    const uint8_t* p;
    if (!Take(1, &p)) return false;
    *out = *p;
    return true;
  }
  bool Int(int32_t* out) {
    const uint8_t* p;
    if (!Take(4, &p)) return false;
    std::memcpy(out, p, 4);
    return true;
  }
  // Text up to its NUL, which must lie inside the bytes; skips past the NUL.
  bool Text(const char** out) {
    auto end = static_cast<const uint8_t*>(std::memchr(at_, 0, left_));
    if (end == nullptr) return false;
    *out = reinterpret_cast<const char*>(at_);
    Skip(static_cast<std::size_t>(end - at_) + 1);
    return true;
  }
  // A fixed field the file does not hold counts as 0, as a short fread would.
  uint32_t Uint32OrZero() {
    int32_t value = 0;
    if (!Int(&value)) Skip(left_);
    return static_cast<uint32_t>(value);
  }
  // Splits off the next count bytes, or as many as are left, as a reader.
  ByteReader Block(std::size_t count) {
    ByteReader block(at_, std::min(count, left_));
    Skip(block.left_);
    return block;
  }

 private:
  void Skip(std::size_t count) {
    at_ += count;
    left_ -= count;
  }

  const uint8_t* at_;
  std::size_t left_;
};

void PutBytes(std::vector<uint8_t>* out, const void* bytes, std::size_t size) {
  auto p = static_cast<const uint8_t*>(bytes);
  out->insert(out->end(), p, p + size);
}

void PutInt(std::vector<uint8_t>* out, int32_t value) { PutBytes(out, &value, 4); }

void PutText(std::vector<uint8_t>* out, const std::string& text) {
  PutBytes(out, text.c_str(), text.size() + 1);
}

}  // namespace

const char* RepositoryErrorText(RepositoryError error) {
  switch (error) {
    case RepositoryError::none: return "no error";
    case RepositoryError::cannotOpen: return "cannot open the file";
    case RepositoryError::cannotRead: return "cannot read the file";
    case RepositoryError::badMagic: return "bad magic bytes";
    case RepositoryError::badHeaderMarker: return "bad marker before the header";
    case RepositoryError::emptyHeader: return "header length is 0";
    case RepositoryError::headerPastEnd: return "header runs past the end of the file";
    case RepositoryError::badBlockMarker: return "bad marker after the header";
    case RepositoryError::sectionBlockPastEnd: return "section block runs past the end of the file";
    case RepositoryError::sectionRecordCut: return "section block ends inside a record";
    case RepositoryError::badSectionEndMarker: return "bad marker after the section block";
    case RepositoryError::valueBlockPastEnd: return "value block runs past the end of the file";
    case RepositoryError::valueRecordCut: return "value block ends inside a record";
    case RepositoryError::missingEquals: return "value record without '='";
    case RepositoryError::missingSemicolon: return "value record without ';'";
    case RepositoryError::tooLarge: return "repository too large for the file format";
    case RepositoryError::cannotWrite: return "cannot write the file";
    case RepositoryError::cannotReplace: return "cannot replace the file";
  }
  return "unknown error";
}

Repository::Repository() : header_(defaultHeader) {}

bool Repository::Fail(RepositoryError error) {
  lastError_ = error;
  return false;
}

bool Repository::Load(const char* relativePath) {
  Clear();
  lastError_ = RepositoryError::none;
  AssetFile file = nullptr;
  OpenAssetFile(relativePath, "rb", &file);
  if (file == nullptr) return Fail(RepositoryError::cannotOpen);
  // The whole file is read first, so every size it claims can be checked
  // against what it really holds before anything is copied.
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  std::size_t got;
  do {
    got = AssetRead(chunk, 1, sizeof chunk, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
  } while (got == sizeof chunk);
  bool readFailed = !AssetEof(file);
  AssetClose(file);
  if (readFailed) return Fail(RepositoryError::cannotRead);
  return Parse(bytes);
}

bool Repository::Parse(const std::vector<uint8_t>& file) {
  ByteReader in(file.data(), file.size());
  const uint8_t* p;
  if (!in.Take(4, &p) || std::memcmp(p, magic, 4) != 0) return Fail(RepositoryError::badMagic);
  uint8_t marker = 0;
  if (!in.Byte(&marker) || marker != headerMarker) return Fail(RepositoryError::badHeaderMarker);
  uint32_t headerLength = in.Uint32OrZero();
  if (headerLength == 0) return Fail(RepositoryError::emptyHeader);
  if (!in.Take(headerLength, &p)) return Fail(RepositoryError::headerPastEnd);
  // Kept byte for byte, so a save writes back exactly the header it read.
  header_.assign(reinterpret_cast<const char*>(p), headerLength);
  if (!in.Byte(&marker) || marker != blockMarker) return Fail(RepositoryError::badBlockMarker);
  uint32_t sectionSize = in.Uint32OrZero();
  uint32_t valueSize = in.Uint32OrZero();

  ByteReader sections = in.Block(sectionSize);
  RepositoryError cut = sections.Left() < sectionSize ? RepositoryError::sectionBlockPastEnd
                                                      : RepositoryError::sectionRecordCut;
  while (sections.Left() > 0) {
    const char* name;
    int32_t id;
    if (!sections.Text(&name) || !sections.Int(&id)) return Fail(cut);
    AddSection(name, id);
  }
  if (cut == RepositoryError::sectionBlockPastEnd) return Fail(cut);
  if (!in.Take(2, &p) || std::memcmp(p, sectionEndMarker, 2) != 0) {
    return Fail(RepositoryError::badSectionEndMarker);
  }

  ByteReader values = in.Block(valueSize);
  cut = values.Left() < valueSize ? RepositoryError::valueBlockPastEnd
                                  : RepositoryError::valueRecordCut;
  while (values.Left() > 0) {
    int32_t sectionId, type;
    const char* key;
    const char* text;
    const uint8_t* data;
    if (!values.Int(&sectionId) || !values.Int(&type) || !values.Text(&key) ||
        !values.Byte(&marker)) {
      return Fail(cut);
    }
    if (marker != '=') return Fail(RepositoryError::missingEquals);
    if (type == repositoryTextType) {
      if (!values.Text(&text)) return Fail(cut);
      data = reinterpret_cast<const uint8_t*>(text);
    } else if (!values.Take(FixedTypeSize(type), &data)) {
      return Fail(cut);
    }
    if (!values.Byte(&marker)) return Fail(cut);
    if (marker != ';') return Fail(RepositoryError::missingSemicolon);
    AddValue(sectionId, key, data, type);  // a duplicate is dropped
  }
  if (cut == RepositoryError::valueBlockPastEnd) return Fail(cut);
  return true;
}

bool Repository::Encode(std::vector<uint8_t>* out) const {
  if (sections_.empty() || values_.empty()) return true;  // an empty file
  uint64_t sectionSize = 0, valueSize = 0;
  for (const auto& section : sections_) sectionSize += section.name.size() + 5;
  for (const auto& value : values_) valueSize += value.data.size() + value.key.size() + 11;
  constexpr uint64_t limit = std::numeric_limits<uint32_t>::max();
  if (header_.size() > limit || sectionSize > limit || valueSize > limit) return false;
  PutBytes(out, magic, sizeof magic);
  out->push_back(headerMarker);
  PutInt(out, static_cast<int32_t>(header_.size()));
  PutBytes(out, header_.data(), header_.size());
  out->push_back(blockMarker);
  PutInt(out, static_cast<int32_t>(sectionSize));
  PutInt(out, static_cast<int32_t>(valueSize));
  // Newest first, so a load followed by a save reverses the record order.
  for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
    PutText(out, s->name);
    PutInt(out, s->id);
  }
  PutBytes(out, sectionEndMarker, sizeof sectionEndMarker);
  for (auto v = values_.rbegin(); v != values_.rend(); ++v) {
    PutInt(out, v->sectionId);
    PutInt(out, v->type);
    PutText(out, v->key);
    out->push_back('=');
    PutBytes(out, v->data.data(), v->data.size());
    out->push_back(';');
  }
  return true;
}

bool Repository::Save(const char* relativePath) {
  lastError_ = RepositoryError::none;
  std::vector<uint8_t> out;
  if (!Encode(&out)) return Fail(RepositoryError::tooLarge);

  // Written beside the target and renamed over it: a crash or a full disk
  // during the write leaves the old file as it was. The temporary gets a name
  // of its own each time, so nothing left behind by an earlier run (a stray
  // file or folder of any name) can block the save.
  if (!AssetDirectoryStarted()) return Fail(RepositoryError::cannotOpen);
  const std::filesystem::path target =
      SaveTarget(std::string(AssetWriteDirectory()) + relativePath);
  if (target.empty()) return Fail(RepositoryError::cannotOpen);
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);  // a deleted config/ comes back
  std::string tempPath = target.string() + ".XXXXXX";
  const int descriptor = mkstemp(tempPath.data());
  if (descriptor < 0) return Fail(RepositoryError::cannotOpen);
  struct stat old;
  fchmod(descriptor, stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : NewFileMode());
  AssetFile file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    std::remove(tempPath.c_str());
    return Fail(RepositoryError::cannotOpen);
  }
  bool written = out.empty() || AssetWrite(out.data(), 1, out.size(), file) == out.size();
  written = AssetFlush(file) && written;
  AssetClose(file);
  if (!written) {
    std::remove(tempPath.c_str());
    return Fail(RepositoryError::cannotWrite);
  }
  if (std::rename(tempPath.c_str(), target.c_str()) != 0) {
    std::remove(tempPath.c_str());
    return Fail(RepositoryError::cannotReplace);
  }
  return true;
}

const RepositorySection* Repository::NewestSection(const char* name) const {
  auto found = std::find_if(sections_.rbegin(), sections_.rend(),
                            [name](const RepositorySection& s) { return s.name == name; });
  return found == sections_.rend() ? nullptr : &*found;
}

int32_t Repository::FindSection(const char* name) const {
  const RepositorySection* section = NewestSection(name);
  return section == nullptr ? -1 : section->id;
}

const RepositoryValue* Repository::FindValue(const char* section, const char* key) const {
  const RepositorySection* owner = NewestSection(section);
  if (owner == nullptr) return nullptr;
  for (const auto& value : values_) {
    if (value.sectionId == owner->id && value.key == key) return &value;
  }
  return nullptr;
}

bool Repository::GetInt(const char* section, const char* key, int32_t* out) const {
  if (NewestSection(section) == nullptr) return false;
  if (const RepositoryValue* value = FindValue(section, key)) {
    // Types 1 and 2 hold fewer than 4 bytes: zero-extend rather than read on.
    uint8_t bytes[4] = {};
    std::memcpy(bytes, value->data.data(), std::min<std::size_t>(4, value->data.size()));
    std::memcpy(out, bytes, 4);
  }
  return true;
}

bool Repository::SetValue(const char* section, const char* key, const void* data, int32_t type) {
  auto value = const_cast<RepositoryValue*>(FindValue(section, key));
  if (value == nullptr) return false;
  value->type = type;
  value->data = CopyData(data, type);
  return true;
}

void Repository::SetOrAddValue(const char* section, const char* key, const void* data,
                               int32_t type) {
  if (SetValue(section, key, data, type)) return;
  const RepositorySection* owner = NewestSection(section);
  int32_t id;
  if (owner != nullptr) {
    id = owner->id;
  } else {
    // An id that no value uses either, so no stray value joins the new section.
    std::set<int32_t> used;
    for (const auto& s : sections_) used.insert(s.id);
    for (const auto& v : values_) used.insert(v.sectionId);
    for (id = 0; used.count(id) != 0; ++id) {
    }
    AddSection(section, id);
  }
  AddValue(id, key, data, type);
}

void Repository::AddSection(const char* name, int32_t id) { sections_.push_back({id, name}); }

bool Repository::AddValue(int32_t sectionId, const char* key, const void* data, int32_t type) {
  for (const auto& value : values_) {
    if (value.sectionId == sectionId && value.key == key) return false;
  }
  values_.push_back({sectionId, key, type, CopyData(data, type)});
  return true;
}

void Repository::Clear() {
  sections_.clear();
  values_.clear();
}
