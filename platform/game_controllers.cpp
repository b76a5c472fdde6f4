#include "platform/game_controllers.h"

#include <chrono>
#include <string>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/input.h"
#include "platform/input_live.h"
#include "platform/pad_mapping.h"
#include "platform/pause_request.h"
#include "platform/rumble_queue.h"

namespace {

constexpr const char* kMappingFileName = "gamecontrollerdb.txt";
// More controllers than this at once are left closed.
constexpr int kControllerSlots = 8;
constexpr int kNoController = -1;
constexpr int kAxisCount = 6;
constexpr int kRecordButtonCount = kPadButtonCount;
constexpr float kMotorFullScale = 65535.0f;
constexpr bool NumberedAsSdl(PadButton ours, SDL_GameControllerButton sdl) {
  return int{ours} == int{sdl};
}
static_assert(NumberedAsSdl(kPadA, SDL_CONTROLLER_BUTTON_A) &&
                  NumberedAsSdl(kPadBack, SDL_CONTROLLER_BUTTON_BACK) &&
                  NumberedAsSdl(kPadDpadRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) &&
                  NumberedAsSdl(kPadMisc, SDL_CONTROLLER_BUTTON_MISC1),
              "the settings file stores SDL's button numbers");
constexpr float kAxisFullScale = 32767.0f;

using Clock = std::chrono::steady_clock;

// SDL's community mapping file is about half a megabyte; a file far larger
// than that is not a mapping file.
constexpr std::size_t kMappingFileLimit = 4u << 20;

// The open controllers and what the polls keep between them. System thread.
struct ControllerSet {
  SDL_GameController* slots[kControllerSlots] = {};
  int activeSlot = kNoController;
  // SDL_GameControllerButton bits pressed on the active controller since the
  // last poll.
  uint32_t latchedButtons = 0;
  PadMapper mapper;
  Clock::time_point lastPoll;
  bool polledBefore = false;
};
ControllerSet controllers;

SDL_JoystickID InstanceOf(SDL_GameController* controller) {
  return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

int SlotOf(SDL_JoystickID instance) {
  for (int slot = 0; slot < kControllerSlots; ++slot) {
    if (controllers.slots[slot] && InstanceOf(controllers.slots[slot]) == instance) return slot;
  }
  return kNoController;
}

void LogController(const char* what, SDL_GameController* controller) {
  const char* name = SDL_GameControllerName(controller);
  OpenConsoleLog();
  LogAppend(what);
  LogLine(name ? name : "unnamed controller");
  CloseConsoleLog();
}

void MakeActive(int slot) {
  if (slot == controllers.activeSlot) return;
  controllers.activeSlot = slot;
  controllers.latchedButtons = 0;
  controllers.mapper.Reset();
}

void LoadMappingFile() {
  AssetFile file = nullptr;
  OpenAssetFile(kMappingFileName, "rb", &file);
  if (!file) return;
  std::string text;
  char chunk[4096];
  for (std::size_t got;
       text.size() <= kMappingFileLimit && (got = AssetRead(chunk, 1, sizeof chunk, file)) > 0;) {
    text.append(chunk, got);
  }
  AssetClose(file);

  const bool tooLong = text.size() > kMappingFileLimit;
  SDL_RWops* stream = tooLong ? nullptr : SDL_RWFromConstMem(text.data(), static_cast<int>(text.size()));
  const int added = stream ? SDL_GameControllerAddMappingsFromRW(stream, 1) : -1;
  OpenConsoleLog();
  LogAppend(kMappingFileName);
  if (added < 0) {
    LogAppend(": not read: ");
    LogLine(tooLong ? "longer than 4 MB" : SDL_GetError());
  } else {
    LogLine((": " + std::to_string(added) + " controller mappings").c_str());
  }
  CloseConsoleLog();
}

// deviceIndex as SDL numbers attached joysticks; one already open is kept.
void OpenController(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  if (SlotOf(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != kNoController) return;
  int free = 0;
  while (free < kControllerSlots && controllers.slots[free]) ++free;
  if (free == kControllerSlots) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) return;
  controllers.slots[free] = controller;
  LogController("Controller connected: ", controller);
  if (controllers.activeSlot == kNoController) MakeActive(free);
}

void CloseController(int slot) {
  LogController("Controller disconnected: ", controllers.slots[slot]);
  SDL_GameControllerClose(controllers.slots[slot]);
  controllers.slots[slot] = nullptr;
  if (slot != controllers.activeSlot) return;
  // Another controller still plugged in takes over at once, so the player
  // can go on with it after the pause.
  int next = kNoController;
  for (int other = 0; other < kControllerSlots && next == kNoController; ++other) {
    if (controllers.slots[other]) next = other;
  }
  MakeActive(next);
  RequestPause();
}

bool Held(SDL_GameController* controller, SDL_GameControllerButton button) {
  return SDL_GameControllerGetButton(controller, button) != 0 || (controllers.latchedButtons >> button) & 1u;
}

float Axis(SDL_GameController* controller, SDL_GameControllerAxis axis) {
  const float value = static_cast<float>(SDL_GameControllerGetAxis(controller, axis)) / kAxisFullScale;
  return value < -1.0f ? -1.0f : value;
}

PadReading Read(SDL_GameController* controller) {
  PadReading reading;
  reading.leftX = Axis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  reading.leftY = Axis(controller, SDL_CONTROLLER_AXIS_LEFTY);
  reading.rightTrigger = Axis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  for (int button = 0; button < kPadButtonCount; ++button) {
    if (Held(controller, static_cast<SDL_GameControllerButton>(button))) reading.Hold(button);
  }
  return reading;
}

ControllerState Record(SDL_GameController* controller) {
  ControllerState state;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    state.axes[axis] = 100.0f * Axis(controller, static_cast<SDL_GameControllerAxis>(axis));
  }
  const SDL_GameControllerButton directions[4] = {
      SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
      SDL_CONTROLLER_BUTTON_DPAD_LEFT};
  for (int i = 0; i < 4; ++i) state.directions[i] = Held(controller, directions[i]) ? kPressedBit : 0;
  for (int button = 0; button < kRecordButtonCount; ++button) {
    state.buttons[button] = Held(controller, static_cast<SDL_GameControllerButton>(button)) ? kPressedBit : 0;
  }
  return state;
}

// A controller without motors refuses; nothing else to do about it.
void PlayRumble(SDL_GameController* controller) {
  const int request = TakeRumbleRequest();
  if (request == kNoRumble || !controller) return;
  const RumbleEffect effect = RumbleEffectOf(static_cast<RumbleKind>(request));
  SDL_GameControllerRumble(controller, static_cast<Uint16>(effect.lowFrequency * kMotorFullScale),
                           static_cast<Uint16>(effect.highFrequency * kMotorFullScale),
                           effect.milliseconds);
}

double SecondsSinceLastPoll() {
  const Clock::time_point now = Clock::now();
  const double seconds =
      controllers.polledBefore ? std::chrono::duration<double>(now - controllers.lastPoll).count() : 0.0;
  controllers.lastPoll = now;
  controllers.polledBefore = true;
  return seconds;
}

}  // namespace

void OpenGameControllers() {
  LoadMappingFile();
  for (int index = 0; index < SDL_NumJoysticks(); ++index) OpenController(index);
}

void CloseGameControllers() {
  for (SDL_GameController*& controller : controllers.slots) {
    if (controller) SDL_GameControllerClose(controller);
    controller = nullptr;
  }
  controllers.activeSlot = kNoController;
  controllers.latchedButtons = 0;
  controllers.mapper.Reset();
  controllers.polledBefore = false;
}

void TakeControllerEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      OpenController(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED: {
      const int slot = SlotOf(event.cdevice.which);
      if (slot != kNoController) CloseController(slot);
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN: {
      const int slot = SlotOf(event.cbutton.which);
      if (slot == kNoController) break;
      MakeActive(slot);
      if (event.cbutton.button < 32) controllers.latchedButtons |= 1u << event.cbutton.button;
      break;
    }
    default:
      break;
  }
}

void PollGameControllers() {
  const double seconds = SecondsSinceLastPoll();
  SDL_GameController* controller =
      controllers.activeSlot == kNoController ? nullptr : controllers.slots[controllers.activeSlot];
  PadOutput output;
  ControllerState state;
  const bool attached = controller && SDL_GameControllerGetAttached(controller);
  if (attached) {
    controllers.mapper.SetBindings(PadBindings());
    controllers.mapper.Map(Read(controller), seconds, &output);
    state = Record(controller);
  }
  PlayRumble(attached ? controller : nullptr);
  controllers.latchedButtons = 0;
  PublishPadKeys(output.keys);
  PublishPadPointer(output.pointerDx, output.pointerDy, output.leftButton);
  PublishController(state);
}
