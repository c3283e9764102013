// A timer of the window definition. Its interval is 0, so it never fires and needs no window.
#pragma once
#include "ui/control.h"

class timer : public control {
public:
    using control::control;
    bool create(HWND) override { return true; }

protected:
    const char* window_class() const override { return ""; }
};
