#include "ui/picture_box.h"

picture_box::picture_box(const control_definition& definition)
    : control(definition), picture_(picture::decode(definition.picture.data, definition.picture.size)) {}

void picture_box::draw_content(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    const control_definition& d = definition();
    fill_rect(dc, client, d.face_background ? GetSysColor(COLOR_BTNFACE) : d.background.colorref());
    picture_.draw(dc, d.fit, client.right, client.bottom);
}
