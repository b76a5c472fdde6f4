#pragma once
// The asset tree the build generates beside the game, which the tests in
// this folder check. Builds made without it (the sanitizer builds turn the
// generator's run off) skip those tests.
#include <gtest/gtest.h>

#include <filesystem>

inline const std::filesystem::path kGeneratedBase = std::filesystem::path(SS_BIN_DIR) / "base";

#define SKIP_WITHOUT_GENERATED_TREE()                              \
  if (!std::filesystem::is_directory(kGeneratedBase / "textures")) \
  GTEST_SKIP() << "no generated asset tree at " << kGeneratedBase
