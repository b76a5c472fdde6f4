#pragma once
// The diagnostic log "conlog.txt" in the asset directory: one line per entry,
// no prefixes, no time stamps; every line is written with a single "\n" and
// flushed at once, so a crash leaves it on disk. Lines come from one thread at
// a time (the system thread during start-up, the main thread afterwards); an
// internal mutex still keeps the file handle and the assembled line whole
// should two threads write at once.

// System thread, at its start: creates an empty "conlog.txt" (truncating the
// previous run's) and closes it; clears the assembled line. False when the
// file cannot be created (the engine start then fails).
bool StartConsoleLog();
// System thread, at its end: closes the file; later lines are dropped.
// Returns true.
bool StopConsoleLog();

// Writers open the log around their own output. Opening appends ("a+b") and
// does nothing while the file is open; a failed open leaves it closed and
// lines are dropped.
void OpenConsoleLog();
void CloseConsoleLog();

// Appends to the line being assembled, cutting the text so that the line
// never exceeds 255 characters. nullptr appends nothing.
void LogAppend(const char* text);
// LogAppend, then writes the assembled line and starts a new one.
void LogLine(const char* text);
// Writes a text of any length as one line, leaving the assembled line alone;
// nullptr writes nothing.
void LogText(const char* text);
