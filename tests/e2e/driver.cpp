#include "driver.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace driver {

std::string windows_path(const std::string& unix_path) {
    std::string path = "Z:" + unix_path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

process::process(const std::string& command_line, const char* directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> command(command_line.begin(), command_line.end());
    command.push_back('\0');
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info_))
        info_ = {};
}

process::~process() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

bool process::running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> process::wait_exit(DWORD timeout_ms) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {

struct window_search {
    DWORD pid;
    std::string class_name;
    HWND found;
};

std::string class_of(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

BOOL CALLBACK match_top_window(HWND window, LPARAM lparam) {
    auto* search = reinterpret_cast<window_search*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    if (!search->class_name.empty() && class_of(window) != search->class_name) return TRUE;
    search->found = window;
    return FALSE;
}

HWND find_top_window(DWORD pid, const char* class_name) {
    window_search search{pid, class_name ? class_name : "", nullptr};
    EnumWindows(match_top_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void collect(HWND root, const char* class_name, std::vector<HWND>& out) {
    for (HWND child = GetWindow(root, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!class_name || class_of(child) == class_name) out.push_back(child);
        collect(child, class_name, out);
    }
}

LPARAM point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

HWND wait_for_window(DWORD pid, const char* class_name, DWORD timeout_ms) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_top_window(pid, class_name)) != nullptr; }, timeout_ms);
    return found;
}

std::string window_text(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

window_info describe(HWND window) {
    window_info info{window, class_of(window), window_text(window), {}, IsWindowVisible(window) != FALSE};
    GetWindowRect(window, &info.screen);
    return info;
}

std::vector<window_info> children(HWND parent) {
    std::vector<window_info> result;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        result.push_back(describe(child));
    return result;
}

std::vector<HWND> find_descendants(HWND root, const char* class_name) {
    std::vector<HWND> found;
    collect(root, class_name, found);
    return found;
}

HWND find_descendant(HWND root, const char* class_name, const std::string& text) {
    for (HWND window : find_descendants(root, class_name))
        if (window_text(window) == text) return window;
    return nullptr;
}

std::optional<message_box> wait_for_message_box(DWORD pid, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    HWND box = wait_for_window(pid, "#32770", timeout_ms);
    if (!box) return std::nullopt;
    // The box is visible a moment before its text is in place: the message text is the
    // static control with id 0xFFFF.
    HWND text = nullptr;
    wait_until([&] { return (text = GetDlgItem(box, 0xFFFF)) && !window_text(text).empty(); },
               timeout_ms - std::min(timeout_ms, GetTickCount() - start) + 1000);
    message_box result{box, window_text(box), text ? window_text(text) : "", GetWindowThreadProcessId(box, nullptr)};
    return result;
}

bool press(const message_box& box, int button_id) {
    HWND button = GetDlgItem(box.window, button_id);
    if (!button) return false;
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    // Gone before the next search, so that a closing box is not taken for the next one.
    return wait_until([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 10000);
}

void mouse_down(HWND control, int x, int y) { PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point(x, y)); }

void mouse_up(HWND control, int x, int y) { PostMessageA(control, WM_LBUTTONUP, 0, point(x, y)); }

void click(HWND control, int x, int y) {
    mouse_down(control, x, y);
    mouse_up(control, x, y);
}

void user_click(HWND control, int x, int y) {
    POINT at{x, y};
    ClientToScreen(control, &at);
    SetCursorPos(at.x, at.y);
    Sleep(50);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(50);
}

void remove_tree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((path + "\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryA(path.c_str());
}

int shell(const std::string& command) {
    // Wine runs a Unix program in place of the new process and reports no process back: the
    // command leaves its exit code in a marker file, which is waited for.
    static int counter = 0;
    const std::string marker = "/tmp/lumvex-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter);
    const std::string marker_path = windows_path(marker);
    DeleteFileA(marker_path.c_str());
    // Windows command-line quoting: a quote inside the argument is written \". Commands
    // here put no backslash in front of a quote.
    std::string escaped;
    for (char c : "(" + command + "); echo $? > " + marker + ".part && mv " + marker + ".part " + marker) {
        if (c == '"') escaped += '\\';
        escaped += c;
    }
    process sh("Z:\\bin\\sh -c \"" + escaped + "\"");
    if (!wait_until([&] { return GetFileAttributesA(marker_path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
        return -1;
    char code[16] = {};
    HANDLE file = CreateFileA(marker_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    ReadFile(file, code, sizeof(code) - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileA(marker_path.c_str());
    return std::atoi(code);
}

std::string wine_prefix() {
    char value[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", value, MAX_PATH);
    return value;
}

void screenshot(const std::string& name) {
    // A short pause lets the window manager and Wine finish drawing what just appeared.
    shell("[ -n \"$LUMVEX_ARTEFACTS\" ] || exit 0; sleep 0.3; mkdir -p \"$LUMVEX_ARTEFACTS\" && import -window root \"$LUMVEX_ARTEFACTS/" + name + ".png\"");
}

}  // namespace driver
