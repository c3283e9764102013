// The reader beneath the extraction: opens a ZIP archive file through minizip, describes one
// entry at a time and writes one entry to a file. Every operation reports a code (0 success).
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "runtime/text.h"

// Reader result codes; the extraction only tells zero from non-zero.
constexpr int32_t reader_ok = 0;
constexpr int32_t reader_cannot_open = 0x200;        // archive or output file cannot be opened
constexpr int32_t reader_data_error = 0x400;         // reading, inflating, checking or writing failed
constexpr int32_t reader_header_mismatch = 0x700;    // local header disagrees, or method not 0/8
constexpr int32_t reader_extra_field_error = 0x800;  // local extra field cannot be read
constexpr int32_t reader_bad_argument = 0x10000;     // index out of range

// Longest entry name the record holds (bytes, without the NUL); longer names are refused.
constexpr size_t entry_name_capacity = 259;

// One entry's description.
struct entry_info {
    int32_t index = 0;                      // position in the central directory, from 0
    char name[entry_name_capacity + 1] = {};  // the name as stored, NUL-terminated
    uint32_t attributes = 0;                // Windows attribute bits, see map_attributes
    FILETIME access_time = {};              // zero: unknown, the file keeps the system's time
    FILETIME creation_time = {};
    FILETIME write_time = {};
    int32_t compressed_size = 0;
    int32_t uncompressed_size = 0;
    // The stored name cannot be used: it has more bytes than `name` holds, or holds a NUL
    // byte that would cut it short. `name` is then empty and the entry cannot be extracted.
    bool bad_name = false;
};

struct archive_reader;
struct archive_reader_closer {
    void operator()(archive_reader* reader) const;
};
// An open archive; destroying it closes the archive file.
using reader_handle = std::unique_ptr<archive_reader, archive_reader_closer>;

// Opens the archive with read sharing only; empty when the file cannot be opened or holds
// no readable central directory. Relative output paths are later taken from the current
// directory of this moment.
reader_handle open_archive(const text& path);

// Describes entry `index` (0-based), or for -1 the number of entries in `out.index`.
int32_t read_entry_info(archive_reader& reader, int32_t index, entry_info& out);

// Writes entry `index` to `output_path` (replacing a file there) with the entry's attributes
// and times.
int32_t extract_entry(archive_reader& reader, int32_t index, const text& output_path);

// Closes the archive; always 0.
int32_t close_archive(reader_handle reader);

// Windows attributes for an entry's external attributes: normal, plus directory (bit 4 or the
// Unix directory bit 30), archive, hidden, system, and read-only when bit 0 is set or the Unix
// owner-write bit 23 is clear.
uint32_t map_attributes(uint32_t external_attributes);

// How many reads the reader has made from its archive file; shows when a request was
// answered without touching the archive.
uint64_t archive_read_count(const archive_reader& reader);
