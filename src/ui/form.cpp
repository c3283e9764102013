#include "ui/form.h"

#include <cstring>

#include "app/shutdown.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"
#include "ui/timer.h"
#include "ui/zip_control.h"

namespace {

const char form_window_class[] = "LumvexForm";
std::unique_ptr<form> loaded_form;

std::unique_ptr<control> make_control(const control_definition& definition) {
    switch (definition.kind) {
    case control_kind::picture_box: return std::make_unique<picture_box>(definition);
    case control_kind::label:
    case control_kind::transparent_label: return std::make_unique<label>(definition);
    case control_kind::picture_button: return std::make_unique<picture_button>(definition);
    case control_kind::progress_bar: return std::make_unique<progress_bar>(definition);
    case control_kind::timer: return std::make_unique<timer>(definition);
    case control_kind::zip: return std::make_unique<zip_control>(definition);
    }
    return nullptr;
}

}  // namespace

form::form(const window_definition& definition, const form_handlers& handlers)
    : definition_(definition), handlers_(handlers) {}

form::~form() {
    if (window_) DestroyWindow(window_);
}

control* form::find(const char* name) const {
    for (const auto& item : controls_)
        if (std::strcmp(item->definition().name, name) == 0) return item.get();
    return nullptr;
}

LRESULT CALLBACK form::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<form*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // The last loaded window is gone: the message loop ends with code 0. A window whose
    // load failed posts nothing, or the error box that follows would close at once.
    if (message == WM_DESTROY && self && self->loaded_) PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

bool form::create_window() {
    const window_settings& w = definition_.window;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hIcon = LoadIconA(window_class.hInstance, "DEFAULT_ICON");
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = CreateSolidBrush(w.background.colorref());  // lives as long as the class
    window_class.lpszClassName = form_window_class;
    RegisterClassA(&window_class);
    // Centred on the primary display, in integer arithmetic.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - w.width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - w.height) / 2;
    window_ = CreateWindowExA(WS_EX_APPWINDOW, form_window_class, w.caption, WS_POPUP | WS_CLIPCHILDREN, left,
                              top, w.width, w.height, nullptr, nullptr, window_class.hInstance, this);
    return window_ != nullptr;
}

HWND form::parent_window_of(const control_definition& definition) const {
    if (!definition.parent) return window_;
    const control* parent = find(definition.parent);
    return parent ? parent->window() : nullptr;
}

bool form::create_controls() {
    const control_definition* rows = definition_.controls;
    for (size_t i = 0; i < definition_.control_count; ++i) {
        auto item = make_control(rows[i]);
        if (!item || !item->create(window_)) return false;
        controls_.push_back(std::move(item));
    }
    // Then each control moves into its panel, keeping its numbers as coordinates there.
    for (const auto& item : controls_) {
        if (!item->window() || !item->definition().parent) continue;
        HWND parent = parent_window_of(item->definition());
        if (!parent) return false;
        const control_definition& d = item->definition();
        SetParent(item->window(), parent);
        MoveWindow(item->window(), d.left, d.top, d.width, d.height, FALSE);
    }
    return true;
}

void form::stack_controls() {
    // Siblings in table order: the first on top, each next one directly beneath the previous.
    for (const auto& item : controls_) {
        if (!item->window()) continue;
        HWND above = HWND_TOP;
        for (const auto& other : controls_) {
            if (other.get() == item.get()) break;
            if (other->window() && other->definition().parent == item->definition().parent) above = other->window();
        }
        SetWindowPos(item->window(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (const auto& item : controls_)
        if (item->window() && item->definition().visible) ShowWindow(item->window(), SW_SHOWNA);
}

namespace {

using mouse_handler = void (*)(int, int, int);
using plain_handler = void (*)();

mouse_handler mouse_handler_for(const form_handlers& h, handler_role role) {
    switch (role) {
    case handler_role::close_mark_released: return h.close_mark_released;
    case handler_role::directory_pressed: return h.directory_pressed;
    default: return nullptr;
    }
}

plain_handler plain_handler_for(const form_handlers& h, handler_role role) {
    switch (role) {
    case handler_role::install_clicked: return h.install_clicked;
    case handler_role::close_button_clicked: return h.close_button_clicked;
    default: return nullptr;
    }
}

}  // namespace

void form::bind_events() {
    for (size_t i = 0; i < definition_.binding_count; ++i) {
        const event_binding& b = definition_.bindings[i];
        control* source = find(b.source);
        if (!source) continue;
        switch (b.event) {
        case form_event::mouse_pressed: source->on_mouse_pressed = mouse_handler_for(handlers_, b.handler); break;
        case form_event::mouse_released: source->on_mouse_released = mouse_handler_for(handlers_, b.handler); break;
        case form_event::clicked:
            if (auto* button = dynamic_cast<picture_button*>(source))
                button->on_clicked = plain_handler_for(handlers_, b.handler);
            break;
        case form_event::progress:
            if (auto* zip = dynamic_cast<zip_control*>(source)) zip->on_progress = handlers_.extraction_progress;
            break;
        }
    }
}

bool form::load() {
    if (!create_window() || !create_controls()) return false;
    stack_controls();
    bind_events();
    loaded_ = true;
    register_loaded_window(window_);
    if (handlers_.created) handlers_.created();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    return true;
}

form* start_window() { return loaded_form.get(); }

bool load_start_window(const window_definition& definition, const form_handlers& handlers) {
    loaded_form = std::make_unique<form>(definition, handlers);
    if (loaded_form->load()) return true;
    loaded_form.reset();
    return false;
}
