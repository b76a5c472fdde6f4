#pragma once

// While the game has changed the desktop (gamma ramp, full-screen mode), the
// end signals are caught instead of ending the process at once. The handlers
// only touch lock-free flags; everything else happens on the threads.
//
// SIGINT, SIGTERM and SIGHUP raise the quit request: the game ends as the
// menu's Exit does (settings saved, desktop restored, exit code 0). A second
// one while the first is still being served means the player has lost
// patience: it is treated as SIGQUIT is. SIGQUIT puts the desktop back (at
// the system thread's next pump pass) and then takes its usual course.
// A signal the process was told to ignore stays ignored. System thread only.

// Installs the handlers, remembering the ones in place; lowers the flags.
void CatchEndSignals();
// The signal waiting to end the process once the desktop is back, or 0.
int CaughtEndSignal();
// Puts the remembered handlers back and raises again a signal that is
// waiting to end the process, so it ends it (or reaches whoever handled it
// before). A served quit signal is not raised again. Harmless when nothing
// is caught.
void ReleaseEndSignals();
