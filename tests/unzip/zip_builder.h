// Test support: ZIP archives assembled byte by byte, with knobs to damage them, temporary
// directories, and a recorder of the extraction's events.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "unzip/extract_archive.h"

namespace ziptest {

// 2016-04-26 10:13:20 in MS-DOS form.
constexpr uint16_t default_dos_time = 0x51aa;
constexpr uint16_t default_dos_date = 0x489a;

struct entry_spec {
    std::string name;
    std::string data;                      // uncompressed contents
    uint16_t method = 8;                   // 8 deflate, 0 stored, anything else stored as is
    uint32_t external_attributes = 0x20;
    uint16_t flags = 0;
    uint16_t dos_time = default_dos_time;
    uint16_t dos_date = default_dos_date;
    std::string local_extra;               // e.g. ut_block(...)
    std::string central_extra;
    // Damage: values written instead of the true ones.
    std::optional<uint16_t> local_method;
    std::optional<std::string> local_name;
    std::optional<uint32_t> crc;           // both headers
    std::optional<uint32_t> local_crc;
    std::optional<uint32_t> compressed_size;    // both headers
    std::optional<uint32_t> uncompressed_size;  // both headers
    std::optional<std::string> raw_data;   // compressed bytes as stored, instead of compressing
    int damage_stream_at = -1;             // xor 0xFF into this byte of the compressed data
};

// Where the parts of a built archive lie, for damaging it further.
struct zip_layout {
    struct part {
        size_t offset;
        size_t size;
    };
    std::vector<part> local_headers;    // header, name and extra field
    std::vector<part> data;             // compressed data
    std::vector<part> central_headers;  // header, name and extra field
    part end_record{0, 0};
};

// Compressed bytes of `data` as raw deflate (window bits -15).
std::string deflate_raw(const std::string& data);
uint32_t crc_of(const std::string& data);

// An archive of the entries in order, then the central directory and the end record.
std::string build_zip(const std::vector<entry_spec>& entries, zip_layout* layout = nullptr);

// A local "UT" extra block: flags, then the times the flags announce (or `declared_size`
// bytes of data when given, to make it shorter or longer than the flags say).
std::string ut_block(uint8_t flags, const std::vector<int32_t>& times, int declared_size = -1);
// Any other extra block.
std::string extra_block(uint16_t tag, const std::string& data);

std::string le16(uint16_t v);
std::string le32(uint32_t v);
void put_le16(std::string& bytes, size_t at, uint16_t v);
void put_le32(std::string& bytes, size_t at, uint32_t v);

// Files and directories.
bool write_file(const std::string& path, const std::string& bytes);
std::optional<std::string> read_file(const std::string& path);
bool is_directory(const std::string& path);
bool exists(const std::string& path);
void remove_tree(const std::string& path);
// Every file and directory below `path`, as relative paths (directories end in "\\") with
// the file contents (empty for directories).
std::map<std::string, std::string> snapshot(const std::string& path);
uint64_t file_time_value(const FILETIME& time);
// Read-only, hidden and system: what must be gone from an extracted file. (Wine reports the
// archive attribute on every file, so "no attributes" is checked through these.)
constexpr DWORD protective_attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
DWORD attributes_of(const std::string& path);
// Whether this system refuses to replace a read-only file (Windows does; Wine run by root
// does not, as root may write any file).
bool read_only_files_resist_replacing();
// A file time for a UTC calendar time.
uint64_t utc(int year, int month, int day, int hour, int minute, int second);

// A fresh directory under the temporary folder, removed with everything in it at the end.
class temp_dir {
public:
    temp_dir();
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;
    ~temp_dir();
    const std::string& path() const { return path_; }  // ends in "\\"
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Records what the extraction tells its control.
class recorder : public extraction_events {
public:
    bool window_exists() const override { return window; }
    bool raise_progress(int percent) override;
    void report_outcome(bool failed) override;

    bool window = true;
    int stop_at_event = -1;        // return false from this event (0-based)
    int close_window_at_event = -1;  // the window goes away during this event
    std::vector<int> events;
    std::vector<bool> outcomes;
    size_t outcome_before_event = SIZE_MAX;  // events raised when the outcome came
    // Called inside each event with its percentage.
    void (*during_event)(recorder&, int percent) = nullptr;
    void* context = nullptr;
};

}  // namespace ziptest
