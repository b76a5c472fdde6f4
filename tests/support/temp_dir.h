#pragma once
#include <filesystem>
#include <string>

// A fresh directory under the system's temp folder, removed with everything
// in it when the object goes out of scope. Tests that touch files use one so
// they can run side by side.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() as text with a trailing "/", ready for StartAssetDirectoryAt.
  std::string withSlash() const { return path_.string() + "/"; }
  std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

  // Writes bytes to a file below the directory, creating folders as needed.
  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};
