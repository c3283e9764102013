// The program's entry: start-up, the message loop and the orderly end.
#include <windows.h>
#include <ole2.h>

#include "app/close_handlers.h"
#include "app/fatal_error.h"
#include "app/globals.h"
#include "app/shutdown.h"
#include "install/install_worker.h"
#include "install/install_location.h"
#include "install/folder_chooser.h"
#include "install/progress_handler.h"
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

const form_handlers installer_handlers{
    on_window_created, on_close_mark_released, on_install_clicked, on_directory_pressed,
    on_close_button_clicked, progress_handler,
};

int start_routine(HINSTANCE instance) {
    OleInitialize(nullptr);
    enter_program_folder();
    start_runtime(instance);
    product_names.clear();
    register_release_routine(release_globals);
    if (!load_start_window(installer_window_definition(), installer_handlers))
        fatal_runtime_error(window_load_error, window_load_error_message);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A drive without a medium then fails quietly instead of raising a system error box.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const int code = start_routine(instance);
    end_program(code);
}
