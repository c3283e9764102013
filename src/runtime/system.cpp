#include "runtime/system.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "runtime/handles.h"

namespace {

// The shell link class; the interfaces' ids come with their declarations (__uuidof).
constexpr CLSID shell_link_class = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

const int message_box_answers[] = {0, IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};

bool write_file(const text& file_name, const unsigned char* data, size_t size, DWORD disposition) {
    if (file_name.empty()) return false;
    scoped_file file(CreateFileA(file_name.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    if (!file) return false;
    while (size > 0) {
        const DWORD piece = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file.get(), data, piece, &written, nullptr) || written != piece) return false;
        data += piece;
        size -= piece;
    }
    return true;
}

text with_backslash(text folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool has_extension(const text& path) {
    size_t name_start = 0;
    for (size_t pos = 0; pos < path.size(); pos += char_length_at(path, pos))
        if (path[pos] == '\\' || path[pos] == '/') name_start = pos + 1;
    return path.find('.', name_start) != text::npos;
}

std::vector<wchar_t> to_wide(const text& value) {
    const int length = MultiByteToWideChar(CP_ACP, 0, value.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, value.c_str(), -1, wide.data(), length);
    return wide;
}

DWORD WINAPI thread_entry(LPVOID routine) {
    reinterpret_cast<void (*)()>(routine)();
    return 0;
}

}  // namespace

int message_box(const text& message, UINT flags, const char* title) {
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    const int answer = MessageBoxA(nullptr, message.c_str(), title ? title : "信息：", flags);
    for (int i = 1; i < 8; ++i)
        if (message_box_answers[i] == answer) return i - 1;
    return 0;
}

bool write_to_file(const text& file_name, const unsigned char* data, size_t size) {
    return write_file(file_name, data, size, CREATE_ALWAYS);
}

bool write_new_file(const text& file_name, const unsigned char* data, size_t size) {
    return write_file(file_name, data, size, CREATE_NEW);
}

bool delete_file(const text& file_name) { return DeleteFileA(file_name.c_str()) != FALSE; }

text special_folder(int folder) {
    char path[MAX_PATH + 1] = {};
    if (folder == temporary_folder) {
        const DWORD length = GetTempPathA(MAX_PATH, path);
        return length > 0 && length < MAX_PATH ? with_backslash(path) : text();
    }
    if (folder == desktop_folder)
        return SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE) ? with_backslash(path) : text();
    return text();
}

bool create_shortcut(const text& link_path, const text& target_path) {
    com_ptr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(shell_link_class, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA), link.put_void())))
        return false;
    link->SetPath(target_path.c_str());  // a failure here shows as a link without target: Save decides
    link->SetShowCmd(SW_SHOW);
    com_ptr<IPersistFile> file;
    if (FAILED(link->QueryInterface(__uuidof(IPersistFile), file.put_void()))) return false;
    const text file_name = has_extension(link_path) ? link_path : link_path + ".lnk";
    return SUCCEEDED(file->Save(to_wide(file_name).data(), TRUE));
}

bool run_program(const text& command_line) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::vector<char> command(command_line.begin(), command_line.end());
    command.push_back('\0');
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    scoped_kernel_handle process_handle(process.hProcess), thread_handle(process.hThread);
    WaitForInputIdle(process.hProcess, 1000);
    return true;
}

bool start_thread(void (*routine)()) {
    HANDLE thread = CreateThread(nullptr, 0, thread_entry, reinterpret_cast<LPVOID>(routine), 0, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}
