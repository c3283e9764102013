// The base of every control kind: the control's definition row, its window and the window
// procedure that hands each message to the control object attached at WM_NCCREATE.
#pragma once
#include <windows.h>


#include "runtime/text.h"
#include "ui/window_definition.h"

// Private messages of the property routines, sent from any thread to the control's window.
enum : UINT {
    msg_set_picture = WM_APP + 10,  // wparam: picture_state, lparam: HBITMAP (ownership passes)
};

class control {
public:
    explicit control(const control_definition& definition) : definition_(definition) {}
    virtual ~control() = default;
    control(const control&) = delete;
    control& operator=(const control&) = delete;

    const control_definition& definition() const { return definition_; }
    HWND window() const { return window_; }

    // Creates the control's window hidden, as a child of `parent`; false on failure.
    // Non-visual kinds without a window return true and keep window() null.
    virtual bool create(HWND parent);

    // Paints the control's own content (background and picture) into `dc`; transparent
    // children ask their parent for it.
    virtual void draw_content(HDC dc);

    void (*on_mouse_pressed)(int x, int y, int keys) = nullptr;
    void (*on_mouse_released)(int x, int y, int keys) = nullptr;

protected:
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    virtual DWORD window_style() const;
    virtual DWORD window_ex_style() const { return 0; }
    virtual const char* window_class() const = 0;

    LRESULT default_handling(UINT message, WPARAM wparam, LPARAM lparam);
    void on_paint();
    void on_mouse_button(UINT message, WPARAM wparam, LPARAM lparam);
    HWND window_ = nullptr;

private:
    static void register_window_class(const char* name);
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    const control_definition& definition_;
};

// Modifier keys of a mouse event: 1 Ctrl, 2 Shift, 4 Alt.
int mouse_event_keys(WPARAM wparam);

// Fills `rect` of `dc` with a solid colour.
void fill_rect(HDC dc, const RECT& rect, COLORREF colour);
