// The install button's click handler and the install worker: the notice, then on a thread
// of its own the staging archive "tool.zip" and its extraction into the install directory.
#pragma once
#include "runtime/text.h"

void on_install_clicked();
void install_worker();

// True from the click that starts a worker until that worker has ended.
bool install_running();

// The staging archive in the temporary folder (`temp_folder` ends in a backslash, or is "").
text staging_path_in_temp(const text& temp_folder);
// The fallback: "tool.zip" at the root of the install drive (the caption's first byte).
text staging_path_on_install_drive(const text& install_directory);

// Deletes the staging archive that the running worker wrote, and no other.
void delete_staging_archive();

// Ends an installation whose extraction failed: bar hidden, status, staging archive that
// this run wrote deleted, failure box; the window stays open.
void report_failed_extraction();
