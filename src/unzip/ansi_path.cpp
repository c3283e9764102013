#include "unzip/ansi_path.h"

#include <windows.h>

size_t path_char_size(const text& path, size_t pos) {
    return IsDBCSLeadByte(static_cast<BYTE>(path[pos])) && pos + 1 < path.size() ? 2 : 1;
}

bool last_char_is_backslash(const text& path) {
    size_t last = text::npos;
    for (size_t i = 0; i < path.size(); i += path_char_size(path, i)) last = i;
    return last != text::npos && path[last] == '\\' && path_char_size(path, last) == 1;
}

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// A component that Windows would resolve to the parent directory.
bool is_parent_reference(const text& component) {
    int dots = 0;
    for (char c : component) {
        if (c == '.') {
            ++dots;
        } else if (c != ' ') {
            return false;
        }
    }
    return dots >= 2;
}

}  // namespace

bool name_leaves_directory(const text& name) {
    if (!name.empty() && is_separator(name[0])) return true;
    text component;
    for (size_t i = 0; i < name.size();) {
        const size_t size = path_char_size(name, i);
        if (size == 1 && name[i] == ':') return true;
        if (size == 1 && is_separator(name[i])) {
            if (is_parent_reference(component)) return true;
            component.clear();
        } else {
            component.append(name, i, size);
        }
        i += size;
    }
    return is_parent_reference(component);
}
