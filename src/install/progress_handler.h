// The handler of the ZIP control's progress event: moves the progress bar and, at exactly
// 100 after a successful extraction, completes the installation and ends the process.
#pragma once
#include <cstdint>

void progress_handler(int percent);

// The bar position for `percent` with the bar's `maximum`: maximum / 100 * percent in double
// precision, truncated toward zero; the low 32 bits.
int32_t progress_bar_position(int maximum, int percent);

// Completion: finish picture, desktop shortcut, question, optional start, clean-up, end.
[[noreturn]] void complete_installation();
