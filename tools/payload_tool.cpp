// The payload tool: writes the demo payload archive, and checks a publisher's archive.
//   payload_tool make OUT.zip BRAND PRODUCT MAIN.exe SECOND.exe
//   payload_tool check ARCHIVE.zip BRAND PRODUCT
// The archive holds the second program as "LXupdate.exe", then the main program as the
// product's name followed by ".exe" (GBK bytes, no UTF-8 flag); deflate at level 6 (no
// level bits in the flags); fixed MS-DOS times; the 36-byte NTFS time block in the central
// headers only; made by 0x003f with the MS-DOS archive attribute. Same input, same bytes.
#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "install/brand_table.h"
#include "runtime/text_array.h"

namespace {

struct entry_time {
    uint32_t dos;          // date in the upper 16 bits, time in the lower
    uint64_t ntfs_utc;     // the same moment as a Windows file time
};

// Days from 1601-01-01 to the given civil date (proleptic Gregorian).
int64_t days_since_1601(int year, int month, int day) {
    auto days_before_year = [](int64_t y) { return 365 * y + y / 4 - y / 100 + y / 400; };
    static const int month_days[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days_before_year(year - 1) - days_before_year(1600) + month_days[month - 1] + (leap && month > 2) + day - 1;
}

// MS-DOS times are local wall-clock times; the product's home is China Standard Time (UTC+8).
entry_time make_time(int year, int month, int day, int hour, int minute, int second) {
    const uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
    const uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
    const int64_t seconds = days_since_1601(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - 8 * 3600;
    return {(date << 16) | time, static_cast<uint64_t>(seconds) * 10000000ull};
}

std::vector<unsigned char> ntfs_extra(uint64_t time) {
    std::vector<unsigned char> extra;
    auto put = [&extra](uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) extra.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    put(0x000a, 2);
    put(32, 2);
    put(0, 4);
    put(0x0001, 2);
    put(24, 2);
    put(time, 8);  // last modification
    put(time, 8);  // last access
    put(time, 8);  // creation
    return extra;
}

bool read_file(const char* path, std::vector<char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool add_entry(zipFile zip, const std::string& name, const std::vector<char>& data, const entry_time& time) {
    zip_fileinfo info{};
    info.dosDate = time.dos;
    info.external_fa = 0x20;
    const std::vector<unsigned char> extra = ntfs_extra(time.ntfs_utc);
    if (zipOpenNewFileInZip4(zip, name.c_str(), &info, nullptr, 0, extra.data(), static_cast<uInt>(extra.size()),
                             nullptr, Z_DEFLATED, 6, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                             0x003f, 0) != ZIP_OK)
        return false;
    const bool written = zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && written;
}

// The product name that the brand row and index select, or "" with a message.
std::string product_name_for(int brand, int index) {
    const brand_row* row = find_brand_row(brand);
    if (!row) {
        std::fprintf(stderr, "payload_tool: no brand row has selector %d\n", brand);
        return "";
    }
    const text_array names = split_text(row->product_list, "|");
    if (names.index_error(index) == 0) return names.items()[index - 1];
    std::fprintf(stderr, "payload_tool: brand row %d has no product %d\n", brand, index);
    return "";
}

int make(const char* out, int brand, int index, const char* main_program, const char* second_program) {
    const std::string product = product_name_for(brand, index);
    std::vector<char> main_bytes, second_bytes;
    if (product.empty()) return 1;
    if (!read_file(main_program, main_bytes) || !read_file(second_program, second_bytes)) {
        std::fprintf(stderr, "payload_tool: cannot read the product programs\n");
        return 1;
    }
    zipFile zip = zipOpen(out, APPEND_STATUS_CREATE);
    if (!zip) return std::fprintf(stderr, "payload_tool: cannot create %s\n", out), 1;
    const bool ok = add_entry(zip, "LXupdate.exe", second_bytes, make_time(2016, 4, 26, 10, 13, 20)) &&
                    add_entry(zip, product + ".exe", main_bytes, make_time(2016, 5, 19, 22, 16, 24));
    if (zipClose(zip, nullptr) != ZIP_OK || !ok) return std::fprintf(stderr, "payload_tool: writing %s failed\n", out), 1;
    return 0;
}

int check(const char* archive, int brand, int index) {
    const std::string product = product_name_for(brand, index);
    if (product.empty()) return 1;
    unzFile zip = unzOpen(archive);
    if (!zip) {
        std::fprintf(stderr, "payload_tool: %s is not a ZIP archive\n", archive);
        return 1;
    }
    bool found = false;
    for (int at = unzGoToFirstFile(zip); at == UNZ_OK && !found; at = unzGoToNextFile(zip)) {
        char name[260];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) == UNZ_OK)
            found = product + ".exe" == name;
    }
    unzClose(zip);
    if (!found) {
        std::fprintf(stderr, "payload_tool: %s has no entry named after the product (%s.exe, GBK bytes)\n", archive,
                     product.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 7) return make(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5], argv[6]);
    if (command == "check" && argc == 5) return check(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    std::fprintf(stderr, "usage: payload_tool make OUT.zip BRAND PRODUCT MAIN.exe SECOND.exe\n"
                         "       payload_tool check ARCHIVE.zip BRAND PRODUCT\n");
    return 2;
}
