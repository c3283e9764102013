// The benchmarks' driver: starts a program under Wine, follows it through its windows with
// tight polling, and prints the times it measured (ms, from just before CreateProcess).
//   install_bench window EXE CLASS   start to a visible window of CLASS that answers messages
//   install_bench install EXE        the installer's whole road to its completion question
//   install_bench run DIR CMDLINE    start to exit of a command (the NSIS peer), DIR removed first
// Every wait is bounded; a program still running when the driver ends is killed.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "driver.h"

namespace {

constexpr double wait_limit_ms = 120000;

double now_ms() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string window_text(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string class_of(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct search {
    DWORD pid;
    const char* class_name;
    const char* title;  // null: any
    HWND found;
};

BOOL CALLBACK match(HWND window, LPARAM parameter) {
    auto* s = reinterpret_cast<search*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->pid || !IsWindowVisible(window) || class_of(window) != s->class_name) return TRUE;
    if (s->title && window_text(window) != s->title) return TRUE;
    s->found = window;
    return FALSE;
}

// Polls every millisecond or two; null when the limit passes or the process ends first.
HWND wait_window(HANDLE process, DWORD pid, const char* class_name, const char* title = nullptr) {
    const double start = now_ms();
    while (now_ms() - start < wait_limit_ms) {
        search s{pid, class_name, title, nullptr};
        EnumWindows(match, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// A window counts as shown when it is visible and its thread answers: it has finished
// creating and painting and is back in its message loop.
bool answers(HWND window) {
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored) != 0;
}

// A message box is in place once its text is (the static control with id 0xFFFF).
bool wait_box_text(HWND box) {
    const double start = now_ms();
    while (now_ms() - start < 10000) {
        HWND text = GetDlgItem(box, 0xFFFF);
        if (text && GetWindowTextLengthA(text) > 0) return true;
        Sleep(1);
    }
    return false;
}

void press(HWND box, int button_id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button_id)));
}

// The installer's traces and the peer's: install folders, the desktop link, the staging archive.
void clean(const std::string& extra_directory) {
    driver::remove_tree("C:\\Lumvex软件");
    if (!extra_directory.empty()) driver::remove_tree(extra_directory);
    char folder[MAX_PATH];
    if (SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE))
        DeleteFileA((std::string(folder) + "\\Lumvex工具14.lnk").c_str());
    GetTempPathA(MAX_PATH, folder);
    DeleteFileA((std::string(folder) + "tool.zip").c_str());
}

class child {
public:
    explicit child(std::string command_line) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        start_ms = now_ms();
        if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_)) {
            error = GetLastError();
            info_ = {};
        }
    }
    ~child() {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    child(const child&) = delete;
    child& operator=(const child&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    HANDLE handle() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    double start_ms = 0;
    DWORD error = 0;

private:
    PROCESS_INFORMATION info_{};
};

size_t peak_working_set(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    return GetProcessMemoryInfo(process, &memory, sizeof(memory)) ? memory.PeakWorkingSetSize : 0;
}

int fail(const char* what, DWORD error = 0) {
    std::printf("error=%s code=%lu\n", what, static_cast<unsigned long>(error));
    return 1;
}

int measure_window(const char* exe, const char* class_name) {
    child program(std::string("\"") + exe + "\"");
    if (!program.started()) return fail("start", program.error);
    HWND window = wait_window(program.handle(), program.id(), class_name);
    if (!window || !answers(window)) return fail("no window");
    const double shown = now_ms() - program.start_ms;
    std::printf("window_ms=%.1f peak_ws=%zu\n", shown, peak_working_set(program.handle()));
    return 0;
}

// From the start to the completion question, less the times the program waits for its user:
// from the window shown to the click on the install button, and while the notice is open.
int measure_install(const char* exe) {
    clean("");
    child installer(std::string("\"") + exe + "\"");
    if (!installer.started()) return fail("start", installer.error);
    HWND window = wait_window(installer.handle(), installer.id(), "LumvexForm");
    if (!window || !answers(window)) return fail("no window");
    const double shown = now_ms();

    search button{installer.id(), "LumvexPictureButton", nullptr, nullptr};
    EnumChildWindows(window, match, reinterpret_cast<LPARAM>(&button));
    if (!button.found) return fail("no install button");
    const double clicked = now_ms();
    PostMessageA(button.found, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 40));
    PostMessageA(button.found, WM_LBUTTONUP, 0, MAKELPARAM(100, 40));
    HWND notice = wait_window(installer.handle(), installer.id(), "#32770", "信息：");
    if (!notice || !wait_box_text(notice)) return fail("no notice");
    const double notice_shown = now_ms();
    press(notice, IDOK);
    const double notice_pressed = now_ms();
    HWND question = wait_window(installer.handle(), installer.id(), "#32770", "温馨提示：");
    if (!question || !wait_box_text(question)) return fail("no completion question");
    const double asked = now_ms();
    const size_t peak = peak_working_set(installer.handle());

    press(question, IDNO);
    if (WaitForSingleObject(installer.handle(), 20000) != WAIT_OBJECT_0) return fail("no exit");
    const double to_window = shown - installer.start_ms;
    const double to_notice = notice_shown - clicked;
    const double to_question = asked - notice_pressed;
    std::printf("window_ms=%.1f notice_ms=%.1f worker_ms=%.1f install_ms=%.1f peak_ws=%zu\n", to_window, to_notice,
                to_question, to_window + to_notice + to_question, peak);
    clean("");
    return 0;
}

int measure_run(const char* directory, const char* command_line) {
    clean(directory);
    child program(command_line);
    if (!program.started()) return fail("start", program.error);
    if (WaitForSingleObject(program.handle(), static_cast<DWORD>(wait_limit_ms)) != WAIT_OBJECT_0)
        return fail("no exit");
    const double elapsed = now_ms() - program.start_ms;
    DWORD code = 1;
    GetExitCodeProcess(program.handle(), &code);
    std::printf("run_ms=%.1f exit=%lu\n", elapsed, static_cast<unsigned long>(code));
    clean(directory);
    return code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    int result = 2;
    if (mode == "window" && argc == 4)
        result = measure_window(argv[2], argv[3]);
    else if (mode == "install" && argc == 3)
        result = measure_install(argv[2]);
    else if (mode == "run" && argc == 4)
        result = measure_run(argv[2], argv[3]);
    else
        std::fprintf(stderr, "usage: install_bench window EXE CLASS | install EXE | run DIR CMDLINE\n");
    std::fflush(stdout);
    return result;
}
