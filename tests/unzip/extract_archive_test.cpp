// The extraction component: results, event sequences, what ends up on disk.
#include "unzip/extract_archive.h"

#include <gtest/gtest.h>

#include <optional>

#include "payload/embedded.h"
#include "zip_builder.h"

using namespace ziptest;

namespace {

using files = std::map<std::string, std::string>;
const std::string any_content = "<any content>";

// `actual` equals `expected`, where a file expected with any_content only has to exist.
void expect_files(const files& actual, const files& expected) {
    files masked = actual;
    for (const auto& e : expected) {
        if (e.second == any_content && masked.count(e.first)) masked[e.first] = any_content;
    }
    EXPECT_EQ(masked, expected);
}

entry_spec directory_entry(const std::string& name) { return {name, "", 0, 0x10}; }

entry_spec with_method(const std::string& name, const std::string& data, uint16_t method) {
    entry_spec e{name, data, method};
    e.raw_data = std::string("BZh91AY&SY") + data;  // stored as is, never inflated
    return e;
}

entry_spec with_damaged_stream(const std::string& name, const std::string& data, int at) {
    entry_spec e{name, data};
    e.damage_stream_at = at;
    return e;
}

entry_spec with_crc(const std::string& name, const std::string& data, uint32_t crc) {
    entry_spec e{name, data};
    e.crc = crc;
    return e;
}

std::string archive_without_entries() {
    // A local header with a name (so the signature test passes), but a central directory
    // that lists nothing.
    std::string zip = build_zip({{"lonely.txt", "nobody lists me"}});
    const size_t central = zip.size() - 22 - (46 + 10);
    zip.resize(central);
    zip += le32(0x06054b50) + le16(0) + le16(0) + le16(0) + le16(0) + le32(0) +
           le32(static_cast<uint32_t>(central)) + le16(0);
    return zip;
}

std::string announcing_more_entries_than_listed() {
    std::string zip = build_zip({{"a.txt", "a"}, {"b.txt", "b"}});
    put_le16(zip, zip.size() - 22 + 8, 3);
    put_le16(zip, zip.size() - 22 + 10, 3);
    return zip;
}

}  // namespace

TEST(unzip_extract_archive, results_and_event_sequences) {
    const std::string a = "first file", b = std::string(20000, 'b'), c = "third";
    const std::string long_name(260, 'n');
    enum class archive_kind { bytes, missing, null_path };
    struct outcome_case {
        const char* what;
        std::string zip;
        const char* target;  // under the case directory; nullptr: the target is null
        std::vector<int> events;
        int result;
        std::optional<bool> failed;  // nullopt: no outcome reported
        files after;                 // everything in the case directory afterwards
        archive_kind kind = archive_kind::bytes;
        int stop_at_event = -1;
        bool window = true;
        int close_window_at_event = -1;
        files before = {};
    };
    const outcome_case cases[] = {
        {"two entries into a new two-level directory", build_zip({{"a.txt", a}, {"b.txt", b}}), "new\\deeper",
         {0, 50, 100}, 1, false,
         {{"new\\", ""}, {"new\\deeper\\", ""}, {"new\\deeper\\a.txt", a}, {"new\\deeper\\b.txt", b}}},
        {"three entries", build_zip({{"a.txt", a}, {"b.txt", b}, {"c.txt", c}}), "t", {0, 33, 66, 100}, 1, false,
         {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}, {"t\\c.txt", c}}},
        {"target already there", build_zip({{"a.txt", a}}), "t", {0, 100}, 1, false,
         {{"t\\", ""}, {"t\\a.txt", a}, {"t\\old.txt", "old"}}, archive_kind::bytes, -1, true, -1,
         {{"t\\", ""}, {"t\\old.txt", "old"}}},
        {"file entry without its directory after a good one", build_zip({{"a.txt", a}, {"sub/b.txt", b}}), "t",
         {0, 100}, 0, true, {{"t\\", ""}, {"t\\a.txt", a}}},
        {"only a/b.txt, no directory entry", build_zip({{"a/b.txt", b}}), "t", {100}, 0, true, {{"t\\", ""}}},
        {"directory entry a/ then a/b.txt", build_zip({directory_entry("a/"), {"a/b.txt", b}}), "t", {0, 50, 100},
         1, false, {{"t\\", ""}, {"t\\a\\", ""}, {"t\\a\\b.txt", b}}},
        {"directory entry without trailing slash", build_zip({directory_entry("a"), {"a/b.txt", b}}), "t",
         {0, 50, 100}, 1, false, {{"t\\", ""}, {"t\\a\\", ""}, {"t\\a\\b.txt", b}}},
        {"handler stops at the first event", build_zip({{"a.txt", a}, {"b.txt", b}, {"c.txt", c}}), "t", {0}, 1,
         std::nullopt, {{"t\\", ""}, {"t\\a.txt", a}}, archive_kind::bytes, 0},
        {"handler stops at the second event", build_zip({{"a.txt", a}, {"b.txt", b}, {"c.txt", c}}), "t", {0, 33},
         1, std::nullopt, {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}}, archive_kind::bytes, 1},
        {"central directory lists no entries", archive_without_entries(), "t", {0}, 1, false, {{"t\\", ""}}},
        {"first entry uses method 12",
         build_zip({with_method("a.txt", a, 12), {"b.txt", b}}),
         "t", {0}, 1, true, {{"t\\", ""}}},
        {"method 14 at index 2 of 4",
         build_zip({{"a.txt", a}, {"b.txt", b}, with_method("c.txt", c, 14), {"d.txt", "d"}}), "t", {0, 50, 100}, 1, true,
         {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}}},
        {"central directory announces more entries than it lists", announcing_more_entries_than_listed(), "t",
         {0, 50, 100}, 1, true, {{"t\\", ""}, {"t\\a.txt", "a"}, {"t\\b.txt", "b"}}},
        {"damaged deflate stream in the second of three",
         build_zip({{"a.txt", a}, with_damaged_stream("b.txt", b, 3), {"c.txt", c}}),
         "t", {0, 100}, 0, true, {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", any_content}}},
        {"CRC-32 mismatch in the second of three",
         build_zip({{"a.txt", a}, with_crc("b.txt", b, 0x12345678u), {"c.txt", c}}),
         "t", {0, 100}, 0, true, {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}}},
        {"directory entry that carries data", build_zip({{"a.txt", a}, {"d/", "data", 8, 0x10}}), "t", {0, 100},
         0, true, {{"t\\", ""}, {"t\\a.txt", a}}},
        {"name of 260 bytes", build_zip({{"a.txt", a}, {long_name, b}, {"c.txt", c}}), "t", {0, 100}, 0,
         true, {{"t\\", ""}, {"t\\a.txt", a}}},
        {"output path of 260 bytes", build_zip({{"a.txt", a}, {std::string(240, 'p'), b}}), "t", {0, 100}, 0,
         true, {{"t\\", ""}, {"t\\a.txt", a}}},
        {"missing archive file", "", "t", {0}, -1, true, {}, archive_kind::missing},
        {"target directory cannot be made", build_zip({{"a.txt", a}}), "file.txt\\sub", {0}, 0, true,
         {{"file.txt", "x"}}, archive_kind::bytes, -1, true, -1, {{"file.txt", "x"}}},
        {"plain text file as the archive", "This is not an archive at all, only text.\r\n", "t", {0}, 0, true,
         {{"t\\", ""}}},
        {"archive of only its end record", build_zip({}), "t", {0}, 0, true, {{"t\\", ""}}},
        {"first local header but no end record", build_zip({{"a.txt", a}}).substr(0, 60), "t", {0}, 0, true,
         {{"t\\", ""}}},
        {"empty file as the archive", "", "t", {0}, 0, true, {{"t\\", ""}}},
        {"archive path absent", build_zip({{"a.txt", a}}), "t", {}, -1, std::nullopt, {}, archive_kind::null_path},
        {"target directory absent", build_zip({{"a.txt", a}}), nullptr, {}, -1, std::nullopt, {}},
        {"window gone: no events", build_zip({{"a.txt", a}, {"b.txt", b}}), "t", {}, 1, false,
         {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}}, archive_kind::bytes, -1, false},
        {"window gone inside a handler that asks to stop", build_zip({{"a.txt", a}, {"b.txt", b}}), "t", {0}, 1,
         false, {{"t\\", ""}, {"t\\a.txt", a}, {"t\\b.txt", b}}, archive_kind::bytes, 0, true, 0},
    };
    for (const outcome_case& k : cases) {
        SCOPED_TRACE(k.what);
        temp_dir dir;
        const std::string archive = dir / "archive.zip";
        const std::string work = dir / "case\\";
        ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
        if (k.kind != archive_kind::missing) {
            ASSERT_TRUE(write_file(archive, k.zip));
        }
        for (const auto& f : k.before) {
            if (f.first.back() == '\\') {
                ASSERT_TRUE(CreateDirectoryA((work + f.first).c_str(), nullptr));
            } else {
                ASSERT_TRUE(write_file(work + f.first, f.second));
            }
        }
        recorder events;
        events.stop_at_event = k.stop_at_event;
        events.window = k.window;
        events.close_window_at_event = k.close_window_at_event;
        const std::string target = k.target ? work + k.target : "";
        const int result = extract_archive(k.kind == archive_kind::null_path ? nullptr : archive.c_str(),
                                           k.target ? target.c_str() : nullptr, events);
        EXPECT_EQ(result, k.result);
        EXPECT_EQ(events.events, k.events);
        if (k.failed) {
            ASSERT_EQ(events.outcomes.size(), 1u);
            EXPECT_EQ(events.outcomes[0], *k.failed);
            // Right before the final event, when there is one.
            if (!k.events.empty() && k.close_window_at_event < 0) {
                EXPECT_EQ(events.outcome_before_event, k.events.size() - 1);
            }
        } else {
            EXPECT_TRUE(events.outcomes.empty());
        }
        expect_files(snapshot(work), k.after);
        EXPECT_EQ(read_file(archive).value_or(""), k.zip);  // the archive is left alone
    }
}

TEST(unzip_extract_archive, target_forms_give_the_same_paths) {
    ASSERT_TRUE(IsDBCSLeadByte(0x81));  // the GBK code page, as the test runner sets it
    const std::string gbk = "\x81\x5c";   // one GBK character whose trail byte is "\\"
    const std::string zip = build_zip({{"a.txt", "A"}, {"d/", "", 0, 0x10}, {"d/b.txt", "B"}});
    const struct {
        const char* what;
        std::string target;
        std::string folder;  // where the entries land, under the case directory
        std::vector<std::string> made;
    } cases[] = {
        {"without trailing backslash", "t", "t\\", {"t\\"}},
        {"with trailing backslash", "t\\", "t\\", {"t\\"}},
        {"two new levels, trailing backslash", "t\\u\\", "t\\u\\", {"t\\", "t\\u\\"}},
        {"ends in a GBK character with trail byte 0x5C", "t" + gbk, "t" + gbk + "\\", {"t" + gbk + "\\"}},
        {"GBK character, then a backslash", "t" + gbk + "\\", "t" + gbk + "\\", {"t" + gbk + "\\"}},
        {"nested GBK levels", gbk + "x\\" + gbk, gbk + "x\\" + gbk + "\\",
         {gbk + "x\\", gbk + "x\\" + gbk + "\\"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir dir;
        ASSERT_TRUE(write_file(dir / "a.zip", zip));
        const std::string work = dir / "case\\";
        ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
        recorder events;
        EXPECT_EQ(extract_archive((dir / "a.zip").c_str(), (work + c.target).c_str(), events), 1);
        EXPECT_EQ(events.events, (std::vector<int>{0, 33, 66, 100}));
        files expected = {{c.folder + "a.txt", "A"}, {c.folder + "d\\", ""}, {c.folder + "d\\b.txt", "B"}};
        for (const auto& m : c.made) expected[m] = "";
        expect_files(snapshot(work), expected);
    }
}

TEST(unzip_extract_archive, gbk_directory_name_with_trail_byte_5c) {
    ASSERT_TRUE(IsDBCSLeadByte(0x81));
    const std::string gbk = "\x81\x5c";  // "乗" in GBK
    const struct {
        const char* what;
        std::vector<entry_spec> entries;
        files expected;
    } cases[] = {
        {"directory entry, then a file in it",
         {directory_entry("d" + gbk + "/"), {"d" + gbk + "/f.txt", "F"}},
         {{"d" + gbk + "\\", ""}, {"d" + gbk + "\\f.txt", "F"}}},
        {"two levels in one directory entry",
         {directory_entry(gbk + "x/" + gbk + "y/"), {gbk + "x/" + gbk + "y/g.txt", "G"}},
         {{gbk + "x\\", ""}, {gbk + "x\\" + gbk + "y\\", ""}, {gbk + "x\\" + gbk + "y\\g.txt", "G"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir dir;
        ASSERT_TRUE(write_file(dir / "a.zip", build_zip(c.entries)));
        recorder events;
        EXPECT_EQ(extract_archive((dir / "a.zip").c_str(), (dir / "t").c_str(), events), 1);
        EXPECT_EQ(events.outcomes, std::vector<bool>{false});
        expect_files(snapshot(dir / "t"), c.expected);
    }
}

TEST(unzip_extract_archive, replaces_protected_files_and_leaves_no_attributes) {
    temp_dir dir;
    const std::string target = dir / "t";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    const struct {
        const char* name;
        DWORD before;        // attributes of the file already there
        uint32_t external;   // of the entry
    } cases[] = {
        {"ro.txt", FILE_ATTRIBUTE_READONLY, 0x20},
        {"hsr.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0x27},
        {"plain.txt", FILE_ATTRIBUTE_NORMAL, 0x81A40000},
        {"new.txt", 0, 0x21},
    };
    std::vector<entry_spec> entries;
    for (const auto& c : cases) {
        if (c.before) {
            ASSERT_TRUE(write_file(target + "\\" + c.name, "old contents"));
            ASSERT_TRUE(SetFileAttributesA((target + "\\" + c.name).c_str(), c.before));
        }
        entries.push_back({c.name, std::string("new ") + c.name, 8, c.external});
    }
    entries[1].dos_time = 0xb20c;  // 22:16:24
    entries[1].dos_date = 0x48b3;  // 2016-05-19
    ASSERT_TRUE(write_file(dir / "a.zip", build_zip(entries)));
    recorder events;
    EXPECT_EQ(extract_archive((dir / "a.zip").c_str(), target.c_str(), events), 1);
    EXPECT_EQ(events.events, (std::vector<int>{0, 25, 50, 75, 100}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = target + "\\" + c.name;
        EXPECT_EQ(read_file(path), std::string("new ") + c.name);
        EXPECT_EQ(attributes_of(path) & protective_attributes, 0u);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
        const uint64_t expected = c.name == std::string("hsr.txt") ? utc(2016, 5, 19, 22, 16, 24)
                                                                    : utc(2016, 4, 26, 10, 13, 20);
        EXPECT_EQ(file_time_value(data.ftLastWriteTime), expected);
    }
}

TEST(unzip_extract_archive, archive_is_closed_before_the_final_event) {
    struct deleting : recorder {
        std::string archive;
        std::vector<bool> deleted;
    };
    const struct {
        const char* what;
        std::vector<entry_spec> entries;
        std::vector<bool> deleted;  // whether deleting the archive worked inside each event
    } cases[] = {
        {"every entry done", {{"a", "a"}, {"b", "b"}, {"c", "c"}}, {false, false, false, true}},
        {"second entry fails", {{"a", "a"}, {"x/b", "b"}}, {false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir dir;
        deleting events;
        events.archive = dir / "a.zip";
        ASSERT_TRUE(write_file(events.archive, build_zip(c.entries)));
        events.during_event = [](recorder& r, int) {
            auto& self = static_cast<deleting&>(r);
            self.deleted.push_back(DeleteFileA(self.archive.c_str()) != FALSE);
        };
        extract_archive(events.archive.c_str(), (dir / "t").c_str(), events);
        EXPECT_EQ(events.deleted, c.deleted);
    }
}

TEST(unzip_extract_archive, names_leading_out_of_the_target_are_refused) {
    const std::string refused[] = {
        "../escape.txt", "..\\escape.txt", "a/../../escape.txt", "a\\..\\..\\escape.txt", "..", "../",
        "a/..", "/escape.txt", "\\escape.txt", "//server/share/escape.txt", "C:escape.txt",
        "C:/lumvex_unzip_escape.txt", "C:\\lumvex_unzip_escape.txt", "a/b.txt:stream", ".. /escape.txt",
        "a/. ./escape.txt", "d/../escape.txt",
    };
    for (const std::string& name : refused) {
        SCOPED_TRACE(name);
        temp_dir dir;
        const std::string work = dir / "case\\";
        ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
        ASSERT_TRUE(write_file(dir / "a.zip", build_zip({{"ok.txt", "ok"}, {name, "escaped"}, {"late.txt", "l"}})));
        recorder events;
        EXPECT_EQ(extract_archive((dir / "a.zip").c_str(), (work + "t").c_str(), events), 0);
        EXPECT_EQ(events.events, (std::vector<int>{0, 100}));
        EXPECT_EQ(events.outcomes, std::vector<bool>{true});
        expect_files(snapshot(work), {{"t\\", ""}, {"t\\ok.txt", "ok"}});
        EXPECT_FALSE(exists("C:\\lumvex_unzip_escape.txt"));
        EXPECT_FALSE(exists("C:\\escape.txt"));
    }
    // Dots inside names are fine.
    const std::string allowed[] = {"..a.txt", "a..b.txt", ".profile", "dir.d/x..y", "....txt"};
    for (const std::string& name : allowed) {
        SCOPED_TRACE(name);
        temp_dir dir;
        ASSERT_TRUE(write_file(dir / "a.zip", build_zip({{"dir.d/", "", 0, 0x10}, {name, "in"}})));
        recorder events;
        EXPECT_EQ(extract_archive((dir / "a.zip").c_str(), (dir / "t").c_str(), events), 1);
        EXPECT_EQ(events.outcomes, std::vector<bool>{false});
        std::string local = name;
        for (char& ch : local) {
            if (ch == '/') ch = '\\';
        }
        EXPECT_EQ(read_file(dir / "t\\" + local), "in");
    }
}

TEST(unzip_zip_signature_test, looks_at_the_first_local_header) {
    const std::string zip = build_zip({{"a.txt", "a"}});
    std::string no_name = zip;
    put_le16(no_name, 26, 0);
    std::string big_upper_size = zip;  // bytes 24..27: upper half of the size, then name length
    put_le32(big_upper_size, 24, 0x80000001u);
    const struct {
        const char* what;
        std::string bytes;
        bool passes;
    } cases[] = {
        {"archive", zip, true},
        {"exactly 32 bytes of it", zip.substr(0, 32), true},
        {"31 bytes", zip.substr(0, 31), false},
        {"data ahead of the first header", "MZ" + zip, false},
        {"empty first name", no_name, false},
        {"negative value at bytes 24 to 27", big_upper_size, false},
        {"end record only", build_zip({}), false},
    };
    temp_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(write_file(dir / "s.zip", c.bytes));
        EXPECT_EQ(zip_signature_test((dir / "s.zip").c_str()), c.passes);
    }
    EXPECT_FALSE(zip_signature_test((dir / "missing.zip").c_str()));
}

TEST(unzip_make_directory_path, creates_missing_levels_only) {
    temp_dir dir;
    const struct {
        const char* what;
        std::string path;  // under the directory
        bool ok;
        files after;
    } cases[] = {
        {"three levels", "a\\b\\c", true, {{"a\\", ""}, {"a\\b\\", ""}, {"a\\b\\c\\", ""}}},
        {"trailing backslash, one existing", "a\\d\\", true,
         {{"a\\", ""}, {"a\\b\\", ""}, {"a\\b\\c\\", ""}, {"a\\d\\", ""}}},
        {"a file in the way", "f.txt\\x", false, {}},
        {"MAX_PATH or more", std::string(300, 'l'), false, {}},
    };
    ASSERT_TRUE(write_file(dir / "f.txt", "f"));
    files expected_so_far = {{"f.txt", "f"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(make_directory_path((dir.path() + c.path).c_str()), c.ok);
        for (const auto& f : c.after) expected_so_far.insert(f);
        expect_files(snapshot(dir.path()), expected_so_far);
    }
    EXPECT_FALSE(make_directory_path("\\\\no-such-server-x\\share\\dir"));
}

// The demo payload, written by minizip's own writer rather than by the test builder: every
// entry its central directory lists comes out with that size, CRC-32 and DOS time.
TEST(unzip_extract_archive, payload_written_by_another_archiver) {
    const byte_set_view payload = byte_set_bytes(payload_archive);
    const std::string zip(reinterpret_cast<const char*>(payload.data), payload.size);
    ASSERT_GE(zip.size(), 22u);
    auto u16 = [&](size_t at) { return static_cast<uint16_t>(uint8_t(zip[at]) | uint8_t(zip[at + 1]) << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16); };
    const size_t end = zip.size() - 22;
    ASSERT_EQ(u32(end), 0x06054b50u);
    struct listed {
        std::string name;
        uint32_t crc, size;
        uint16_t time, date;
    };
    std::vector<listed> entries;
    for (size_t at = u32(end + 16), i = 0; i < u16(end + 10); ++i) {
        ASSERT_EQ(u32(at), 0x02014b50u);
        entries.push_back({zip.substr(at + 46, u16(at + 28)), u32(at + 16), u32(at + 24), u16(at + 12), u16(at + 14)});
        at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
    }
    ASSERT_FALSE(entries.empty());

    temp_dir dir;
    ASSERT_TRUE(write_file(dir / "tool.zip", zip));
    recorder events;
    EXPECT_EQ(extract_archive((dir / "tool.zip").c_str(), (dir / "out").c_str(), events), 1);
    EXPECT_EQ(events.outcomes, std::vector<bool>{false});
    ASSERT_FALSE(events.events.empty());
    EXPECT_EQ(events.events.back(), 100);
    EXPECT_EQ(events.events.size(), entries.size() + 1);
    const files found = snapshot(dir / "out");
    EXPECT_EQ(found.size(), entries.size());
    for (const listed& e : entries) {
        SCOPED_TRACE(e.name);
        const auto file = found.find(e.name);
        ASSERT_NE(file, found.end());
        EXPECT_EQ(file->second.size(), e.size);
        EXPECT_EQ(crc_of(file->second), e.crc);
        const std::string path = dir / ("out\\" + e.name);
        EXPECT_EQ(attributes_of(path) & protective_attributes, 0u);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
        FILETIME dos;
        ASSERT_TRUE(DosDateTimeToFileTime(e.date, e.time, &dos));
        EXPECT_EQ(file_time_value(data.ftLastWriteTime), file_time_value(dos));
    }
}
