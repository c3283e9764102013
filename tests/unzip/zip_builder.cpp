#include "zip_builder.h"

#include <zlib.h>

#include <atomic>
#include <cstring>

namespace ziptest {

std::string le16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string le32(uint32_t v) {
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}
void put_le16(std::string& bytes, size_t at, uint16_t v) { bytes.replace(at, 2, le16(v)); }
void put_le32(std::string& bytes, size_t at, uint32_t v) { bytes.replace(at, 4, le32(v)); }

std::string deflate_raw(const std::string& data) {
    z_stream stream = {};
    if (deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

uint32_t crc_of(const std::string& data) {
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string build_zip(const std::vector<entry_spec>& entries, zip_layout* layout) {
    std::string zip, central;
    zip_layout where;
    std::vector<uint32_t> offsets;
    for (const entry_spec& e : entries) {
        std::string stored = e.raw_data ? *e.raw_data : e.method == 8 ? deflate_raw(e.data) : e.data;
        if (e.damage_stream_at >= 0 && static_cast<size_t>(e.damage_stream_at) < stored.size())
            stored[e.damage_stream_at] = static_cast<char>(stored[e.damage_stream_at] ^ 0xFF);
        const uint32_t crc = e.crc ? *e.crc : crc_of(e.data);
        const uint32_t csize = e.compressed_size ? *e.compressed_size : static_cast<uint32_t>(stored.size());
        const uint32_t usize = e.uncompressed_size ? *e.uncompressed_size : static_cast<uint32_t>(e.data.size());
        const std::string& local_name = e.local_name ? *e.local_name : e.name;

        offsets.push_back(static_cast<uint32_t>(zip.size()));
        std::string local = le32(0x04034b50) + le16(20) + le16(e.flags) + le16(e.local_method.value_or(e.method)) +
                            le16(e.dos_time) + le16(e.dos_date) + le32(e.local_crc.value_or(crc)) + le32(csize) +
                            le32(usize) + le16(static_cast<uint16_t>(local_name.size())) +
                            le16(static_cast<uint16_t>(e.local_extra.size())) + local_name + e.local_extra;
        where.local_headers.push_back({zip.size(), local.size()});
        zip += local;
        where.data.push_back({zip.size(), stored.size()});
        zip += stored;

        std::string header = le32(0x02014b50) + le16(0x003f) + le16(20) + le16(e.flags) + le16(e.method) +
                             le16(e.dos_time) + le16(e.dos_date) + le32(crc) + le32(csize) + le32(usize) +
                             le16(static_cast<uint16_t>(e.name.size())) +
                             le16(static_cast<uint16_t>(e.central_extra.size())) + le16(0) + le16(0) + le16(0) +
                             le32(e.external_attributes) + le32(offsets.back()) + e.name + e.central_extra;
        central += header;
    }
    const size_t central_offset = zip.size();
    size_t at = central_offset;
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t size = 46 + entries[i].name.size() + entries[i].central_extra.size();
        where.central_headers.push_back({at, size});
        at += size;
    }
    zip += central;
    where.end_record = {zip.size(), 22};
    const uint16_t count = static_cast<uint16_t>(entries.size());
    zip += le32(0x06054b50) + le16(0) + le16(0) + le16(count) + le16(count) +
           le32(static_cast<uint32_t>(central.size())) + le32(static_cast<uint32_t>(central_offset)) + le16(0);
    if (layout) *layout = where;
    return zip;
}

std::string ut_block(uint8_t flags, const std::vector<int32_t>& times, int declared_size) {
    std::string data(1, static_cast<char>(flags));
    for (int32_t t : times) data += le32(static_cast<uint32_t>(t));
    const uint16_t size = declared_size >= 0 ? static_cast<uint16_t>(declared_size) : static_cast<uint16_t>(data.size());
    if (declared_size >= 0) data.resize(std::min<size_t>(data.size(), size));
    return "UT" + le16(size) + data;
}

std::string extra_block(uint16_t tag, const std::string& data) {
    return le16(tag) + le16(static_cast<uint16_t>(data.size())) + data;
}

bool write_file(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::optional<std::string> read_file(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool is_directory(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

template <typename F>
void for_each_child(const std::string& directory, F f) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
        f(found);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void snapshot_into(const std::string& base, const std::string& relative, std::map<std::string, std::string>& out) {
    for_each_child(base + relative, [&](const WIN32_FIND_DATAA& found) {
        const std::string name = relative + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[name + "\\"] = "";
            snapshot_into(base, name + "\\", out);
        } else {
            out[name] = read_file(base + name).value_or("<unreadable>");
        }
    });
}

}  // namespace

void remove_tree(const std::string& path) {
    std::string directory = path;
    while (!directory.empty() && directory.back() == '\\') directory.pop_back();
    for_each_child(directory, [&](const WIN32_FIND_DATAA& found) {
        const std::string child = directory + "\\" + found.cFileName;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            remove_tree(child);
        } else {
            DeleteFileA(child.c_str());
        }
    });
    SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(directory.c_str());
}

std::map<std::string, std::string> snapshot(const std::string& path) {
    std::map<std::string, std::string> out;
    std::string base = path;
    if (base.empty() || base.back() != '\\') base += '\\';
    snapshot_into(base, "", out);
    return out;
}

uint64_t file_time_value(const FILETIME& time) {
    return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

DWORD attributes_of(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool read_only_files_resist_replacing() {
    temp_dir dir;
    const std::string path = dir / "probe.txt";
    write_file(path, "probe");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;
    CloseHandle(file);
    return false;
}

uint64_t utc(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME system = {};
    system.wYear = static_cast<WORD>(year);
    system.wMonth = static_cast<WORD>(month);
    system.wDay = static_cast<WORD>(day);
    system.wHour = static_cast<WORD>(hour);
    system.wMinute = static_cast<WORD>(minute);
    system.wSecond = static_cast<WORD>(second);
    FILETIME time = {};
    SystemTimeToFileTime(&system, &time);
    return file_time_value(time);
}

temp_dir::temp_dir() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        path_ = std::string(base) + "unzip_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter++) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

temp_dir::~temp_dir() { remove_tree(path_); }

bool recorder::raise_progress(int percent) {
    const int number = static_cast<int>(events.size());
    events.push_back(percent);
    if (during_event) during_event(*this, percent);
    if (number == close_window_at_event) window = false;
    return number != stop_at_event;
}

void recorder::report_outcome(bool failed) {
    outcomes.push_back(failed);
    outcome_before_event = events.size();
}

}  // namespace ziptest
