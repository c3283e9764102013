// The test driver: starts a program under test, finds its windows, reads what the user sees
// (geometry, texts, visibility, progress) and presses message-box buttons. Every wait is
// bounded, and a started program that is still running when its owner goes is killed.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace driver {

// Windows path of a program built beside the tests (CMake passes their Unix paths).
std::string windows_path(const std::string& unix_path);

class process {
public:
    explicit process(const std::string& command_line, const char* directory = nullptr);
    ~process();
    process(const process&) = delete;
    process& operator=(const process&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    // The exit code, or nullopt when the process has not ended within `timeout_ms`.
    std::optional<DWORD> wait_exit(DWORD timeout_ms);
    bool running() const;

private:
    PROCESS_INFORMATION info_{};
};

// A visible top-level window of process `pid` with this class ("" for any), within the wait.
HWND wait_for_window(DWORD pid, const char* class_name, DWORD timeout_ms);

struct window_info {
    HWND window;
    std::string class_name;
    std::string text;
    RECT screen;  // in screen coordinates
    bool visible;
};

window_info describe(HWND window);
// Direct children in stacking order, topmost first.
std::vector<window_info> children(HWND parent);
// The first descendant (depth first) with this class and caption; null if none.
HWND find_descendant(HWND root, const char* class_name, const std::string& text);
// All descendants of this class, depth first.
std::vector<HWND> find_descendants(HWND root, const char* class_name);

std::string window_text(HWND window);

struct message_box {
    HWND window;
    std::string title;
    std::string text;
    DWORD owner_thread;
};
// A message box ("#32770") of process `pid`, within the wait.
std::optional<message_box> wait_for_message_box(DWORD pid, DWORD timeout_ms);
// Presses the box's button with this id (IDOK, IDYES, IDNO...) and waits for the box to go.
bool press(const message_box& box, int button_id);

// The left button clicked at (x, y) of the control's client area with the real mouse, as a
// user would: the system delivers it to whatever window is there and enabled.
void user_click(HWND control, int x, int y);

// Left button pressed and released at (x, y) of the control's client area, as posted input.
void click(HWND control, int x, int y);
void mouse_down(HWND control, int x, int y);
void mouse_up(HWND control, int x, int y);

// Waits until `condition` holds or the time runs out; the last value of the condition.
template <typename Condition>
bool wait_until(Condition condition, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeout_ms) return condition();
        Sleep(20);
    }
    return true;
}

// Deletes a folder and everything in it, read-only files included.
void remove_tree(const std::string& path);

// Runs a Unix shell command on the host (Wine starts Unix programs); its exit code.
int shell(const std::string& command);
// The Unix path of the Wine prefix.
std::string wine_prefix();

// Saves a screenshot of the virtual display under the tests' artefact folder.
void screenshot(const std::string& name);

}  // namespace driver
