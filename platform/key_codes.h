#pragma once

// How a physical key becomes one of the program's key codes (platform/input.h).
// The device reports SDL scancodes, which are USB HID usage ids; they are
// turned into set-1 scan codes (keys with an 0xE0 prefix numbered 0x80 +
// their second byte, as DirectInput numbers them), and those into key codes
// through the game's 256-entry table. Pure functions, any thread.

// Largest device scancode plus one.
constexpr int kDeviceScanCodeCount = 512;

// Set-1 scan code of a USB HID usage id, 0 for a key that has none.
int ScanCodeFromDevice(int usage);
// Key code of a set-1 scan code, 0 for a code without a key code of its own
// (Num Lock among them) and for values outside 0..255.
int KeyCodeFromScanCode(int scanCode);
