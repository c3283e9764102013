#include "ui/label.h"

#include <cstring>

label::label(const control_definition& definition)
    : control(definition), caption_(definition.caption ? definition.caption : "") {
    if (const font_settings* f = definition.font) {
        font_.reset(CreateFontA(-f->height, 0, 0, 0, f->weight, FALSE, f->underline, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, ""));
    }
}

LRESULT label::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SETTEXT: return on_set_text(reinterpret_cast<const char*>(lparam));
    case WM_GETTEXT: return on_get_text(wparam, reinterpret_cast<char*>(lparam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(caption_.size());
    default: return control::handle_message(message, wparam, lparam);
    }
}

LRESULT label::on_set_text(const char* caption) {
    caption_ = caption ? caption : "";
    InvalidateRect(window_, nullptr, FALSE);
    return TRUE;
}

LRESULT label::on_get_text(WPARAM size, char* buffer) const {
    if (!buffer || size == 0) return 0;
    const size_t count = caption_.size() < size - 1 ? caption_.size() : size - 1;
    std::memcpy(buffer, caption_.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

void label::draw_parent_content(HDC dc) {
    HWND parent_window = GetParent(window_);
    auto* parent = reinterpret_cast<control*>(GetWindowLongPtrA(parent_window, GWLP_USERDATA));
    if (!parent) return;
    POINT origin{0, 0};
    MapWindowPoints(window_, parent_window, &origin, 1);
    POINT previous;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    parent->draw_content(dc);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void label::draw_content(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    const control_definition& d = definition();
    if (transparent())
        draw_parent_content(dc);
    else
        fill_rect(dc, client, d.background.colorref());
    HGDIOBJ font = font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ previous_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, d.text_colour.colorref());
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous_font);
}
