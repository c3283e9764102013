// The folder chooser behind the install-directory label: the system's folder dialog, whose
// choice followed by the product name becomes the install directory.
#pragma once
#include <windows.h>

#include "runtime/text.h"

void on_directory_pressed(int x, int y, int keys);

// Shows the folder dialog; the chosen folder, or "" when nothing usable was chosen.
text browse_for_folder(HWND owner, const text& title, bool title_given);

// What the dialog's outputs give: `got_item_list` whether it returned an item list,
// `path_found` and `path` the path lookup of that list, `display_name` its name buffer.
text folder_choice(bool got_item_list, bool path_found, const text& path, const text& display_name);
