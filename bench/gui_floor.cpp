// The GUI start floor: loads what the installer's window needs (user32, comctl32, ole32,
// shell32), shows a window, and ends when it is closed (or at once with "exit").
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

namespace {

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // The result does not matter: the point is that ole32 is loaded and started.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char desktop[MAX_PATH];
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);  // shell32 at work

    WNDCLASSA window_class{};
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = "LumvexGuiFloor";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, "LumvexGuiFloor", "floor", WS_POPUP | WS_SYSMENU, 100, 100, 537, 390,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 20, 300, 497, 20, window, nullptr, instance,
                    nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (std::strcmp(command_line, "exit") == 0) PostMessageA(window, WM_CLOSE, 0, 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
