// A game controller that end-to-end tests plug into the real game. Loaded
// with LD_PRELOAD, this library waits on a thread of its own until the game
// has started SDL's game-controller system, attaches one of SDL's virtual
// controllers (every button and axis SDL knows), and then plays the commands
// it reads from the named pipe in VIRTUAL_PAD_PIPE, one a line:
//   button a 1          a button down (1) or up (0), by SDL's name or number
//   axis leftx -32767   a stick as the controller reports it, -32768..32767;
//   axis righttrigger 32767   a trigger, 0 (released) .. 32767
//   detach              pulls the controller out
// A line it cannot read is skipped. When the writer closes the pipe the
// controller stays as the last line left it and nothing more is read.
// Test code only: never linked into or installed with the game.
#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace {

constexpr const char* kPipeVariable = "VIRTUAL_PAD_PIPE";
constexpr const char* kPadName = "Virtual Test Pad";
constexpr useconds_t kStartPollMicroseconds = 20000;
// A command is a few words; a longer line is noise and is dropped whole.
constexpr std::size_t kLineLimit = 200;
constexpr SDL_JoystickID kNoPad = -1;

// Written and read by the pad's own thread only.
SDL_JoystickID padInstance = kNoPad;

// SDL's name ("a", "start", "dpleft", "righttrigger") or a number in range;
// -1 when it is neither.
int Number(const std::string& word, int count) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno != 0 || value < 0 || value >= count) return -1;
  return static_cast<int>(value);
}
int ButtonOf(const std::string& word) {
  const int named = SDL_GameControllerGetButtonFromString(word.c_str());
  return named != SDL_CONTROLLER_BUTTON_INVALID ? named : Number(word, SDL_CONTROLLER_BUTTON_MAX);
}
int AxisOf(const std::string& word) {
  const int named = SDL_GameControllerGetAxisFromString(word.c_str());
  return named != SDL_CONTROLLER_AXIS_INVALID ? named : Number(word, SDL_CONTROLLER_AXIS_MAX);
}

bool ValueOf(const std::string& word, long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(word.c_str(), &end, 10);
  return !word.empty() && *end == '\0' && errno == 0;
}

bool IsTrigger(int axis) {
  return axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
}

// SDL reads a virtual trigger's full raw range as 0..32767, so a raw 0 is a
// trigger half pulled; commands give triggers as the controller reports them.
Sint16 RawAxis(int axis, long value) {
  if (IsTrigger(axis)) {
    const long pulled =
        value < 0 ? 0 : (value > SDL_JOYSTICK_AXIS_MAX ? SDL_JOYSTICK_AXIS_MAX : value);
    return static_cast<Sint16>(pulled * 2 + SDL_JOYSTICK_AXIS_MIN);
  }
  if (value < SDL_JOYSTICK_AXIS_MIN) return SDL_JOYSTICK_AXIS_MIN;
  if (value > SDL_JOYSTICK_AXIS_MAX) return SDL_JOYSTICK_AXIS_MAX;
  return static_cast<Sint16>(value);
}

int DeviceIndexOf(SDL_JoystickID instance) {
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == instance) return index;
  }
  return -1;
}

// False when SDL refused the controller.
bool Attach() {
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.name = kPadName;

  SDL_LockJoysticks();
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  // The pad's own handle, kept open to set its state.
  SDL_Joystick* pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (pad) {
    padInstance = SDL_JoystickInstanceID(pad);
    for (int axis : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}) {
      SDL_JoystickSetVirtualAxis(pad, axis, RawAxis(axis, 0));
    }
  }
  SDL_UnlockJoysticks();
  return pad != nullptr;
}

// One command line, under SDL's joystick lock. The game may have shut its
// controller system down already: the pad is then looked up and not found.
void Play(const std::string& line) {
  std::istringstream in(line);
  std::string verb, name, valueWord, extra;
  in >> verb >> name >> valueWord;
  if (verb.empty() || (in >> extra) || !SDL_WasInit(SDL_INIT_JOYSTICK)) return;

  SDL_LockJoysticks();
  SDL_Joystick* pad = padInstance == kNoPad ? nullptr : SDL_JoystickFromInstanceID(padInstance);
  long value = 0;
  if (!pad) {
    // nothing plugged in to play on
  } else if (verb == "detach" && name.empty()) {
    const int index = DeviceIndexOf(padInstance);
    SDL_JoystickClose(pad);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    padInstance = kNoPad;
  } else if (verb == "button" && ValueOf(valueWord, &value) && (value == 0 || value == 1)) {
    const int button = ButtonOf(name);
    if (button >= 0) SDL_JoystickSetVirtualButton(pad, button, static_cast<Uint8>(value));
  } else if (verb == "axis" && ValueOf(valueWord, &value)) {
    const int axis = AxisOf(name);
    if (axis >= 0) SDL_JoystickSetVirtualAxis(pad, axis, RawAxis(axis, value));
  }
  SDL_UnlockJoysticks();
}

void ReadCommands(int pipe) {
  std::string line;
  bool dropping = false;  // inside a line that grew past the limit
  char chunk[256];
  for (;;) {
    const ssize_t got = read(pipe, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t i = 0; i < got; ++i) {
      if (chunk[i] == '\n') {
        if (!dropping) Play(line);
        line.clear();
        dropping = false;
      } else if (!dropping && line.size() < kLineLimit) {
        line.push_back(chunk[i]);
      } else {
        line.clear();
        dropping = true;
      }
    }
  }
}

void* RunPad(void* pipePath) {
  while (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) usleep(kStartPollMicroseconds);
  // Without a controller the pipe stays unopened, so the test's wait for it
  // fails and says so.
  if (!Attach()) return nullptr;
  // Blocks until the test opens its end for writing.
  const int pipe = open(static_cast<const char*>(pipePath), O_RDONLY | O_CLOEXEC);
  if (pipe < 0) return nullptr;
  ReadCommands(pipe);
  close(pipe);
  return nullptr;
}

__attribute__((constructor)) void StartVirtualPad() {
  const char* path = std::getenv(kPipeVariable);
  if (!path || !*path) return;
  // A copy that outlives every destructor: the game may change its
  // environment, and the thread may still be waiting when the game ends.
  char* pipePath = strdup(path);
  if (!pipePath) return;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return;
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  pthread_create(&thread, &attributes, RunPad, pipePath);
  pthread_attr_destroy(&attributes);
}

}  // namespace
