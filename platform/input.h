#pragma once
#include <cstdint>

// Keyboard, mouse and game controller. The system thread polls the devices
// once per pass of its pump (every 20 ms) into live records guarded by three
// locks of the pool; any thread, in practice the main thread, copies them out
// with the snapshot operations. The game and the screens see input only
// through the snapshots.

// The program's own key codes, index of the 256 key bytes. Code 0 means no
// key and collects every key that has no code of its own.
enum KeyCode : int {
  kKeyNone = 0,
  kKeyEscape = 1,
  kKeyF1 = 2,  // F1..F12 are 2..13
  kKeyF10 = 11,
  kKeyF12 = 13,
  kKeyTilde = 14,
  kKeyMinus = 15,
  kKeyEquals = 16,
  kKeyBackspace = 17,
  kKeyTab = 18,
  kKeyLeftBracket = 19,
  kKeyRightBracket = 20,
  kKeyBackslash = 21,
  kKeySemicolon = 22,
  kKeyApostrophe = 23,
  kKeyEnter = 24,
  kKeyLeftShift = 25,
  kKeyComma = 26,
  kKeyPeriod = 27,
  kKeySlash = 28,
  kKeyRightShift = 29,
  kKeyLeftControl = 30,
  kKeyLeftAlt = 31,
  kKeySpace = 32,
  kKeyRightAlt = 33,
  kKeyRightControl = 34,
  kKeyUp = 35,
  kKeyDown = 36,
  kKeyLeft = 37,
  kKeyRight = 38,
  kKeyInsert = 39,
  kKeyHome = 40,
  kKeyPageUp = 41,
  kKeyDelete = 42,
  kKeyEnd = 43,
  kKeyPageDown = 44,
  kKeyNumLock = 45,       // never set
  kKeyNumpadInsert = 46,  // never set
  kKeyNumpadDelete = 47,
  kKeyNumpadEnter = 48,
  kKeyNumpadPlus = 49,
  kKeyNumpadMinus = 50,
  kKeyNumpadMultiply = 51,
  kKeyNumpadDivide = 52,
  kKeyNumpad0 = 53,  // numpad 0..9 are 53..62
  kKey0 = 63,        // digits 0..9 are 63..72
  kKey1 = 64,
  kKey9 = 72,
  // Letters in keyboard order, rows Q..P, A..L, Z..M.
  kKeyQ = 73,
  kKeyW,
  kKeyE,
  kKeyR,
  kKeyT,
  kKeyY,
  kKeyU,
  kKeyI,
  kKeyO,
  kKeyP,
  kKeyA = 83,
  kKeyS,
  kKeyD,
  kKeyF,
  kKeyG,
  kKeyH,
  kKeyJ,
  kKeyK,
  kKeyL,
  kKeyZ = 92,
  kKeyX,
  kKeyC,
  kKeyV,
  kKeyB,
  kKeyN,
  kKeyM,
  // Added after the table above: the Pause key (set-1 0xC5).
  kKeyPause = 99,
};

constexpr int kKeyCount = 256;
constexpr int kLastKeyCode = kKeyPause;
constexpr int kMouseButtonCount = 8;
// Bit 7 of a key or button byte is set while it is down; the other bits are 0.
constexpr uint8_t kPressedBit = 0x80;
inline bool Pressed(uint8_t state) { return (state & kPressedBit) != 0; }

// The name of a key code ("ESCAPE", "NUMPAD 7", "Q"); "" for 0 and for
// values outside 0..kLastKeyCode.
const char* KeyName(int keyCode);

// Relative motion since the previous mouse snapshot: x to the right, y
// downwards, wheel 120 per notch away from the player. Buttons: byte 0 left,
// 1 right, 2 middle, 3 and 4 the side buttons.
struct MouseState {
  int32_t mouseDx = 0;
  int32_t mouseDy = 0;
  int32_t mouseWheel = 0;
  uint8_t mouseButtons[kMouseButtonCount] = {};
};
static_assert(sizeof(MouseState) == 20, "the mouse record is 20 bytes");

// What the game reads: the key bytes by key code plus the mouse record.
struct InputStateRecord : MouseState {
  uint8_t keys[kKeyCount] = {};
};

// The main thread's copy, refreshed by the gameplay loop and the menus with
// SnapshotKeys(InputState.keys) and SnapshotMouse(&InputState). Main thread
// only.
extern InputStateRecord InputState;

// Copies the 256 live key bytes, as the latest poll saw them: a key is down
// while held, and a key tapped between two polls is down until the poll after
// that one, so every press reaches at least one poll. Any thread; takes the
// keys lock. True.
bool SnapshotKeys(uint8_t destination[kKeyCount]);
// Copies the live mouse record, then zeroes its motion and wheel (buttons
// stay), so a second snapshot before the next poll has no motion. Motion of
// several polls adds up until a snapshot takes it; a click between two polls
// is down for one poll, as a tapped key. Any thread; takes the mouse lock.
// True.
bool SnapshotMouse(MouseState* destination);

// The active game controller, when one is attached (its keys and pointer
// motion also reach the key bytes and the mouse record): six axes -100..100 (left x and y,
// right x and y, left and right trigger), the d-pad as four direction bytes
// (up, right, down, left) and sixteen buttons, bytes as for keys.
struct ControllerState {
  float axes[6] = {};
  uint8_t directions[4] = {};
  uint8_t buttons[16] = {};
};
// Copies the live controller record (all zero without a controller). Any
// thread; takes the controller lock. True.
bool SnapshotController(ControllerState* destination);

// Device life, on the system thread only (the engine calls these):
// CreateInputDevices before the window exists (creates the three locks and
// opens the attached controllers; always true), AcquireInputDevices
// once the window exists (relative mouse mode; false undoes the devices but
// keeps the locks), the three polls once per pump pass in this order, and
// DestroyInputDevices at the end (closes the devices and the locks).
bool CreateInputDevices();
bool AcquireInputDevices();
void PollKeyboard();
void PollMouse();
void PollController();
void DestroyInputDevices();

// Scripted input for running screens without devices. While a script is
// installed the snapshot operations ask it instead of the live records; it is
// called on the snapshot's thread, one call per snapshot.
class InputScript {
 public:
  virtual ~InputScript() = default;
  virtual void Keys(uint8_t destination[kKeyCount]) = 0;
  virtual void Mouse(MouseState* destination) = 0;
};
// nullptr goes back to the live records. The caller keeps ownership and must
// keep the script alive while installed. Main thread.
void InstallInputScript(InputScript* script);
