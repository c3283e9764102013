// JPEG decoding with libjpeg from the bytes embedded in the program.
#include <csetjmp>
#include <cstdio>

#include "ui/picture.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

struct error_manager {
    jpeg_error_mgr base;
    jmp_buf escape;
};

void on_fatal_error(j_common_ptr info) {
    longjmp(reinterpret_cast<error_manager*>(info->err)->escape, 1);
}

void ignore_message(j_common_ptr) {}

// Everything between setjmp and longjmp is plain C data: no destructor is skipped.
HBITMAP decode_into_dib(jpeg_decompress_struct& info, error_manager& errors, int& width, int& height) {
    HBITMAP bitmap = nullptr;
    if (setjmp(errors.escape)) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;  // top-down rows, as libjpeg delivers them
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) longjmp(errors.escape, 1);
    auto* rows = static_cast<unsigned char*>(bits);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows + static_cast<size_t>(info.output_scanline) * width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return bitmap;
}

}  // namespace

HBITMAP decode_jpeg(const unsigned char* data, size_t size, int& width, int& height) {
    if (!data || size == 0) return nullptr;
    jpeg_decompress_struct info{};
    error_manager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = on_fatal_error;
    errors.base.output_message = ignore_message;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    HBITMAP bitmap = decode_into_dib(info, errors, width, height);
    jpeg_destroy_decompress(&info);
    return bitmap;
}
