#include "app/start.h"

#include <ole2.h>

#include "app/fatal_error.h"
#include "app/globals.h"
#include "app/shutdown.h"
#include "ui/form.h"

namespace {

// The program's own folder becomes the current directory: the module path up to its last
// backslash.
void enter_program_folder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* last_backslash = nullptr;
    for (char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') last_backslash = p;
    if (!last_backslash) return;
    *last_backslash = '\0';
    SetCurrentDirectoryA(path);
}

}  // namespace

int start_routine(HINSTANCE instance, const window_definition& definition, const form_handlers& handlers) {
    OleInitialize(nullptr);
    enter_program_folder();
    start_runtime(instance);
    product_names.clear();
    register_release_routine(release_globals);
    if (!load_start_window(definition, handlers)) fatal_runtime_error(window_load_error, window_load_error_message);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
