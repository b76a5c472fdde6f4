#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "resources/repository.h"

// Repository files built byte by byte, independent of the code that writes them.
inline std::string Int32(int32_t value) {
  char bytes[4];
  std::memcpy(bytes, &value, 4);
  return std::string(bytes, 4);
}

inline std::string SectionRecord(const std::string& name, int32_t id) {
  return name + '\0' + Int32(id);
}

// data holds the value's bytes as stored (a text with its NUL).
inline std::string ValueRecord(int32_t sectionId, int32_t type, const std::string& key,
                               const std::string& data) {
  return Int32(sectionId) + Int32(type) + key + '\0' + '=' + data + ';';
}

inline std::string RepositoryFile(const std::string& sections, const std::string& values,
                                  const std::string& header = Repository::defaultHeader) {
  return "N>N>\xE0" + Int32(static_cast<int32_t>(header.size())) + header + "\xDA" +
         Int32(static_cast<int32_t>(sections.size())) +
         Int32(static_cast<int32_t>(values.size())) + sections + "\x5C\x2F" + values;
}
