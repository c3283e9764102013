#include "install/folder_chooser.h"

#include <shlobj.h>

#include "app/globals.h"
#include "install/install_worker.h"
#include "runtime/handles.h"
#include "ui/form.h"
#include "ui/properties.h"

namespace {

constexpr UINT browse_flags = 0x77;  // file-system folders, edit box, validation, new style
const char default_title[] = "请选择文件夹路径";

}  // namespace

text folder_choice(bool got_item_list, bool path_found, const text& path, const text& display_name) {
    const text name = trim_text(display_name);
    if (find_text(name, "?") != 0) return text();
    if (got_item_list) {
        if (!path_found) return text();
        return path.size() == 3 ? left_text(path, 2) : path;  // a drive root loses its backslash
    }
    const text network_name = "\\\\" + name;
    return network_name == "\\\\" ? text() : network_name;
}

text browse_for_folder(HWND owner, const text& title, bool title_given) {
    PIDLIST_ABSOLUTE desktop = nullptr;
    SHGetFolderLocation(owner, CSIDL_DESKTOP, nullptr, 0, &desktop);  // on failure the root stays null
    scoped_item_id_list root(desktop);
    text display_name(260, ' ');
    const text shown_title = title_given ? title : text(default_title);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = desktop;
    info.pszDisplayName = display_name.data();
    info.lpszTitle = shown_title.c_str();
    info.ulFlags = browse_flags;
    scoped_item_id_list chosen(SHBrowseForFolderA(&info));
    display_name.resize(std::char_traits<char>::length(display_name.c_str()));
    text path(260, ' ');
    const bool path_found = chosen && SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path.data());
    path.resize(std::char_traits<char>::length(path.c_str()));
    return folder_choice(static_cast<bool>(chosen), path_found, path, display_name);
}

void on_directory_pressed(int, int, int) {
    // One installation at a time: a folder chosen while a worker runs would make the shortcut
    // point where nothing was installed, so the press is ignored until the worker has ended.
    if (install_running()) return;
    const text folder = browse_for_folder(start_window()->window(), "请选择安装位置", true);
    if (folder.empty()) return;
    set_caption("标签_安装目录", folder + "\\" + product_names.item(product_index));
}
