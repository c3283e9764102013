#include "app/shutdown.h"

#include <ole2.h>

#include <vector>

namespace {

constexpr UINT end_program_message = WM_APP + 1;
const char message_window_class[] = "LumvexMessageWindow";

DWORD main_thread_id = 0;
HWND message_window = nullptr;
void (*release_routine)() = nullptr;
bool shutdown_begun = false;
std::vector<HWND> loaded_windows;

LRESULT CALLBACK message_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == end_program_message) end_program(static_cast<int>(wparam));
    return DefWindowProcA(window, message, wparam, lparam);
}

[[noreturn]] void shut_down_on_main_thread(int exit_code) {
    // A window destroyed below may end the program again: the first request wins.
    if (shutdown_begun) ExitProcess(static_cast<UINT>(exit_code));
    shutdown_begun = true;
    if (auto routine = release_routine) {
        release_routine = nullptr;
        routine();
    }
    for (HWND window : loaded_windows) DestroyWindow(window);
    loaded_windows.clear();
    if (message_window) DestroyWindow(message_window);
    message_window = nullptr;
    OleUninitialize();
    ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace

bool start_runtime(HINSTANCE instance) {
    main_thread_id = GetCurrentThreadId();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = message_window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = message_window_class;
    RegisterClassA(&window_class);
    message_window = CreateWindowExA(0, message_window_class, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, instance, nullptr);
    return message_window != nullptr;
}

void register_release_routine(void (*routine)()) { release_routine = routine; }

void unregister_release_routine() { release_routine = nullptr; }

void register_loaded_window(HWND window) { loaded_windows.push_back(window); }

void end_program(int exit_code) {
    if (GetCurrentThreadId() == main_thread_id) shut_down_on_main_thread(exit_code);
    // A window that has been destroyed answers SendMessage with failure at once.
    if (HWND window = message_window)
        SendMessageA(window, end_program_message, static_cast<WPARAM>(exit_code), 0);
    ExitProcess(static_cast<UINT>(exit_code));
}
