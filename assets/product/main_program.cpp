// The demo product's main program: a window titled with the program's own name (its file
// name without ".exe"), so that a test can see it start, showing the working directory it
// was started in. Closing the window ends it.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void own_name(char* name, DWORD size) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* base = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') base = p + 1;
    lstrcpynA(name, base, static_cast<int>(size));
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    char title[MAX_PATH];
    own_name(title, sizeof(title));
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = "LumvexDemoProduct";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, window_class.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    CreateWindowExA(0, "STATIC", directory, WS_CHILD | WS_VISIBLE, 10, 10, 360, 20, window, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
