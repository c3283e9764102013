// The runtime's operations over Windows that the installer logic calls: message boxes,
// files, special folders, shell links, running a program and starting a thread.
#pragma once
#include <windows.h>

#include <cstddef>

#include "runtime/text.h"

// MessageBoxA without an owner; task-modal unless system-modal; no title shows "信息：".
// Returns 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
int message_box(const text& message, UINT flags, const char* title = nullptr);

// Creates or empties the file (write only, no sharing) and writes the bytes. False when
// the name is empty, the file cannot be opened that way, or a write fails.
bool write_to_file(const text& file_name, const unsigned char* data, size_t size);

// Like write_to_file, but never replaces an existing file (fails instead).
bool write_new_file(const text& file_name, const unsigned char* data, size_t size);

bool delete_file(const text& file_name);

// Folder 11: the temporary folder; 3: the desktop directory. Ends in a backslash; "" on failure.
constexpr int temporary_folder = 11;
constexpr int desktop_folder = 3;
text special_folder(int folder);

// A shell link at `link_path` (".lnk" added when it has no extension) to `target_path`,
// shown with SW_SHOW. Needs COM on the calling thread.
bool create_shortcut(const text& link_path, const text& target_path);

// Starts `command_line` in the installer's own current directory and waits at most one
// second for it to become idle. False when no process was created.
bool run_program(const text& command_line);

// Starts `routine` on a new thread whose handle is closed at once.
bool start_thread(void (*routine)());
