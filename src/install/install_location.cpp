#include "install/install_location.h"

#include "app/globals.h"
#include "install/brand_table.h"
#include "install/build_constants.h"
#include "ui/properties.h"

namespace {

constexpr double bytes_per_mb = 1048576.0;

// Signed 64-bit in, double arithmetic, truncation toward zero back to 64 bits.
int64_t to_mb(int64_t bytes) { return static_cast<int64_t>(static_cast<double>(bytes) / bytes_per_mb); }

}  // namespace

void bytes_to_mb(uint64_t available_to_caller, uint64_t total, uint64_t total_free, int64_t& used_mb,
                 int64_t& free_mb, int64_t& total_mb) {
    used_mb = static_cast<int64_t>(static_cast<double>(static_cast<int64_t>(total)) -
                                   static_cast<double>(static_cast<int64_t>(available_to_caller)));
    used_mb = to_mb(used_mb);
    free_mb = to_mb(static_cast<int64_t>(total_free));
    total_mb = to_mb(static_cast<int64_t>(total));
}

bool disk_space_mb(const text& drive, int64_t& used_mb, int64_t& free_mb, int64_t& total_mb) {
    ULARGE_INTEGER available{}, total{}, total_free{};
    const BOOL ok = GetDiskFreeSpaceExA(drive.c_str(), &available, &total, &total_free);
    if (ok) bytes_to_mb(available.QuadPart, total.QuadPart, total_free.QuadPart, used_mb, free_mb, total_mb);
    return ok != FALSE;
}

text install_root(int64_t free_mb_of_d) { return free_mb_of_d >= 1000 ? "D:\\" : "C:\\"; }

text default_install_directory(const text& root, const text& company_folder, const text& product) {
    return root + company_folder + product;
}

void on_window_created() {
    set_window_width(250);
    set_window_height(400);
    set_window_top(300);
    int64_t used_mb = 0, free_mb = 0, total_mb = 0;
    disk_space_mb("d:", used_mb, free_mb, total_mb);
    const text root = install_root(free_mb);
    product_index = configured_product_index;
    text company_folder;
    if (const brand_row* row = find_brand_row(brand_selector)) {
        company_folder = row->company_folder;
        product_list_text = row->product_list;
    }
    product_names = split_text(product_list_text, "|");
    product_name = product_names.item(product_index);
    set_caption("标签_安装目录", default_install_directory(root, company_folder, product_name));
}
