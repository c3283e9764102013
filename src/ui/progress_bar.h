// The common progress bar control: horizontal, smooth, with a thin sunken edge.
#pragma once
#include "ui/control.h"

class progress_bar : public control {
public:
    using control::control;
    bool create(HWND parent) override;

protected:
    const char* window_class() const override;
};

// Range and position stay within 0 to 32767; a position is clamped to the range.
int clamp_progress_value(int value, int minimum, int maximum);
