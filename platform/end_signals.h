#pragma once

// While the game has changed the desktop (gamma ramp, full-screen mode),
// SIGINT and SIGTERM are caught instead of ending the process at once: the
// system thread sees the signal at its next pump pass, puts the desktop back
// and then lets the signal take its usual course. System thread only.

// Installs the handlers, remembering the ones in place.
void CatchEndSignals();
// The signal caught since CatchEndSignals, or 0.
int CaughtEndSignal();
// Puts the remembered handlers back and raises a caught signal again, so it
// ends the process (or reaches whoever handled it before). Harmless when
// nothing is caught.
void ReleaseEndSignals();
