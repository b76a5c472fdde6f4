#pragma once
// The diagnostic log "conlog.txt" in the asset directory: one line per entry,
// no prefixes, no time stamps; every line is flushed as it is written so a
// crash leaves it on disk. No locking: lines come from one thread at a time
// (the system thread during start-up, the main thread afterwards).

// System thread, at its start: creates an empty "conlog.txt" and closes it.
// False when the file cannot be created (the engine start then fails).
bool StartConsoleLog();
// System thread, at its end: closes the file; later lines are dropped.
bool StopConsoleLog();

// Writers open the log around their own output. Opening appends ("a+b");
// a failed open leaves it closed and lines are dropped.
void OpenConsoleLog();
void CloseConsoleLog();

// Appends to the line being assembled, which never exceeds 255 characters.
void LogAppend(const char* text);
// LogAppend, then writes the assembled line and starts a new one.
void LogLine(const char* text);
// Writes a text of any length as one line, leaving the assembled line alone.
void LogText(const char* text);
