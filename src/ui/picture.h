// A decoded picture: a JPEG as a 32-bit bitmap, or an ICO image as an icon.
#pragma once
#include <windows.h>

#include <cstddef>

#include "runtime/handles.h"
#include "ui/window_definition.h"

class picture {
public:
    picture() = default;
    // Decodes an image file; a file that fails to decode gives an empty picture.
    static picture decode(const unsigned char* data, size_t size);
    // Takes ownership of a bitmap made by decode() on another thread.
    static picture adopt_bitmap(HBITMAP bitmap);

    bool empty() const { return !bitmap_ && !icon_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Hands the bitmap over (for a property write that crosses threads); empty afterwards.
    HBITMAP release_bitmap();

    // Draws into the rectangle of a box of `box_width` × `box_height` at the origin.
    void draw(HDC dc, picture_fit fit, int box_width, int box_height) const;

private:
    scoped_gdi_object bitmap_;
    scoped_icon icon_;
    int width_ = 0;
    int height_ = 0;
};

// Decodes a baseline JPEG into a top-down 32-bit DIB section; nullptr when it cannot.
HBITMAP decode_jpeg(const unsigned char* data, size_t size, int& width, int& height);
