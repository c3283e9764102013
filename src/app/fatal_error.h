// The fatal run-time error: a box with the code and message, then the end of the process
// with exit code -1, without the release routine.
#pragma once
#include "runtime/text.h"

// The box text: heading, then the code (when not 0) and the message (when not empty).
text runtime_error_box_text(int code, const text& message);

[[noreturn]] void fatal_runtime_error(int code, const text& message);

// Code and message of a window that cannot be loaded.
constexpr int window_load_error = 0;
constexpr const char* window_load_error_message = "载入启动窗口失败";
