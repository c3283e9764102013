// The installer window as data: the window's settings, one row per control (in stacking
// order within each parent, topmost first) and the event bindings. The loader walks it.
#pragma once
#include <windows.h>

#include <cstddef>

enum class control_kind { picture_box, label, transparent_label, picture_button, progress_bar, timer, zip };

struct rgb {
    unsigned char red, green, blue;
    COLORREF colorref() const { return RGB(red, green, blue); }
};

// An image file (JPEG or ICO) embedded in the program.
struct picture_bytes {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

enum class picture_fit { natural, stretch, fit_centred };

struct font_settings {
    int height;      // character height in pixels
    int weight;
    bool underline;
};

struct control_definition {
    const char* name;
    control_kind kind;
    const char* parent;  // nullptr: the window itself
    int left, top, width, height;
    bool visible;
    rgb background;
    bool face_background;  // the system face colour instead of `background`
    bool border;           // single-line border: the client area is inset by one pixel
    const char* caption;
    rgb text_colour;
    const font_settings* font;  // nullptr: the default GUI font
    picture_bytes picture;      // picture box
    picture_fit fit;
    picture_bytes normal_picture, hot_picture, pressed_picture;  // picture button
    int maximum;                                                  // progress bar (minimum 0)
};

struct window_settings {
    const char* caption;
    int left, top, width, height;  // design position and size
    rgb background;
};

// The handlers a program binds to the window's events.
struct form_handlers {
    void (*created)();
    void (*close_mark_released)(int x, int y, int keys);
    void (*install_clicked)();
    void (*directory_pressed)(int x, int y, int keys);
    void (*close_button_clicked)();
    void (*extraction_progress)(int percent);
};

enum class form_event { mouse_pressed, mouse_released, clicked, progress };

// Which member of form_handlers an event runs.
enum class handler_role { close_mark_released, install_clicked, directory_pressed, close_button_clicked, extraction_progress };

struct event_binding {
    const char* source;
    form_event event;
    handler_role handler;
};

struct window_definition {
    const window_settings& window;
    const control_definition* controls;
    size_t control_count;
    const event_binding* bindings;
    size_t binding_count;
};

// The installer window of this program.
const window_definition& installer_window_definition();
