#pragma once
#include <cstdint>

// Xlib's default error handler prints the error and ends the process. A GL
// driver that cannot make a context answers SDL's probe with an X error
// (X_GLXCreateContext, BadValue) before SDL can report anything, so while the
// game window exists X errors are noted here instead, and the start fails
// with its message like any other. libX11 is opened at run time (SDL holds
// it anyway); without it nothing is installed.

// Installs the handler (remembering the one in place) and forgets earlier
// errors. System thread, before SDL opens its connection.
void TrapXErrors();
// Puts the remembered handler back. System thread, after SDL has closed its
// connection, so no error of the game's is left to reach the old handler.
void ReleaseXErrors();

// The errors noted since TrapXErrors, and the first one's codes. Any thread.
int32_t TrappedXErrorCount();
struct TrappedXError {
  int32_t errorCode = 0;
  int32_t requestCode = 0;  // major opcode (an extension's, e.g. GLX)
  int32_t minorCode = 0;
};
TrappedXError FirstTrappedXError();

// Writes one line to the console log (which the caller has opened) when
// errors were noted since the last such line:
// "X error 2 (request 150.3) while <doing>; 1 in all". Main or system thread.
void LogTrappedXErrors(const char* doing);
