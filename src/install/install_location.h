// The window's created handler: final size and top, the product globals from the brand
// table, and the default install directory in the install-directory label.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/text.h"

void on_window_created();

// Free space of `drive` in whole megabytes (1048576 bytes). The out-values keep what the
// caller passed when the query fails. Returns the query's result.
bool disk_space_mb(const text& drive, int64_t& used_mb, int64_t& free_mb, int64_t& total_mb);

// The megabyte arithmetic of disk_space_mb over the three byte counts of the query.
void bytes_to_mb(uint64_t available_to_caller, uint64_t total, uint64_t total_free, int64_t& used_mb,
                 int64_t& free_mb, int64_t& total_mb);

// "D:\\" when drive D: has at least 1000 free megabytes, else "C:\\".
text install_root(int64_t free_mb_of_d);

// Root text, company folder and product name joined.
text default_install_directory(const text& root, const text& company_folder, const text& product);
