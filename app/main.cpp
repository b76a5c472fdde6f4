#include "app/game_flow.h"

// The game takes no arguments and always ends with 0, also when it cannot
// start: the player then gets one message and the settings stay untouched.
int main() { return GameMain(); }
