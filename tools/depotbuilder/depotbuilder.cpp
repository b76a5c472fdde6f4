// depotbuilder: creates, shows and edits settings repositories ("ss.rep").
//
//   depotbuilder create [--force] FILE [KEY=VALUE ...]
//   depotbuilder dump FILE
//   depotbuilder get FILE SECTION KEY
//   depotbuilder set [--add] FILE SECTION KEY VALUE
//
// Exit status: 0 done, 1 the file cannot be opened, read or written or is
// damaged, 2 a usage error or a refused request (the file is left alone).
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/repository.h"
#include "resources/settings.h"

namespace {

constexpr const char* usage =
    "usage: depotbuilder create [--force] FILE [KEY=VALUE ...]\n"
    "       depotbuilder dump FILE\n"
    "       depotbuilder get FILE SECTION KEY\n"
    "       depotbuilder set [--add] FILE SECTION KEY VALUE\n";

constexpr const char* gameSection = "StarfieldStampede";

struct Setting {
  const char* key;
  int32_t value;
  // Written only when given: a file without it means the default.
  bool optional = false;
  bool given = false;
};

int UsageError() {
  std::fputs(usage, stderr);
  return 2;
}

bool ParseInt(const std::string& text, int32_t* out) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *out);
  return !text.empty() && error == std::errc() && stop == end;
}

// Loads file; on a failed open or read prints a message and returns false.
// A damaged file is reported through the repository's LastError().
bool LoadFile(Repository* repository, const std::string& file) {
  if (repository->Load(file.c_str())) return true;
  RepositoryError error = repository->LastError();
  if (error != RepositoryError::cannotOpen && error != RepositoryError::cannotRead) return true;
  std::fprintf(stderr, "depotbuilder: %s: %s\n", file.c_str(), RepositoryErrorText(error));
  return false;
}

bool SaveFile(Repository* repository, const std::string& file) {
  if (repository->Save(file.c_str())) return true;
  std::fprintf(stderr, "depotbuilder: %s: %s\n", file.c_str(),
               RepositoryErrorText(repository->LastError()));
  return false;
}

int Create(std::vector<std::string> args) {
  bool force = !args.empty() && args[0] == "--force";
  if (force) args.erase(args.begin());
  if (args.empty()) return UsageError();
  const std::string& file = args[0];
  std::vector<Setting> settings = {{"ScreenWidth", 1024}, {"ScreenHeight", 768},
                                   {"ColorDepth", 32},    {"Brightness", 0},
                                   {"GLSL", 1},           {"Sound", 1},
                                   {"HighScore", 0},      {kFullScreenKey, kFullScreenOn, true}};
  // The controls and volumes, like FullScreen only when given; the game
  // replaces a value it cannot use with the default.
  for (const StoredValue& stored : ControlsKeyValues(SettingsRecord{})) {
    settings.push_back({stored.key, stored.value, true});
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::size_t equals = args[i].find('=');
    std::string key = args[i].substr(0, equals);
    Setting* match = nullptr;
    for (auto& setting : settings) {
      if (key == setting.key) match = &setting;
    }
    if (equals == std::string::npos || match == nullptr ||
        !ParseInt(args[i].substr(equals + 1), &match->value)) {
      std::fprintf(stderr, "depotbuilder: bad setting \"%s\" (KEY=VALUE, KEY one of", args[i].c_str());
      for (const auto& setting : settings) std::fprintf(stderr, " %s", setting.key);
      std::fputs(", VALUE an int32)\n", stderr);
      return 2;
    }
    match->given = true;
  }
  std::error_code ignored;
  if (!force && std::filesystem::exists(std::filesystem::symlink_status(file, ignored))) {
    std::fprintf(stderr, "depotbuilder: %s exists; give --force to replace it\n", file.c_str());
    return 2;
  }
  std::filesystem::path parent = std::filesystem::path(file).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ignored);

  Repository repository;
  repository.AddSection(gameSection, 0);
  // Added last to first: a save writes the newest record first, so the file
  // lists the keys in the order above.
  for (auto setting = std::rbegin(settings); setting != std::rend(settings); ++setting) {
    if (setting->optional && !setting->given) continue;
    repository.AddValue(0, setting->key, &setting->value, repositoryIntType);
  }
  return SaveFile(&repository, file) ? 0 : 1;
}

// Control bytes as escapes, so the header stays on one line.
std::string Escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int Dump(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError();
  Repository repository;
  if (!LoadFile(&repository, args[0])) return 1;
  std::printf("header \"%s\"\n", Escape(repository.Header()).c_str());
  for (const auto& section : repository.Sections()) {
    std::printf("section %s id=%d\n", section.name.c_str(), section.id);
  }
  for (const auto& value : repository.Values()) {
    std::printf("value %d %s type=%d data=", value.sectionId, value.key.c_str(), value.type);
    for (uint8_t byte : value.data) std::printf("%02x", byte);
    if (value.data.size() >= 4) {
      int32_t first;
      std::memcpy(&first, value.data.data(), 4);
      std::printf(" int=%d", first);
    }
    std::printf("\n");
  }
  RepositoryError error = repository.LastError();
  if (error == RepositoryError::none) {
    std::printf("ok\n");
    return 0;
  }
  std::printf("damaged: %s\n", RepositoryErrorText(error));
  return 1;
}

int Get(const std::vector<std::string>& args) {
  if (args.size() != 3) return UsageError();
  const std::string& file = args[0];
  Repository repository;
  if (!LoadFile(&repository, file)) return 1;
  if (repository.LastError() != RepositoryError::none) {
    std::fprintf(stderr, "depotbuilder: %s: damaged (%s); reading what it holds\n", file.c_str(),
                 RepositoryErrorText(repository.LastError()));
  }
  const char* section = args[1].c_str();
  const char* key = args[2].c_str();
  int32_t value = 0;
  if (!repository.GetInt(section, key, &value)) {
    std::fprintf(stderr, "depotbuilder: %s: no section \"%s\"\n", file.c_str(), section);
    return 2;
  }
  if (repository.FindValue(section, key) == nullptr) {
    std::fprintf(stderr, "depotbuilder: %s: section \"%s\" has no key \"%s\"\n", file.c_str(),
                 section, key);
    return 2;
  }
  std::printf("%d\n", value);
  return 0;
}

int Set(std::vector<std::string> args) {
  bool add = !args.empty() && args[0] == "--add";
  if (add) args.erase(args.begin());
  if (args.size() != 4) return UsageError();
  const std::string& file = args[0];
  const char* section = args[1].c_str();
  const char* key = args[2].c_str();
  int32_t value;
  if (!ParseInt(args[3], &value)) {
    std::fprintf(stderr, "depotbuilder: \"%s\" is not an int32\n", args[3].c_str());
    return 2;
  }
  Repository repository;
  if (!LoadFile(&repository, file)) return 1;
  // Saving what a damaged file yielded would drop the rest of it.
  if (repository.LastError() != RepositoryError::none) {
    std::fprintf(stderr, "depotbuilder: %s: damaged (%s); not changed\n", file.c_str(),
                 RepositoryErrorText(repository.LastError()));
    return 1;
  }
  if (add) {
    repository.SetOrAddValue(section, key, &value, repositoryIntType);
  } else if (!repository.SetValue(section, key, &value, repositoryIntType)) {
    std::fprintf(stderr, "depotbuilder: %s: no key \"%s\" in section \"%s\"; give --add to add it\n",
                 file.c_str(), key, section);
    return 2;
  }
  return SaveFile(&repository, file) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Paths on the command line are taken as they stand.
  StartAssetDirectoryAt("");
  if (argc < 2) return UsageError();
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "create") return Create(args);
  if (command == "dump") return Dump(args);
  if (command == "get") return Get(args);
  if (command == "set") return Set(args);
  return UsageError();
}
