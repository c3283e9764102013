// The life of the process around the message loop: the hidden message window through which
// other threads hand the end of the program to the main thread, the release routine, and
// end program itself.
#pragma once
#include <windows.h>

// Records the calling thread as the main thread and creates the hidden message window on it.
bool start_runtime(HINSTANCE instance);

// The release routine runs at most once, on the main thread, during the orderly shutdown.
void register_release_routine(void (*routine)());
void unregister_release_routine();

// A top-level window that the orderly shutdown destroys.
void register_loaded_window(HWND window);

// Ends the process with `exit_code`. On the main thread: release routine, windows, OLE, exit.
// On any other thread: hands the request synchronously to the main thread and never returns;
// without the message window, exits at once on the calling thread.
[[noreturn]] void end_program(int exit_code);
