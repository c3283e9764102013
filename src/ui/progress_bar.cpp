#include "ui/progress_bar.h"

#include <commctrl.h>

#include <algorithm>

int clamp_progress_value(int value, int minimum, int maximum) {
    return std::clamp(value, std::clamp(minimum, 0, 32767), std::clamp(maximum, 0, 32767));
}

const char* progress_bar::window_class() const { return PROGRESS_CLASSA; }

bool progress_bar::create(HWND parent) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    const control_definition& d = definition();
    window_ = CreateWindowExA(WS_EX_STATICEDGE, PROGRESS_CLASSA, "", WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH,
                              d.left, d.top, d.width, d.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_) return false;
    SendMessageA(window_, PBM_SETRANGE32, 0, clamp_progress_value(d.maximum, 0, 32767));
    SendMessageA(window_, PBM_SETPOS, 0, 0);
    return true;
}
