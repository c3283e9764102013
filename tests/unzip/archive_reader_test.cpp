// The archive reader: entry descriptions, local header checks, times, the cache, and writing
// one entry to a file.
#include "unzip/archive_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "zip_builder.h"

using namespace ziptest;

namespace {

constexpr uint32_t normal = FILE_ATTRIBUTE_NORMAL, archive = FILE_ATTRIBUTE_ARCHIVE,
                   read_only = FILE_ATTRIBUTE_READONLY, hidden = FILE_ATTRIBUTE_HIDDEN,
                   system_ = FILE_ATTRIBUTE_SYSTEM, directory = FILE_ATTRIBUTE_DIRECTORY;

std::string text_of(size_t size, char seed) {
    std::string s;
    for (size_t i = 0; s.size() < size; ++i) s += "line " + std::to_string(i * 7 + seed) + " of the file\r\n";
    s.resize(size);
    return s;
}

// Poorly compressible bytes, so that a stored or deflated entry spans several pieces.
std::string noise_of(size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return s;
}

// An archive written into a temporary directory and opened.
struct opened {
    temp_dir dir;
    std::string path;
    reader_handle reader;
    explicit opened(const std::string& zip) : path(dir / "a.zip") {
        write_file(path, zip);
        reader = open_archive(path);
    }
};

const uint64_t dos_default = utc(2016, 4, 26, 10, 13, 20);

}  // namespace

TEST(unzip_archive_reader, maps_external_attributes) {
    const struct {
        uint32_t external;
        uint32_t expected;
    } cases[] = {
        {0x20, normal | archive | read_only},  // what DOS and Windows archivers write
        {0x00, normal | read_only},
        {0x01, normal | read_only},
        {0x02, normal | hidden | read_only},
        {0x04, normal | system_ | read_only},
        {0x10, normal | directory | read_only},
        {0x27, normal | archive | hidden | system_ | read_only},
        {0x40000000, normal | directory | read_only},
        {0x41ED0010, normal | directory},      // Unix drwxr-xr-x
        {0x81A40000, normal},                  // Unix -rw-r--r--
        {0x81240000, normal | read_only},      // Unix -r--r--r--
        {0x81A40001, normal | read_only},      // owner may write, but DOS read-only set
        {0x81A40022, normal | archive | hidden},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "external 0x" << c.external);
        EXPECT_EQ(map_attributes(c.external), c.expected);
    }
}

TEST(unzip_archive_reader, describes_entries_in_any_order) {
    const std::string a = text_of(5000, 1), b = "short", c = noise_of(3000, 9);
    opened z(build_zip({{"one.txt", a}, {"dir/two.txt", b, 0, 0x81A40000}, {"three.bin", c}}));
    ASSERT_TRUE(z.reader);

    entry_info count;
    count.uncompressed_size = 99;
    ASSERT_EQ(read_entry_info(*z.reader, -1, count), reader_ok);
    EXPECT_EQ(count.index, 3);
    EXPECT_STREQ(count.name, "");
    EXPECT_EQ(count.attributes, 0u);
    EXPECT_EQ(count.uncompressed_size, 0);
    EXPECT_EQ(file_time_value(count.write_time), 0u);

    const struct {
        int32_t index;
        const char* name;
        size_t size;
        uint32_t attributes;
    } expected[] = {{0, "one.txt", a.size(), normal | archive | read_only},
                    {1, "dir/two.txt", b.size(), normal},
                    {2, "three.bin", c.size(), normal | archive | read_only}};
    for (int order : {2, 0, 1, 1, 0, 2}) {  // backwards requests restart from the first entry
        SCOPED_TRACE(order);
        entry_info info;
        ASSERT_EQ(read_entry_info(*z.reader, order, info), reader_ok);
        EXPECT_EQ(info.index, expected[order].index);
        EXPECT_STREQ(info.name, expected[order].name);
        EXPECT_EQ(info.uncompressed_size, static_cast<int32_t>(expected[order].size));
        EXPECT_EQ(info.attributes, expected[order].attributes);
        EXPECT_FALSE(info.bad_name);
    }
    entry_info two;
    ASSERT_EQ(read_entry_info(*z.reader, 1, two), reader_ok);
    EXPECT_EQ(two.compressed_size, static_cast<int32_t>(b.size()));  // stored
}

TEST(unzip_archive_reader, refuses_indexes_out_of_range) {
    opened z(build_zip({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    ASSERT_TRUE(z.reader);
    entry_info info;
    for (int32_t index : {-2, 3, 4, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(read_entry_info(*z.reader, index, info), reader_bad_argument);
    }
    for (int32_t index : {-1, 3, INT32_MIN}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(extract_entry(*z.reader, index, z.dir / "out.txt"), reader_bad_argument);
        EXPECT_FALSE(exists(z.dir / "out.txt"));
    }
}

TEST(unzip_archive_reader, repeated_request_is_answered_from_the_cache) {
    opened z(build_zip({{"a.txt", "alpha"}, {"b.txt", "beta", 8, 0x20, 0, 0x1234, 0x4c21}}));
    ASSERT_TRUE(z.reader);
    entry_info first, again;
    ASSERT_EQ(read_entry_info(*z.reader, 1, first), reader_ok);
    const uint64_t reads = archive_read_count(*z.reader);
    ASSERT_EQ(read_entry_info(*z.reader, 1, again), reader_ok);
    EXPECT_EQ(archive_read_count(*z.reader), reads);
    EXPECT_EQ(std::memcmp(&first, &again, sizeof first), 0);
    // Another index reads the archive, and extracting the cached entry still works.
    ASSERT_EQ(read_entry_info(*z.reader, 0, again), reader_ok);
    EXPECT_GT(archive_read_count(*z.reader), reads);
    EXPECT_STREQ(again.name, "a.txt");
    ASSERT_EQ(read_entry_info(*z.reader, 1, again), reader_ok);
    ASSERT_EQ(extract_entry(*z.reader, 1, z.dir / "b.txt"), reader_ok);
    EXPECT_EQ(read_file(z.dir / "b.txt"), "beta");
}

TEST(unzip_archive_reader, checks_the_local_header) {
    struct damage {
        const char* what;
        entry_spec entry;
        void (*patch)(std::string& zip, const zip_layout& layout);
        int32_t expected;
    };
    const std::string data = text_of(2000, 3);
    auto with = [&](void (*change)(entry_spec&)) {
        entry_spec e{"target.txt", data};
        change(e);
        return e;
    };
    const damage cases[] = {
        {"intact", with([](entry_spec&) {}), nullptr, reader_ok},
        {"local method stored, central deflate", with([](entry_spec& e) { e.local_method = 0; }), nullptr,
         reader_header_mismatch},
        {"method 12 in both headers",
         with([](entry_spec& e) { e.method = 12; e.raw_data = std::string("BZh9"); }), nullptr,
         reader_header_mismatch},
        {"method 1 in both headers", with([](entry_spec& e) { e.method = 1; }), nullptr, reader_header_mismatch},
        {"local name of other bytes", with([](entry_spec& e) { e.local_name = std::string("target.exe"); }),
         nullptr, reader_header_mismatch},
        {"local name of other length", with([](entry_spec& e) { e.local_name = std::string("target.txt2"); }),
         nullptr, reader_header_mismatch},
        {"local CRC differs", with([](entry_spec& e) { e.local_crc = 0x12345678; }), nullptr,
         reader_header_mismatch},
        {"local CRC differs, bit 3 set",
         with([](entry_spec& e) { e.local_crc = 0; e.flags = 8; }), nullptr, reader_ok},
        {"local signature damaged", with([](entry_spec&) {}),
         [](std::string& zip, const zip_layout& l) { zip[l.local_headers[1].offset] = 'Q'; },
         reader_header_mismatch},
        {"local compressed size differs", with([](entry_spec&) {}),
         [](std::string& zip, const zip_layout& l) { put_le32(zip, l.local_headers[1].offset + 18, 1); },
         reader_header_mismatch},
        {"local uncompressed size differs", with([](entry_spec&) {}),
         [](std::string& zip, const zip_layout& l) { put_le32(zip, l.local_headers[1].offset + 22, 1); },
         reader_header_mismatch},
        {"local extra field runs past the end of the file", with([](entry_spec&) {}),
         [](std::string& zip, const zip_layout& l) { put_le16(zip, l.local_headers[1].offset + 28, 0xFFFF); },
         reader_extra_field_error},
        {"central header's local offset points nowhere", with([](entry_spec&) {}),
         [](std::string& zip, const zip_layout& l) { put_le32(zip, l.central_headers[1].offset + 42, 0x7FFFFFF0); },
         reader_header_mismatch},
    };
    for (const damage& c : cases) {
        SCOPED_TRACE(c.what);
        zip_layout layout;
        std::string zip = build_zip({{"first.txt", "first"}, c.entry}, &layout);
        if (c.patch) c.patch(zip, layout);
        opened z(zip);
        ASSERT_TRUE(z.reader);
        entry_info info;
        EXPECT_EQ(read_entry_info(*z.reader, 1, info), c.expected);
        EXPECT_EQ(read_entry_info(*z.reader, 0, info), reader_ok);  // the entry before is unharmed
        EXPECT_STREQ(info.name, "first.txt");
    }
}

TEST(unzip_archive_reader, file_times_from_dos_time_and_ut_block) {
    const int32_t t1 = 1500000000, t2 = 1000000000, t3 = 1234567890;
    const uint64_t u1 = utc(2017, 7, 14, 2, 40, 0), u2 = utc(2001, 9, 9, 1, 46, 40), u3 = utc(2009, 2, 13, 23, 31, 30);
    const uint64_t d = dos_default;
    const uint16_t bad_date = 0x481A;  // month 0
    const struct {
        const char* what;
        std::string extra;
        uint16_t date;
        uint64_t write, access, creation;
    } cases[] = {
        {"no extra field", "", default_dos_date, d, d, d},
        {"UT with flags 7", ut_block(7, {t1, t2, t3}), default_dos_date, u1, u2, u3},
        {"UT with write time only", ut_block(1, {t1}), default_dos_date, u1, d, d},
        {"UT with write and creation", ut_block(5, {t1, t3}), default_dos_date, u1, d, u3},
        {"UT with access only", ut_block(2, {t2}), default_dos_date, d, u2, d},
        {"UT after another block", extra_block(0x7875, "\x01\x04\xe8\x03\x00\x00") + ut_block(7, {t1, t2, t3}),
         default_dos_date, u1, u2, u3},
        {"only the first UT block counts", ut_block(1, {t1}) + ut_block(7, {t2, t2, t2}), default_dos_date, u1, d,
         d},
        {"other blocks only", extra_block(0x000a, std::string(32, '\0')), default_dos_date, d, d, d},
        {"extra field of 4 bytes", "UT" + le16(0), default_dos_date, d, d, d},
        // Short blocks: the times the block has no room for stay the DOS time.
        {"UT flags 7 holding one time", ut_block(7, {t1}), default_dos_date, u1, d, d},
        {"UT flags 7 declaring 9 bytes", ut_block(7, {t1, t2, t3}, 9), default_dos_date, u1, u2, d},
        {"UT flags 7 holding one time, another block after",
         ut_block(7, {t1}) + extra_block(0x7875, "\x01\x04\xe8\x03\x00\x00\x04\xe8\x03\x00\x00"), default_dos_date,
         u1, d, d},
        {"UT declaring more than the field holds", "UT" + le16(13) + "\x07" + le32(t1) + "\x00\x01",
         default_dos_date, u1, d, d},
        {"UT of size 0 before a block", "UT" + le16(0) + "\x07\x00\x00\x00\x00\x00", default_dos_date, d, d, d},
        {"UT flags byte only", "UT" + le16(1) + "\x07", default_dos_date, d, d, d},
        // Times that gmtime cannot convert keep the DOS time.
        {"UT time before 1970", ut_block(7, {-86400, t2, -1}), default_dos_date, d, u2, d},
        // A DOS date that cannot be converted leaves the times unknown (zero).
        {"DOS month 0", "", bad_date, 0, 0, 0},
        {"DOS month 0, UT write time", ut_block(1, {t1}), bad_date, u1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        entry_spec e{"t.txt", "times"};
        e.local_extra = c.extra;
        e.dos_date = c.date;
        opened z(build_zip({e}));
        ASSERT_TRUE(z.reader);
        entry_info info;
        ASSERT_EQ(read_entry_info(*z.reader, 0, info), reader_ok);
        EXPECT_EQ(file_time_value(info.write_time), c.write);
        EXPECT_EQ(file_time_value(info.access_time), c.access);
        EXPECT_EQ(file_time_value(info.creation_time), c.creation);

        // The extracted file carries them; unknown times are left as the system set them.
        const std::string out = z.dir / "t.txt";
        ASSERT_EQ(extract_entry(*z.reader, 0, out), reader_ok);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(out.c_str(), GetFileExInfoStandard, &data));
        if (c.write) {
            EXPECT_EQ(file_time_value(data.ftLastWriteTime), c.write);
        }
        if (!c.write) {
            EXPECT_GT(file_time_value(data.ftLastWriteTime), utc(2020, 1, 1, 0, 0, 0));
        }
        if (c.access) {
            EXPECT_EQ(file_time_value(data.ftLastAccessTime), c.access);
        }
        // Creation times are not checked on disk: Wine cannot set them on a Linux file system.
    }
}

TEST(unzip_archive_reader, names_that_do_not_fit_are_flagged) {
    const struct {
        std::string name;
        bool bad;
    } cases[] = {
        {std::string(259, 'n'), false},
        {std::string(260, 'n'), true},
        {std::string(1000, 'n'), true},
        {std::string("abc\0def", 7), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.size());
        opened z(build_zip({{"before", "x"}, {c.name, "data"}, {"after", "y"}}));
        ASSERT_TRUE(z.reader);
        entry_info info;
        ASSERT_EQ(read_entry_info(*z.reader, 1, info), reader_ok);
        EXPECT_EQ(info.bad_name, c.bad);
        EXPECT_EQ(std::string(info.name), c.bad ? std::string() : c.name);
        ASSERT_EQ(read_entry_info(*z.reader, 2, info), reader_ok);
        EXPECT_STREQ(info.name, "after");
    }
}

TEST(unzip_archive_reader, open_refuses_what_is_not_an_archive) {
    temp_dir dir;
    const std::string zip = build_zip({{"a.txt", "a"}});
    const struct {
        const char* what;
        std::string bytes;  // empty: no file at all
    } cases[] = {
        {"missing file", ""},
        {"plain text", "Just some text, no archive here.\r\n"},
        {"archive without its end record", zip.substr(0, zip.size() - 22)},
        {"end record cut short", zip.substr(0, zip.size() - 5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir / "x.zip";
        DeleteFileA(path.c_str());
        if (!c.bytes.empty()) {
            ASSERT_TRUE(write_file(path, c.bytes));
        }
        EXPECT_FALSE(open_archive(path));
    }
    ASSERT_TRUE(write_file(dir / "x.zip", zip));
    EXPECT_TRUE(open_archive(dir / "x.zip"));
}

TEST(unzip_archive_reader, archive_is_shared_for_reading_only_while_open) {
    temp_dir dir;
    const std::string path = dir / "a.zip";
    ASSERT_TRUE(write_file(path, build_zip({{"a.txt", "a"}})));
    reader_handle reader = open_archive(path);
    ASSERT_TRUE(reader);
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_EQ(close_archive(std::move(reader)), 0);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(unzip_archive_reader, extract_entry_writes_data_attributes_and_times) {
    const struct {
        const char* what;
        entry_spec entry;
        uint32_t attributes;
    } cases[] = {
        {"deflated, several pieces", {"big.txt", text_of(100000, 5)}, normal | archive | read_only},
        {"deflated noise", {"noise.bin", noise_of(50000, 77)}, archive | read_only},
        {"stored, several pieces", {"stored.bin", noise_of(40000, 3), 0}, archive | read_only},
        {"empty", {"empty.txt", "", 0}, archive | read_only},
        {"empty deflated", {"empty2.txt", ""}, archive | read_only},
        {"hidden and system", {"hs.txt", "hs", 8, 0x26}, archive | read_only | hidden | system_},
        {"Unix mode rw-r--r--", {"unix.txt", "unix", 8, 0x81A40000}, normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        opened z(build_zip({{"first", "1"}, c.entry}));
        ASSERT_TRUE(z.reader);
        const std::string out = z.dir / c.entry.name;
        ASSERT_EQ(extract_entry(*z.reader, 1, out), reader_ok);
        EXPECT_EQ(read_file(out), c.entry.data);
        DWORD attributes = GetFileAttributesA(out.c_str());
        EXPECT_EQ(attributes & protective_attributes, c.attributes & protective_attributes);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(out.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(file_time_value(data.ftLastWriteTime), dos_default);
    }
}

TEST(unzip_archive_reader, extract_entry_errors) {
    const std::string data = text_of(30000, 8);
    auto entry = [&](void (*change)(entry_spec&)) {
        entry_spec e{"f.txt", data};
        change(e);
        return e;
    };
    const struct {
        const char* what;
        entry_spec entry;
        bool read_only_file_there;
        int32_t expected;
        bool data_written;  // the inflated data is in the file all the same
    } cases[] = {
        {"read-only file at the path", entry([](entry_spec&) {}), true, reader_cannot_open, false},
        {"CRC-32 mismatch", entry([](entry_spec& e) { e.crc = 0xDEADBEEF; }), false, reader_data_error, true},
        {"CRC-32 mismatch, stored", entry([](entry_spec& e) { e.crc = 1; e.method = 0; }), false,
         reader_data_error, true},
        {"damaged deflate stream", entry([](entry_spec& e) { e.damage_stream_at = 10; }), false,
         reader_data_error, false},
        {"announces more data than the stream holds",
         entry([](entry_spec& e) { e.uncompressed_size = 1000000; }), false, reader_data_error, true},
        {"announces less data than the stream holds",
         entry([](entry_spec& e) { e.uncompressed_size = 100; }), false, reader_data_error, false},
        {"compressed size beyond the end of the file",
         entry([](entry_spec& e) { e.compressed_size = 0x7FFFFFFF; }), false, reader_data_error, false},
        {"stored, announces more than there is",
         entry([](entry_spec& e) { e.method = 0; e.uncompressed_size = e.compressed_size = 40000; }), false,
         reader_data_error, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        opened z(build_zip({c.entry}));
        ASSERT_TRUE(z.reader);
        const std::string out = z.dir / "f.txt";
        if (c.read_only_file_there && !read_only_files_resist_replacing()) continue;  // nothing to see here
        if (c.read_only_file_there) {
            ASSERT_TRUE(write_file(out, "old"));
            SetFileAttributesA(out.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        EXPECT_EQ(extract_entry(*z.reader, 0, out), c.expected);
        if (c.read_only_file_there) {
            EXPECT_EQ(read_file(out), "old");
        }
        if (c.data_written) {
            EXPECT_EQ(read_file(out), data);
        }
        if (!c.data_written && !c.read_only_file_there) {
            EXPECT_NE(read_file(out), data);
        }
        if (c.expected == reader_data_error) {
            // No times set on a failed file.
            WIN32_FILE_ATTRIBUTE_DATA info;
            ASSERT_TRUE(GetFileAttributesExA(out.c_str(), GetFileExInfoStandard, &info));
            EXPECT_NE(file_time_value(info.ftLastWriteTime), dos_default);
        }
    }
}

// The current directory for the length of a test.
class current_directory {
public:
    explicit current_directory(const std::string& path) {
        GetCurrentDirectoryA(MAX_PATH, saved_);
        changed_ = SetCurrentDirectoryA(path.c_str()) != FALSE;
    }
    current_directory(const current_directory&) = delete;
    current_directory& operator=(const current_directory&) = delete;
    ~current_directory() { SetCurrentDirectoryA(saved_); }
    bool changed() const { return changed_; }

private:
    char saved_[MAX_PATH] = {};
    bool changed_ = false;
};

TEST(unzip_archive_reader, parents_of_relative_output_paths) {
    temp_dir outer;
    const std::string root = outer / "root\\";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    const std::string zip_path = outer / "a.zip";
    ASSERT_TRUE(write_file(zip_path, build_zip({{"c.txt", "content"}})));
    ASSERT_TRUE(IsDBCSLeadByte(0x81));
    current_directory cwd(root);
    ASSERT_TRUE(cwd.changed());
    reader_handle reader = open_archive(zip_path);
    ASSERT_TRUE(reader);

    const struct {
        const char* what;
        std::string path;
        int32_t expected;
        std::string file;                 // where the file ends up, under the root
        std::vector<std::string> made;    // directories created under the root
    } cases[] = {
        {"three levels with slashes", "a/b/c.txt", reader_ok, "a\\b\\c.txt", {"a\\", "a\\b\\"}},
        {"backslashes", "x\\y\\c.txt", reader_ok, "x\\y\\c.txt", {"x\\", "x\\y\\"}},
        {"no directory part", "plain.txt", reader_ok, "plain.txt", {}},
        // A trail byte of 0x5C inside a directory name is not a separator.
        {"GBK name with trail byte 0x5C", "g\x81\x5c" "d/c.txt", reader_ok, "g\x81\x5c" "d\\c.txt",
         {"g\x81\x5c" "d\\"}},
        // Parts that climb out get no directories, so the file cannot be created.
        {"climbing out", "../up/c.txt", reader_cannot_open, "", {}},
        {"climbing out with backslashes", "q\\..\\..\\up\\c.txt", reader_cannot_open, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = snapshot(root);
        EXPECT_EQ(extract_entry(*reader, 0, c.path), c.expected);
        auto after = snapshot(root);
        for (const auto& old : before) after.erase(old.first);
        std::map<std::string, std::string> expected;
        for (const auto& d : c.made) expected[d] = "";
        if (!c.file.empty()) expected[c.file] = "content";
        EXPECT_EQ(after, expected);
    }
    close_archive(std::move(reader));
    // Nothing next to the root.
    for (const auto& f : snapshot(outer.path())) {
        EXPECT_TRUE(f.first == "a.zip" || f.first.compare(0, 5, "root\\") == 0) << f.first;
    }
}

TEST(unzip_archive_reader, absolute_output_paths_get_no_parents) {
    temp_dir dir;
    opened z(build_zip({{"c.txt", "content"}}));
    ASSERT_TRUE(z.reader);
    EXPECT_EQ(extract_entry(*z.reader, 0, dir / "a\\b\\c.txt"), reader_cannot_open);
    EXPECT_TRUE(snapshot(dir.path()).empty());
    // 260 bytes or more is refused before anything is touched.
    std::string long_path = dir.path();
    long_path += std::string(MAX_PATH - long_path.size(), 'x');
    EXPECT_EQ(extract_entry(*z.reader, 0, long_path), reader_cannot_open);
    EXPECT_TRUE(snapshot(dir.path()).empty());
    long_path.pop_back();
    if (long_path.size() - dir.path().size() < 256) {  // a name the file system takes
        EXPECT_EQ(extract_entry(*z.reader, 0, long_path), reader_ok);
    }
}
