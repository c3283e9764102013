#include "ui/picture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

bool is_jpeg(const unsigned char* data, size_t size) { return size >= 3 && data[0] == 0xFF && data[1] == 0xD8; }

bool is_ico(const unsigned char* data, size_t size) {
    return size >= 6 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
}

unsigned read_u16(const unsigned char* p) { return p[0] | (p[1] << 8); }
unsigned read_u32(const unsigned char* p) { return read_u16(p) | (read_u16(p + 2) << 16); }

// The first image of an ICO file as an icon.
HICON decode_ico(const unsigned char* data, size_t size, int& width, int& height) {
    const unsigned count = read_u16(data + 4);
    if (count == 0 || size < 6 + 16) return nullptr;
    const unsigned char* entry = data + 6;
    const unsigned image_size = read_u32(entry + 8);
    const unsigned offset = read_u32(entry + 12);
    if (offset > size || image_size > size - offset) return nullptr;
    width = entry[0] ? entry[0] : 256;
    height = entry[1] ? entry[1] : 256;
    return CreateIconFromResourceEx(const_cast<unsigned char*>(data + offset), image_size, TRUE, 0x00030000,
                                    width, height, LR_DEFAULTCOLOR);
}

}  // namespace

picture picture::decode(const unsigned char* data, size_t size) {
    picture result;
    if (is_jpeg(data, size))
        result.bitmap_.reset(decode_jpeg(data, size, result.width_, result.height_));
    else if (is_ico(data, size))
        result.icon_.reset(decode_ico(data, size, result.width_, result.height_));
    return result;
}

picture picture::adopt_bitmap(HBITMAP bitmap) {
    picture result;
    BITMAP info{};
    if (bitmap && GetObjectA(bitmap, sizeof(info), &info)) {
        result.bitmap_.reset(bitmap);
        result.width_ = info.bmWidth;
        result.height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    return result;
}

HBITMAP picture::release_bitmap() {
    width_ = height_ = 0;
    return static_cast<HBITMAP>(bitmap_.release());
}

void picture::draw(HDC dc, picture_fit fit, int box_width, int box_height) const {
    if (empty()) return;
    int x = 0, y = 0, w = width_, h = height_;
    if (fit == picture_fit::stretch) {
        w = box_width;
        h = box_height;
    } else if (fit == picture_fit::fit_centred && (w > box_width || h > box_height)) {
        const double scale = std::min(double(box_width) / w, double(box_height) / h);
        w = static_cast<int>(w * scale);
        h = static_cast<int>(h * scale);
    }
    if (fit == picture_fit::fit_centred) {
        x = (box_width - w) / 2;
        y = (box_height - h) / 2;
    }
    if (icon_) {
        DrawIconEx(dc, x, y, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    memory_dc source(dc, bitmap_.get());
    if (w == width_ && h == height_) {
        BitBlt(dc, x, y, w, h, source.get(), 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x, y, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
    }
}
