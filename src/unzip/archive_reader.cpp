#include "unzip/archive_reader.h"

#include <unzip.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include "runtime/handles.h"
#include "unzip/ansi_path.h"

namespace {

constexpr uint32_t local_header_signature = 0x04034b50;
constexpr size_t local_header_size = 30;
constexpr size_t piece_size = 16384;  // inflated bytes per write

// The archive file as minizip reads it: our handle, opened with read sharing only.
struct archive_file {
    scoped_file handle;
    bool failed = false;
    uint64_t reads = 0;
};

voidpf ZCALLBACK file_open(voidpf opaque, const void*, int) {
    // The file is already open; minizip only needs the stream it will pass back to us.
    auto* file = static_cast<archive_file*>(opaque);
    return file->handle ? file : nullptr;
}

uLong ZCALLBACK file_read(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* file = static_cast<archive_file*>(stream);
    ++file->reads;
    DWORD got = 0;
    // A read that comes up short is an error too: minizip takes a field read past the end
    // of the file for a zero unless the stream reports an error, so a cut-off end record
    // would otherwise read as an empty archive.
    if (!ReadFile(file->handle.get(), buffer, size, &got, nullptr) || got != size) file->failed = true;
    return got;
}

uLong ZCALLBACK file_write(voidpf, voidpf, const void*, uLong) { return 0; }  // never written

ZPOS64_T ZCALLBACK file_tell(voidpf, voidpf stream) {
    auto* file = static_cast<archive_file*>(stream);
    LARGE_INTEGER position = {};
    if (!SetFilePointerEx(file->handle.get(), LARGE_INTEGER{}, &position, FILE_CURRENT)) {
        file->failed = true;
        return static_cast<ZPOS64_T>(-1);
    }
    return static_cast<ZPOS64_T>(position.QuadPart);
}

long ZCALLBACK file_seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<archive_file*>(stream);
    DWORD method = FILE_BEGIN;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: method = FILE_BEGIN; break;
        case ZLIB_FILEFUNC_SEEK_CUR: method = FILE_CURRENT; break;
        case ZLIB_FILEFUNC_SEEK_END: method = FILE_END; break;
        default: return -1;
    }
    // Offsets beyond 2^63 turn negative here, which SetFilePointerEx refuses.
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file->handle.get(), distance, nullptr, method)) {
        file->failed = true;
        return -1;
    }
    return 0;
}

int ZCALLBACK file_close(voidpf, voidpf stream) {
    static_cast<archive_file*>(stream)->handle.reset();
    return 0;
}

int ZCALLBACK file_error(voidpf, voidpf stream) {
    return static_cast<archive_file*>(stream)->failed ? -1 : 0;
}

uint16_t read_le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t read_le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool is_zero(const FILETIME& time) { return time.dwLowDateTime == 0 && time.dwHighDateTime == 0; }

// Seconds since 1970-01-01 UTC as a file time; false when gmtime cannot convert them.
bool unix_time_to_file_time(int32_t seconds, FILETIME& out) {
    const time_t value = seconds;
    const tm* calendar = gmtime(&value);
    if (!calendar) return false;
    SYSTEMTIME system = {};
    system.wYear = static_cast<WORD>(calendar->tm_year + 1900);
    system.wMonth = static_cast<WORD>(calendar->tm_mon + 1);
    system.wDayOfWeek = static_cast<WORD>(calendar->tm_wday);
    system.wDay = static_cast<WORD>(calendar->tm_mday);
    system.wHour = static_cast<WORD>(calendar->tm_hour);
    system.wMinute = static_cast<WORD>(calendar->tm_min);
    system.wSecond = static_cast<WORD>(calendar->tm_sec);
    return SystemTimeToFileTime(&system, &out) != FALSE;
}

// Times from the first "UT" block of a local extra field: flags, then the write, access and
// creation times that the flags announce. A time the block is too short for, or that cannot
// be converted, keeps the value it had (the DOS time).
void apply_ut_times(const std::vector<unsigned char>& extra, entry_info& out) {
    const size_t length = extra.size();
    size_t p = 0;
    while (p + 4 < length) {
        const size_t block_size = read_le16(&extra[p + 2]);
        if (extra[p] != 'U' || extra[p + 1] != 'T') {
            p += 4 + block_size;
            continue;
        }
        const size_t block_end = std::min(length, p + 4 + block_size);
        if (p + 5 > block_end) return;  // no room for the flags inside the block
        const unsigned flags = extra[p + 4];
        p += 5;
        FILETIME* const targets[] = {&out.write_time, &out.access_time, &out.creation_time};
        for (unsigned bit = 0; bit < 3; ++bit) {
            if (!(flags & (1u << bit))) continue;
            if (p + 4 > block_end) return;
            FILETIME converted;
            if (unix_time_to_file_time(static_cast<int32_t>(read_le32(&extra[p])), converted))
                *targets[bit] = converted;
            p += 4;
        }
        return;
    }
}

}  // namespace

struct archive_reader {
    archive_file file;               // minizip's stream; must not move while `zip` is open
    unzFile zip = nullptr;
    int32_t entry_count = 0;         // as the end-of-central-directory record announces
    int32_t current = 0;             // minizip's current entry; INT32_MAX when unknown
    bool entry_open = false;
    text root_directory;             // current directory at opening, ending in "\\"
    entry_info cached;
    int32_t cached_index = -1;
    uint64_t cached_uncompressed_size = 0;  // the full central-directory value

    archive_reader() = default;
    archive_reader(const archive_reader&) = delete;
    archive_reader& operator=(const archive_reader&) = delete;
    ~archive_reader() {
        close_entry();
        if (zip) unzClose(zip);  // closes the file through file_close
    }

    // Closes the entry open for reading; minizip's verdict (UNZ_CRCERROR for a CRC-32
    // mismatch), or UNZ_OK when none was open.
    int close_entry() {
        if (!entry_open) return UNZ_OK;
        entry_open = false;
        return unzCloseCurrentFile(zip);
    }

    // Moves minizip to entry `index`, forwards only unless the index lies behind.
    bool position_on(int32_t index) {
        if (index < current) {
            if (unzGoToFirstFile(zip) != UNZ_OK) {
                current = INT32_MAX;
                return false;
            }
            current = 0;
        }
        while (current < index) {
            if (unzGoToNextFile(zip) != UNZ_OK) {
                current = INT32_MAX;  // minizip's position is no longer known
                return false;
            }
            ++current;
        }
        return true;
    }

    // Reads `size` bytes at `offset` of the archive file, leaving the file position as it was.
    bool read_at(uint64_t offset, unsigned char* buffer, size_t size) {
        LARGE_INTEGER saved = {};
        if (!SetFilePointerEx(file.handle.get(), LARGE_INTEGER{}, &saved, FILE_CURRENT)) return false;
        LARGE_INTEGER target;
        target.QuadPart = static_cast<LONGLONG>(offset);
        bool ok = target.QuadPart >= 0 && SetFilePointerEx(file.handle.get(), target, nullptr, FILE_BEGIN);
        DWORD got = 0;
        ++file.reads;
        ok = ok && ReadFile(file.handle.get(), buffer, static_cast<DWORD>(size), &got, nullptr) && got == size;
        SetFilePointerEx(file.handle.get(), saved, nullptr, FILE_BEGIN);  // minizip seeks anyway
        return ok;
    }
};

void archive_reader_closer::operator()(archive_reader* reader) const { delete reader; }

uint32_t map_attributes(uint32_t a) {
    uint32_t attributes = FILE_ATTRIBUTE_NORMAL;
    if (a & 0x40000000u || a & 0x10u) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (a & 0x20u) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (a & 0x02u) attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!(a & 0x00800000u) || a & 0x01u) attributes |= FILE_ATTRIBUTE_READONLY;
    if (a & 0x04u) attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

uint64_t archive_read_count(const archive_reader& reader) { return reader.file.reads; }

reader_handle open_archive(const text& path) {
    reader_handle reader(new archive_reader);
    char directory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    if (length > 0 && length < MAX_PATH) reader->root_directory.assign(directory, length);
    if (!last_char_is_backslash(reader->root_directory)) reader->root_directory += '\\';

    reader->file.handle.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!reader->file.handle) return {};

    zlib_filefunc64_def functions = {};
    functions.zopen64_file = file_open;
    functions.zread_file = file_read;
    functions.zwrite_file = file_write;
    functions.ztell64_file = file_tell;
    functions.zseek64_file = file_seek;
    functions.zclose_file = file_close;
    functions.zerror_file = file_error;
    functions.opaque = &reader->file;
    reader->zip = unzOpen2_64(path.c_str(), &functions);
    if (!reader->zip) return {};  // the file is closed by minizip or by the reader's end

    unz_global_info64 global = {};
    if (unzGetGlobalInfo64(reader->zip, &global) == UNZ_OK)
        reader->entry_count = static_cast<int32_t>(std::min<ZPOS64_T>(global.number_entry, INT32_MAX));
    return reader;
}

int32_t read_entry_info(archive_reader& reader, int32_t index, entry_info& out) {
    if (index < -1 || index >= reader.entry_count) return reader_bad_argument;
    reader.close_entry();
    if (index == -1) {
        out = entry_info{};
        out.index = reader.entry_count;
        return reader_ok;
    }
    if (index == reader.cached_index) {
        out = reader.cached;
        return reader_ok;
    }

    // An unreadable central-directory record cannot agree with any local header.
    if (!reader.position_on(index)) return reader_header_mismatch;
    unz_file_info64 info = {};
    char name[entry_name_capacity + 1] = {};
    if (unzGetCurrentFileInfo64(reader.zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
        return reader_header_mismatch;

    // The local header: minizip checks its signature, method, name length, CRC-32 and sizes
    // against the central record. It would read methods other than stored and deflate as raw
    // bytes, and it does not compare the name's bytes, so both are checked here.
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return reader_header_mismatch;
    if (unzOpenCurrentFile(reader.zip) != UNZ_OK) return reader_header_mismatch;
    reader.entry_open = true;
    const int extra_length = unzGetLocalExtrafield(reader.zip, nullptr, 0);
    if (extra_length < 0) return reader_extra_field_error;
    const bool name_fits = info.size_filename <= entry_name_capacity;
    if (name_fits) {
        const ZPOS64_T data_start = unzGetCurrentFileZStreamPos64(reader.zip);
        const uint64_t header_start = data_start - static_cast<uint64_t>(extra_length) - info.size_filename -
                                      local_header_size;
        std::vector<unsigned char> header(local_header_size + info.size_filename);
        if (data_start < local_header_size + info.size_filename + static_cast<uint64_t>(extra_length) ||
            !reader.read_at(header_start, header.data(), header.size()) ||
            read_le32(header.data()) != local_header_signature ||
            std::memcmp(header.data() + local_header_size, name, info.size_filename) != 0)
            return reader_header_mismatch;
    }
    std::vector<unsigned char> extra(static_cast<size_t>(extra_length));
    if (extra_length > 0 &&
        unzGetLocalExtrafield(reader.zip, extra.data(), static_cast<unsigned>(extra_length)) != extra_length)
        return reader_extra_field_error;
    reader.close_entry();  // nothing was read, so minizip has no verdict to give

    entry_info record;
    record.index = index;
    record.bad_name = !name_fits || std::memchr(name, '\0', info.size_filename) != nullptr;
    if (!record.bad_name) std::memcpy(record.name, name, info.size_filename);
    record.attributes = map_attributes(static_cast<uint32_t>(info.external_fa));
    record.compressed_size = static_cast<int32_t>(info.compressed_size);
    record.uncompressed_size = static_cast<int32_t>(info.uncompressed_size);
    // The DOS time is taken as UTC. A date DosDateTimeToFileTime rejects leaves the times zero,
    // and the file keeps the time of its creation.
    FILETIME dos_time = {};
    if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &dos_time))
        record.access_time = record.creation_time = record.write_time = dos_time;
    apply_ut_times(extra, record);

    reader.cached = record;
    reader.cached_index = index;
    reader.cached_uncompressed_size = info.uncompressed_size;
    out = record;
    return reader_ok;
}

namespace {

// Creates the levels of a relative output path's directory part under `root`, outermost
// first; nothing for absolute parts or parts that climb out of the root.
void create_parent_directories(const text& root, const text& path) {
    size_t last_separator = text::npos;
    for (size_t i = 0; i < path.size(); i += path_char_size(path, i))
        if (path_char_size(path, i) == 1 && (path[i] == '/' || path[i] == '\\')) last_separator = i;
    if (last_separator == text::npos || last_separator == 0) return;
    const text directory = path.substr(0, last_separator);
    if (directory[0] == '/' || directory[0] == '\\' || (directory.size() > 1 && directory[1] == ':') ||
        name_leaves_directory(directory))
        return;
    for (size_t i = 0; i < directory.size(); i += path_char_size(directory, i)) {
        if (path_char_size(directory, i) == 1 && (directory[i] == '/' || directory[i] == '\\'))
            CreateDirectoryA((root + directory.substr(0, i)).c_str(), nullptr);  // may exist
    }
    CreateDirectoryA((root + directory).c_str(), nullptr);  // may exist
}

}  // namespace

int32_t extract_entry(archive_reader& reader, int32_t index, const text& output_path) {
    reader.close_entry();
    if (index < 0 || index >= reader.entry_count) return reader_bad_argument;
    entry_info info;
    const int32_t described = read_entry_info(reader, index, info);
    if (described != reader_ok) return described;
    // The description may come from the cache, which leaves minizip where it was.
    if (!reader.position_on(index)) return reader_header_mismatch;

    if (output_path.size() >= MAX_PATH) return reader_cannot_open;
    create_parent_directories(reader.root_directory, output_path);
    scoped_file output(CreateFileA(output_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   info.attributes, nullptr));
    if (!output) return reader_cannot_open;

    // A failed open shows as a read error below.
    reader.entry_open = unzOpenCurrentFile(reader.zip) == UNZ_OK;
    bool failed = false;
    uint64_t total = 0;
    std::vector<char> piece(piece_size);
    for (;;) {
        const int got = unzReadCurrentFile(reader.zip, piece.data(), static_cast<unsigned>(piece.size()));
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0) break;
        DWORD written = 0;
        // A short write leaves the file without some of the entry's bytes: an error too.
        if (!WriteFile(output.get(), piece.data(), static_cast<DWORD>(got), &written, nullptr) ||
            written != static_cast<DWORD>(got)) {
            failed = true;
            break;
        }
        total += static_cast<uint64_t>(got);
    }
    // minizip checks the CRC-32 only when the announced size was read to its end, so a
    // stream that ends early is caught by its length; a CRC-32 mismatch is an error: damaged
    // data must not count as extracted.
    if (!failed && total != reader.cached_uncompressed_size) failed = true;
    if (reader.close_entry() != UNZ_OK) failed = true;

    if (!failed && GetFileType(output.get()) == FILE_TYPE_DISK) {
        // Zero times are unknown: the file keeps what the system gave it.
        SetFileTime(output.get(), is_zero(info.creation_time) ? nullptr : &info.creation_time,
                    is_zero(info.access_time) ? nullptr : &info.access_time,
                    is_zero(info.write_time) ? nullptr : &info.write_time);
    }
    output.reset();
    return failed ? reader_data_error : reader_ok;
}

int32_t close_archive(reader_handle reader) {
    reader.reset();
    return 0;
}
