// The loaded installer window: the top-level window and its controls, found by name.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/window_definition.h"

class form {
public:
    form(const window_definition& definition, const form_handlers& handlers);
    ~form();
    form(const form&) = delete;
    form& operator=(const form&) = delete;

    // Creates the window and its controls hidden, binds the events, runs the created
    // handler, then shows and activates the window. False when the window cannot be made.
    bool load();

    HWND window() const { return window_; }
    control* find(const char* name) const;

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    bool create_window();
    bool create_controls();
    void stack_controls();
    void bind_events();
    HWND parent_window_of(const control_definition& definition) const;

    const window_definition& definition_;
    const form_handlers& handlers_;
    HWND window_ = nullptr;
    bool loaded_ = false;
    std::vector<std::unique_ptr<control>> controls_;
};

// The one window this program loads; null before it is loaded.
form* start_window();
// Loads `definition` as the start window; false when it cannot be loaded.
bool load_start_window(const window_definition& definition, const form_handlers& handlers);
