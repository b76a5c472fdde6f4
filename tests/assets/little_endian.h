#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian numbers in a byte string, for checking file layouts. The
// caller keeps `at` inside the string.
inline uint16_t U16At(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

inline uint32_t U32At(const std::string& bytes, size_t at) {
  return U16At(bytes, at) | static_cast<uint32_t>(U16At(bytes, at + 2)) << 16;
}
