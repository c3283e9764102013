#include "ui/control.h"

#include <windowsx.h>

#include "runtime/handles.h"

int mouse_event_keys(WPARAM wparam) {
    int keys = 0;
    if (wparam & MK_CONTROL) keys |= 1;
    if (wparam & MK_SHIFT) keys |= 2;
    if (GetKeyState(VK_MENU) < 0) keys |= 4;
    return keys;
}

void fill_rect(HDC dc, const RECT& rect, COLORREF colour) {
    scoped_gdi_object brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

void control::register_window_class(const char* name) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = name;
    RegisterClassA(&window_class);  // a second registration fails harmlessly
}

DWORD control::window_style() const {
    return WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (definition_.border ? WS_BORDER : 0);
}

bool control::create(HWND parent) {
    register_window_class(window_class());
    const control_definition& d = definition_;
    window_ = CreateWindowExA(window_ex_style(), window_class(), d.caption ? d.caption : "", window_style(),
                              d.left, d.top, d.width, d.height, parent, nullptr, GetModuleHandleA(nullptr), this);
    return window_ != nullptr;
}

void control::draw_content(HDC) {}

LRESULT CALLBACK control::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<control*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wparam, lparam);
    return self->handle_message(message, wparam, lparam);
}

LRESULT control::default_handling(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT control::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT draws everything
    case WM_PAINT: on_paint(); return 0;
    case WM_LBUTTONDOWN: on_mouse_button(message, wparam, lparam); return 0;
    case WM_LBUTTONUP: on_mouse_button(message, wparam, lparam); return 0;
    default: return default_handling(message, wparam, lparam);
    }
}

void control::on_paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    draw_content(dc);
    EndPaint(window_, &paint);
}

void control::on_mouse_button(UINT message, WPARAM wparam, LPARAM lparam) {
    auto handler = message == WM_LBUTTONDOWN ? on_mouse_pressed : on_mouse_released;
    if (handler) handler(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), mouse_event_keys(wparam));
}
