#include "platform/key_codes.h"

#include <array>
#include <cstdint>

#include "platform/input.h"

namespace {

struct Pair {
  int from;
  int to;
};

// USB HID usage id -> set-1 scan code. Letters and digits follow the usage
// order (a..z, 1..0), which is not the keyboard order of the set-1 codes.
constexpr Pair kUsageToScanCode[] = {
    {4, 0x1E},   {5, 0x30},   {6, 0x2E},   {7, 0x20},   {8, 0x12},   {9, 0x21},   {10, 0x22},
    {11, 0x23},  {12, 0x17},  {13, 0x24},  {14, 0x25},  {15, 0x26},  {16, 0x32},  {17, 0x31},
    {18, 0x18},  {19, 0x19},  {20, 0x10},  {21, 0x13},  {22, 0x1F},  {23, 0x14},  {24, 0x16},
    {25, 0x2F},  {26, 0x11},  {27, 0x2D},  {28, 0x15},  {29, 0x2C},                             // a..z
    {30, 0x02},  {31, 0x03},  {32, 0x04},  {33, 0x05},  {34, 0x06},  {35, 0x07},  {36, 0x08},
    {37, 0x09},  {38, 0x0A},  {39, 0x0B},                                                       // 1..0
    {40, 0x1C},  {41, 0x01},  {42, 0x0E},  {43, 0x0F},  {44, 0x39},  {45, 0x0C},  {46, 0x0D},
    {47, 0x1A},  {48, 0x1B},  {49, 0x2B},  {50, 0x2B},  {51, 0x27},  {52, 0x28},  {53, 0x29},
    {54, 0x33},  {55, 0x34},  {56, 0x35},  {57, 0x3A},
    {58, 0x3B},  {59, 0x3C},  {60, 0x3D},  {61, 0x3E},  {62, 0x3F},  {63, 0x40},  {64, 0x41},
    {65, 0x42},  {66, 0x43},  {67, 0x44},  {68, 0x57},  {69, 0x58},                             // F1..F12
    {70, 0xB7},  {71, 0x46},  {72, 0xC5},  {73, 0xD2},  {74, 0xC7},  {75, 0xC9},  {76, 0xD3},
    {77, 0xCF},  {78, 0xD1},  {79, 0xCD},  {80, 0xCB},  {81, 0xD0},  {82, 0xC8},                // navigation
    {83, 0x45},  {84, 0xB5},  {85, 0x37},  {86, 0x4A},  {87, 0x4E},  {88, 0x9C},  {89, 0x4F},
    {90, 0x50},  {91, 0x51},  {92, 0x4B},  {93, 0x4C},  {94, 0x4D},  {95, 0x47},  {96, 0x48},
    {97, 0x49},  {98, 0x52},  {99, 0x53},                                                       // keypad
    {100, 0x56}, {101, 0xDD}, {103, 0x8D}, {104, 0x64}, {105, 0x65}, {106, 0x66},
    {224, 0x1D}, {225, 0x2A}, {226, 0x38}, {227, 0xDB}, {228, 0x9D}, {229, 0x36}, {230, 0xB8},
    {231, 0xDC},                                                                                // modifiers
};

// Set-1 scan code -> key code, the table of the polled (DirectInput) mode.
// Num Lock (0x45) is listed with code 0 on purpose: it has no key of its own.
constexpr Pair kScanCodeToKeyCode[] = {
    {0x01, 1},  {0x02, 64}, {0x03, 65}, {0x04, 66}, {0x05, 67}, {0x06, 68}, {0x07, 69}, {0x08, 70},
    {0x09, 71}, {0x0A, 72}, {0x0B, 63}, {0x0C, 15}, {0x0D, 16}, {0x0E, 17}, {0x0F, 18}, {0x10, 73},
    {0x11, 74}, {0x12, 75}, {0x13, 76}, {0x14, 77}, {0x15, 78}, {0x16, 79}, {0x17, 80}, {0x18, 81},
    {0x19, 82}, {0x1A, 19}, {0x1B, 20}, {0x1C, 24}, {0x1D, 30}, {0x1E, 83}, {0x1F, 84}, {0x20, 85},
    {0x21, 86}, {0x22, 87}, {0x23, 88}, {0x24, 89}, {0x25, 90}, {0x26, 91}, {0x27, 22}, {0x28, 23},
    {0x29, 14}, {0x2A, 25}, {0x2B, 21}, {0x2C, 92}, {0x2D, 93}, {0x2E, 94}, {0x2F, 95}, {0x30, 96},
    {0x31, 97}, {0x32, 98}, {0x33, 26}, {0x34, 27}, {0x35, 28}, {0x36, 29}, {0x37, 51}, {0x38, 31},
    {0x39, 32}, {0x3B, 2},  {0x3C, 3},  {0x3D, 4},  {0x3E, 5},  {0x3F, 6},  {0x40, 7},  {0x41, 8},
    {0x42, 9},  {0x43, 10}, {0x44, 11}, {0x45, 0},  {0x47, 60}, {0x48, 61}, {0x49, 62}, {0x4A, 50},
    {0x4B, 57}, {0x4C, 58}, {0x4D, 59}, {0x4E, 49}, {0x4F, 54}, {0x50, 55}, {0x51, 56}, {0x52, 53},
    {0x53, 47}, {0x57, 12}, {0x58, 13}, {0x9C, 48}, {0x9D, 34}, {0xB5, 52}, {0xB8, 33}, {0xC7, 40},
    {0xC8, 35}, {0xC9, 41}, {0xCB, 37}, {0xCD, 38}, {0xCF, 43}, {0xD0, 36}, {0xD1, 44}, {0xD2, 39},
    {0xD3, 42}, {0xC5, 99},
};

template <std::size_t N, std::size_t M>
constexpr std::array<uint8_t, N> BuildTable(const Pair (&pairs)[M]) {
  std::array<uint8_t, N> table{};
  for (const Pair& pair : pairs) table[pair.from] = static_cast<uint8_t>(pair.to);
  return table;
}

constexpr auto kScanCodeOfUsage = BuildTable<kDeviceScanCodeCount>(kUsageToScanCode);
constexpr auto kKeyCodeOfScanCode = BuildTable<256>(kScanCodeToKeyCode);

constexpr const char* kKeyNames[kLastKeyCode + 1] = {
    "",
    "ESCAPE",
    "F1",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "F10",
    "F11",
    "F12",
    "~",
    "-",
    "=",
    "BACKSPACE",
    "TAB",
    "[",
    "]",
    "\\",
    ";",
    "'",
    "ENTER",
    "LEFT SHIFT",
    ",",
    ".",
    "/",
    "RIGHT SHIFT",
    "LEFT CONTROL",
    "LEFT ALT",
    "SPACE",
    "RIGHT ALT",
    "RIGHT CONTROL",
    "UP",
    "DOWN",
    "LEFT",
    "RIGHT",
    "INSERT",
    "HOME",
    "PAGEUP",
    "DELETE",
    "END",
    "PAGEDOWN",
    "NUMLOCK",
    "NUMPAD INSERT",
    "NUMPAD DELETE",
    "NUMPAD ENTER",
    "NUMPAD +",
    "NUMPAD -",
    "NUMPAD *",
    "NUMPAD /",
    "NUMPAD 0",
    "NUMPAD 1",
    "NUMPAD 2",
    "NUMPAD 3",
    "NUMPAD 4",
    "NUMPAD 5",
    "NUMPAD 6",
    "NUMPAD 7",
    "NUMPAD 8",
    "NUMPAD 9",
    "0",
    "1",
    "2",
    "3",
    "4",
    "5",
    "6",
    "7",
    "8",
    "9",
    "Q",
    "W",
    "E",
    "R",
    "T",
    "Y",
    "U",
    "I",
    "O",
    "P",
    "A",
    "S",
    "D",
    "F",
    "G",
    "H",
    "J",
    "K",
    "L",
    "Z",
    "X",
    "C",
    "V",
    "B",
    "N",
    "M",
    "PAUSE",
};

}  // namespace

int ScanCodeFromDevice(int usage) {
  if (usage < 0 || usage >= kDeviceScanCodeCount) return 0;
  return kScanCodeOfUsage[usage];
}

int KeyCodeFromScanCode(int scanCode) {
  if (scanCode < 0 || scanCode > 255) return 0;
  return kKeyCodeOfScanCode[scanCode];
}

const char* KeyName(int keyCode) {
  if (keyCode < 0 || keyCode > kLastKeyCode) return "";
  return kKeyNames[keyCode];
}
