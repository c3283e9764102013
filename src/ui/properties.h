// Property routines of the start window's controls, addressed by name. Callable from any
// thread: each one talks to the control's window with SendMessage, so the change happens
// on the window's own thread and shows at once.
#pragma once
#include <windows.h>

#include "runtime/text.h"

class zip_control;

text caption(const char* control_name);
void set_caption(const char* control_name, const text& value);
void set_visible(const char* control_name, bool visible);
void set_progress_position(const char* control_name, int position);
int progress_maximum(const char* control_name);
// A picture of a picture button from the bytes of an image file.
void set_normal_picture(const char* control_name, const unsigned char* data, size_t size);
void set_hot_picture(const char* control_name, const unsigned char* data, size_t size);
zip_control* find_zip_control(const char* control_name);

// The start window's outer rectangle, in screen pixels.
void set_window_width(int width);
void set_window_height(int height);
void set_window_top(int top);
RECT window_rect();
