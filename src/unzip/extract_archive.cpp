#include "unzip/extract_archive.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "runtime/text.h"
#include "unzip/ansi_path.h"
#include "unzip/archive_reader.h"

namespace {

bool exists(const text& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// One call's progress reporting: the entry count, the stop flag and the events.
class progress {
public:
    explicit progress(extraction_events& events) : events_(events) {}

    int32_t entry_count = 0;
    bool stop = false;

    // The event for finished index k: k / N as a whole percentage, 0 when N is 0.
    void raise(int32_t finished_index) {
        if (!events_.window_exists()) return;
        const int percent =
            entry_count == 0 ? 0 : static_cast<int>(double(finished_index) / double(entry_count) * 100.0);
        const bool go_on = events_.raise_progress(percent);
        if (!go_on && events_.window_exists()) stop = true;
    }

    // The last event, after the control has learnt whether the extraction failed.
    void finish(bool failed) {
        events_.report_outcome(failed);
        raise(entry_count);
    }

private:
    extraction_events& events_;
};

struct file_closer {
    void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

bool make_directory_path(const char* path) {
    text work = path;
    if (!last_char_is_backslash(work)) work += '\\';
    if (work.size() >= MAX_PATH) return false;  // no level of it could hold a file
    for (size_t i = 0; i < work.size(); i += path_char_size(work, i)) {
        if (work[i] != '\\' || path_char_size(work, i) != 1) continue;
        const text prefix = work.substr(0, i + 1);
        if (!exists(prefix) && !CreateDirectoryA(prefix.c_str(), nullptr)) return false;
    }
    return true;
}

bool zip_signature_test(const char* path) {
    std::unique_ptr<FILE, file_closer> file(fopen(path, "rb"));
    if (!file) return false;
    unsigned char block[32];
    if (fread(block, sizeof block, 1, file.get()) != 1) return false;
    const uint32_t signature = static_cast<uint32_t>(block[0]) | static_cast<uint32_t>(block[1]) << 8 |
                               static_cast<uint32_t>(block[2]) << 16 | static_cast<uint32_t>(block[3]) << 24;
    const int32_t name_field = static_cast<int32_t>(static_cast<uint32_t>(block[24]) |
                                                    static_cast<uint32_t>(block[25]) << 8 |
                                                    static_cast<uint32_t>(block[26]) << 16 |
                                                    static_cast<uint32_t>(block[27]) << 24);
    return signature == 0x04034b50 && name_field >= 1;
}

int extract_archive(const char* archive_path, const char* target_directory, extraction_events& events) {
    if (!archive_path || !target_directory) return -1;
    progress state(events);
    const text target = target_directory;
    reader_handle reader;
    // Failure: the archive is closed before the one final event, so that its handler may
    // delete the archive file.
    auto fail = [&](int result) {
        if (reader) close_archive(std::move(reader));
        state.finish(true);
        return result;
    };

    if (!exists(archive_path)) return fail(-1);
    if (!exists(target) && !make_directory_path(target.c_str())) return fail(0);
    if (!zip_signature_test(archive_path)) return fail(0);
    reader = open_archive(archive_path);
    if (!reader) return fail(0);

    entry_info info;
    int32_t announced = 0;
    if (read_entry_info(*reader, -1, info) == reader_ok) announced = info.index;
    while (read_entry_info(*reader, state.entry_count, info) == reader_ok) ++state.entry_count;

    text base = target;
    if (!last_char_is_backslash(base)) base += '\\';
    int32_t index = 0;
    // An entry that cannot be described ends the walk like the end of the archive.
    for (; read_entry_info(*reader, index, info) == reader_ok; ++index) {
        // Names that cannot be stored whole, or that would lead out of the target, fail here
        // rather than write anywhere.
        if (info.bad_name || name_leaves_directory(info.name)) return fail(0);
        text name = info.name;
        for (char& c : name) {
            if (c == '/') c = '\\';
        }
        const text path = base + name;
        if (path.size() >= MAX_PATH) return fail(0);

        if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A directory entry that carries data would drop it unnoticed.
            if (info.uncompressed_size != 0) return fail(0);
            if (!exists(path) && !make_directory_path(path.c_str())) return fail(0);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // lets a read-only file be replaced
            if (extract_entry(*reader, index, path) != reader_ok) return fail(0);
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // no attributes left on the file
        }

        state.raise(index);
        if (state.stop) {
            close_archive(std::move(reader));
            return 1;
        }
    }

    close_archive(std::move(reader));
    // The result stays 1 when the walk was cut short, but the extraction did not finish.
    state.finish(index < announced);
    return 1;
}
