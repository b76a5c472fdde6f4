#include "app/game_flow.h"

// The game takes no arguments. It ends with 0 after Exit, a closed window or
// an end signal, and with 1 when it cannot start: the player then gets one
// message and the settings stay untouched.
int main() { return GameMain(); }
