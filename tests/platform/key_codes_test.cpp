#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/input.h"
#include "platform/key_codes.h"

namespace {

// Device keys are USB HID usage ids (what SDL's scancodes are).
constexpr int kUsageA = 4;
constexpr int kUsage1 = 30;
constexpr int kUsageF1 = 58;
constexpr int kUsageKeypad1 = 89;

int KeyCodeOfUsage(int usage) { return KeyCodeFromScanCode(ScanCodeFromDevice(usage)); }

TEST(KeyCodes, NamedKeysReachTheirCodesFromTheDevice) {
  struct {
    int usage;
    int keyCode;
  } cases[] = {
      {41, kKeyEscape},       {40, kKeyEnter},         {44, kKeySpace},
      {82, kKeyUp},           {81, kKeyDown},          {80, kKeyLeft},
      {79, kKeyRight},        {74, kKeyHome},          {77, kKeyEnd},
      {73, kKeyInsert},       {76, kKeyDelete},        {75, kKeyPageUp},
      {78, kKeyPageDown},     {88, kKeyNumpadEnter},   {84, kKeyNumpadDivide},
      {85, kKeyNumpadMultiply}, {99, kKeyNumpadDelete}, {53, kKeyTilde},
      {224, kKeyLeftControl}, {228, kKeyRightControl}, {226, kKeyLeftAlt},
      {230, kKeyRightAlt},    {225, kKeyLeftShift},    {229, kKeyRightShift},
      {67, kKeyF10},          {69, kKeyF12},           {49, kKeyBackslash},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyCodeOfUsage(c.usage), c.keyCode) << "usage " << c.usage;
  }
  // The scan codes the game's table is written in, for the keys it tests.
  EXPECT_EQ(ScanCodeFromDevice(40), 0x1C);
  EXPECT_EQ(ScanCodeFromDevice(82), 0xC8);
  EXPECT_EQ(ScanCodeFromDevice(74), 0xC7);
}

TEST(KeyCodes, LettersDigitsAndFunctionKeysCarryTheirOwnNames) {
  for (int i = 0; i < 26; ++i) {
    std::string letter(1, static_cast<char>('A' + i));
    EXPECT_EQ(KeyName(KeyCodeOfUsage(kUsageA + i)), letter);
  }
  for (int i = 0; i < 10; ++i) {
    std::string digit(1, static_cast<char>('0' + (i + 1) % 10));  // usages run 1..9, 0
    EXPECT_EQ(KeyName(KeyCodeOfUsage(kUsage1 + i)), digit);
    EXPECT_EQ(KeyName(KeyCodeOfUsage(kUsageKeypad1 + i)), "NUMPAD " + digit);
  }
  for (int i = 0; i < 12; ++i) {
    int usage = i < 10 ? kUsageF1 + i : 68 + (i - 10);
    EXPECT_EQ(KeyName(KeyCodeOfUsage(usage)), "F" + std::to_string(i + 1));
  }
}

TEST(KeyCodes, LettersAreNumberedInKeyboardOrder) {
  EXPECT_STREQ(KeyName(kKeyQ), "Q");
  EXPECT_STREQ(KeyName(kKeyP), "P");
  EXPECT_STREQ(KeyName(kKeyA), "A");
  EXPECT_STREQ(KeyName(kKeyL), "L");
  EXPECT_STREQ(KeyName(kKeyZ), "Z");
  EXPECT_STREQ(KeyName(kKeyM), "M");
  EXPECT_EQ(kKeyQ, 73);
  EXPECT_EQ(kKeyM, 98);
}

TEST(KeyCodes, EveryKeyCodeButTheTwoUnusedOnesHasAKey) {
  std::set<int> reached;
  for (int usage = 0; usage < kDeviceScanCodeCount; ++usage) reached.insert(KeyCodeOfUsage(usage));
  for (int code = 1; code <= kLastKeyCode; ++code) {
    bool neverSet = code == kKeyNumLock || code == kKeyNumpadInsert;
    EXPECT_EQ(reached.count(code) == 1, !neverSet) << KeyName(code);
  }
}

TEST(KeyCodes, KeysWithoutACodeOfTheirOwnAndBadInputGiveNothing) {
  EXPECT_EQ(ScanCodeFromDevice(83), 0x45);  // Num Lock has a scan code...
  EXPECT_EQ(KeyCodeOfUsage(83), kKeyNone);  // ...but no key code
  EXPECT_EQ(KeyCodeOfUsage(57), kKeyNone);  // Caps Lock
  EXPECT_EQ(ScanCodeFromDevice(0), 0);
  EXPECT_EQ(ScanCodeFromDevice(-1), 0);
  EXPECT_EQ(ScanCodeFromDevice(kDeviceScanCodeCount), 0);
  EXPECT_EQ(KeyCodeFromScanCode(256), 0);
  EXPECT_EQ(KeyCodeFromScanCode(-5), 0);
  EXPECT_STREQ(KeyName(0), "");
  EXPECT_STREQ(KeyName(kKeyPause), "PAUSE");
  EXPECT_STREQ(KeyName(kLastKeyCode + 1), "");
  EXPECT_STREQ(KeyName(-1), "");
}

}  // namespace
