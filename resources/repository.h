#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The binary name/value store behind "config/ss.rep": named sections, and in
// each section typed values addressed by key. Files are opened through the
// asset directory (platform/asset_directory.h), so paths are relative to it.
//
// A Repository is a plain single-threaded object: create, use and destroy it
// on one thread (the game uses it on the main thread only).

// Data sizes by type code: 1->1, 2->2, 3->4 (int32, little-endian; every
// setting uses it), 4->8, 5->text with its NUL, 6->4, 7->8, 8->12, 9->16,
// 10->8, 11->16, 12->24, 13->32, anything else ->4.
constexpr int32_t repositoryTextType = 5;
constexpr int32_t repositoryIntType = 3;

struct RepositorySection {
  int32_t id = 0;
  std::string name;
};

struct RepositoryValue {
  int32_t sectionId = 0;
  std::string key;
  int32_t type = 0;
  std::vector<uint8_t> data;  // the size the type gives; a text keeps its NUL
};

// Why the last Load or Save failed.
enum class RepositoryError {
  none,
  cannotOpen,
  cannotRead,
  badMagic,
  badHeaderMarker,
  emptyHeader,
  headerPastEnd,
  badBlockMarker,
  sectionBlockPastEnd,
  sectionRecordCut,
  badSectionEndMarker,
  valueBlockPastEnd,
  valueRecordCut,
  missingEquals,
  missingSemicolon,
  tooLarge,
  cannotWrite,
  cannotReplace,
};

// A short English description of an error, e.g. "bad magic bytes".
const char* RepositoryErrorText(RepositoryError error);

class Repository {
 public:
  // The header every new repository carries (ends in "\r\n").
  static const char* const defaultHeader;

  Repository();

  // Clears both lists and reads the file. Records read before a damaged spot
  // stay in the lists; the result is false and LastError() says why. Never
  // reads outside what the file holds.
  bool Load(const char* relativePath);
  // Writes the repository to a temporary of a fresh name ("<path>.XXXXXX")
  // beside the target and renames it over the target, so a failed save
  // leaves the old file whole. A target that is a symbolic link is written
  // where the link ends, the link kept. With an empty section or value list
  // the file is left empty (nothing to keep).
  bool Save(const char* relativePath);
  RepositoryError LastError() const { return lastError_; }

  // False (out untouched) if the section is unknown. Otherwise true, and out
  // receives the first 4 data bytes as an int32 if the key exists (shorter
  // data is zero-extended); a missing key leaves out untouched.
  bool GetInt(const char* section, const char* key, int32_t* out) const;
  // Replaces the type and data of an existing value with a copy of the bytes
  // at data (the size the type gives; for a text, up to and with its NUL).
  // False if the section is unknown or holds no such key; never creates one.
  bool SetValue(const char* section, const char* key, const void* data, int32_t type);
  // SetValue, or else adds the value, and its section first if the name is
  // unknown (with the smallest id no section or value uses yet).
  void SetOrAddValue(const char* section, const char* key, const void* data, int32_t type);
  // Puts a new section at the head of the list; no duplicate check.
  void AddSection(const char* name, int32_t id);
  // False, keeping the first, if that section id already holds the key.
  bool AddValue(int32_t sectionId, const char* key, const void* data, int32_t type);
  // The id of the newest section with that name, or -1.
  int32_t FindSection(const char* name) const;
  // The value with that key in the newest section of that name, or nullptr.
  // The pointer is valid until the repository next changes.
  const RepositoryValue* FindValue(const char* section, const char* key) const;
  // Removes every section and value; the header stays.
  void Clear();

  const std::string& Header() const { return header_; }
  // Records in the order they were added (for a loaded file, file order).
  // Lookups and Save use the reverse: newest first.
  const std::vector<RepositorySection>& Sections() const { return sections_; }
  const std::vector<RepositoryValue>& Values() const { return values_; }

 private:
  bool Parse(const std::vector<uint8_t>& file);
  // The file's bytes; false if a size does not fit its uint32 field.
  bool Encode(std::vector<uint8_t>* out) const;
  bool Fail(RepositoryError error);
  const RepositorySection* NewestSection(const char* name) const;

  std::string header_;
  std::vector<RepositorySection> sections_;
  std::vector<RepositoryValue> values_;
  RepositoryError lastError_ = RepositoryError::none;
};
