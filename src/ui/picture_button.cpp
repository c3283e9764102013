#include "ui/picture_button.h"

#include <windowsx.h>

picture_button::picture_button(const control_definition& definition) : control(definition) {
    const picture_bytes* sources[] = {&definition.normal_picture, &definition.hot_picture, &definition.pressed_picture};
    for (int i = 0; i < 3; ++i) pictures_[i] = picture::decode(sources[i]->data, sources[i]->size);
}

LRESULT picture_button::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_LBUTTONDOWN: on_button_down(wparam, lparam); return 0;
    case WM_MOUSEMOVE: on_mouse_move(wparam, lparam); return 0;
    case WM_LBUTTONUP: on_button_up(wparam, lparam); return 0;
    case WM_CAPTURECHANGED: set_state(picture_state::normal); return 0;
    case msg_set_picture: return on_set_picture(wparam, lparam);
    default: return control::handle_message(message, wparam, lparam);
    }
}

bool picture_button::pointer_inside(LPARAM lparam) const {
    RECT client;
    GetClientRect(window_, &client);
    const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    return PtInRect(&client, point) != FALSE;
}

void picture_button::set_state(picture_state state) {
    if (state == state_) return;
    state_ = state;
    InvalidateRect(window_, nullptr, FALSE);
}

void picture_button::on_button_down(WPARAM, LPARAM) {
    if (!IsWindowEnabled(window_)) return;
    SetCapture(window_);
    set_state(picture_state::pressed);
}

void picture_button::on_mouse_move(WPARAM wparam, LPARAM lparam) {
    const bool held = (wparam & MK_LBUTTON) != 0;
    if (pointer_inside(lparam)) {
        // The capture also tells us when the pointer leaves, which ends the hot state.
        if (GetCapture() != window_) SetCapture(window_);
        set_state(held ? picture_state::pressed : picture_state::hot);
        return;
    }
    if (!held && GetCapture() == window_) ReleaseCapture();
    set_state(picture_state::normal);
}

void picture_button::on_button_up(WPARAM, LPARAM lparam) {
    const bool was_pressed_here = GetCapture() == window_;
    if (was_pressed_here) ReleaseCapture();
    set_state(picture_state::normal);
    if (was_pressed_here && pointer_inside(lparam) && IsWindowEnabled(window_) && on_clicked) on_clicked();
}

LRESULT picture_button::on_set_picture(WPARAM state, LPARAM bitmap) {
    if (state > 2) return FALSE;
    pictures_[state] = picture::adopt_bitmap(reinterpret_cast<HBITMAP>(bitmap));
    InvalidateRect(window_, nullptr, FALSE);
    return TRUE;
}

const picture& picture_button::picture_for_state() const {
    const picture& chosen = pictures_[static_cast<int>(state_)];
    return chosen.empty() ? pictures_[0] : chosen;
}

void picture_button::draw_content(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    fill_rect(dc, client, RGB(0, 0, 0));
    picture_for_state().draw(dc, picture_fit::natural, client.right, client.bottom);
}
