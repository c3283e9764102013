// The window's pictures, embedded from assets/pictures at build time.
#pragma once
#include "ui/window_definition.h"

extern "C" {
#define LUMVEX_PICTURE(name) extern const unsigned char name[], name##_end[];
LUMVEX_PICTURE(picture_install)
LUMVEX_PICTURE(picture_install_hot)
LUMVEX_PICTURE(picture_logo2)
LUMVEX_PICTURE(picture_flame)
LUMVEX_PICTURE(picture_close)
LUMVEX_PICTURE(picture_close_hot)
LUMVEX_PICTURE(picture_close_pressed)
LUMVEX_PICTURE(picture_icon)
#undef LUMVEX_PICTURE
}

#define LUMVEX_PICTURE_BYTES(name) picture_bytes{name, static_cast<size_t>(name##_end - name)}
