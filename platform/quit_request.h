#pragma once

// A request to end the game the way the main menu's Exit does: the screen
// running ends, a game in progress is given up, the flow goes on to its
// normal shutdown (settings and high score saved) and the program exits 0.
// Raised by the system thread when the window is closed (close button,
// Alt+F4) and by the handlers of SIGINT, SIGTERM and SIGHUP; read by every
// screen and the gameplay loop on the main thread. Lock-free, so a signal
// handler may raise it.

// Raises the request; any thread, signal handlers included.
void RequestQuit();
// True from the first RequestQuit until ClearQuitRequest. Any thread.
bool QuitRequested();
// Lowers the request: at engine start, and in tests. Main thread.
void ClearQuitRequest();
