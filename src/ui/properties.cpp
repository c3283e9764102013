#include "ui/properties.h"

#include <commctrl.h>

#include "ui/form.h"
#include "ui/picture.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"
#include "ui/zip_control.h"

namespace {

HWND control_window(const char* control_name) {
    form* window = start_window();
    control* found = window ? window->find(control_name) : nullptr;
    return found ? found->window() : nullptr;
}

void set_picture(const char* control_name, picture_state state, const unsigned char* data, size_t size) {
    HWND window = control_window(control_name);
    if (!window) return;
    // Decoded here, on the calling thread; the button takes the bitmap over.
    picture decoded = picture::decode(data, size);
    HBITMAP bitmap = decoded.release_bitmap();
    if (!SendMessageA(window, msg_set_picture, static_cast<WPARAM>(state), reinterpret_cast<LPARAM>(bitmap)) && bitmap)
        DeleteObject(bitmap);
}

void set_window_pos(int left, int top, int width, int height, UINT flags) {
    if (form* window = start_window())
        SetWindowPos(window->window(), nullptr, left, top, width, height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

text caption(const char* control_name) {
    HWND window = control_window(control_name);
    if (!window) return text();
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    text value(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(window, WM_GETTEXT, value.size(), reinterpret_cast<LPARAM>(value.data()));
    value.resize(static_cast<size_t>(copied));
    return value;
}

void set_caption(const char* control_name, const text& value) {
    if (HWND window = control_window(control_name))
        SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void set_visible(const char* control_name, bool visible) {
    if (HWND window = control_window(control_name)) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void set_progress_position(const char* control_name, int position) {
    HWND window = control_window(control_name);
    if (!window) return;
    PBRANGE range{};
    SendMessageA(window, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    SendMessageA(window, PBM_SETPOS, clamp_progress_value(position, range.iLow, range.iHigh), 0);
}

int progress_maximum(const char* control_name) {
    HWND window = control_window(control_name);
    return window ? static_cast<int>(SendMessageA(window, PBM_GETRANGE, FALSE, 0)) : 0;
}

void set_normal_picture(const char* control_name, const unsigned char* data, size_t size) {
    set_picture(control_name, picture_state::normal, data, size);
}

void set_hot_picture(const char* control_name, const unsigned char* data, size_t size) {
    set_picture(control_name, picture_state::hot, data, size);
}

zip_control* find_zip_control(const char* control_name) {
    form* window = start_window();
    return window ? dynamic_cast<zip_control*>(window->find(control_name)) : nullptr;
}

void set_window_width(int width) {
    const RECT r = window_rect();
    set_window_pos(0, 0, width, r.bottom - r.top, SWP_NOMOVE);
}

void set_window_height(int height) {
    const RECT r = window_rect();
    set_window_pos(0, 0, r.right - r.left, height, SWP_NOMOVE);
}

void set_window_top(int top) {
    const RECT r = window_rect();
    set_window_pos(r.left, top, 0, 0, SWP_NOSIZE);
}

RECT window_rect() {
    RECT r{};
    if (form* window = start_window()) GetWindowRect(window->window(), &r);
    return r;
}
