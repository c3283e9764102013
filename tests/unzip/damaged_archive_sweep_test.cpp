// Thousands of damaged archives made from one valid archive of three entries, extracted in
// one process: no crash or hang, nothing written outside the target, and whenever the files
// did not all come out whole, the control is told that the extraction failed.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "unzip/extract_archive.h"
#include "zip_builder.h"

using namespace ziptest;

namespace {

using files = std::map<std::string, std::string>;

std::string text_of(size_t size) {
    std::string s;
    for (size_t i = 0; s.size() < size; ++i) s += "record " + std::to_string(i * 31 % 977) + ";\r\n";
    s.resize(size);
    return s;
}

std::string noise_of(size_t size) {
    std::string s(size, '\0');
    uint32_t seed = 12345;
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return s;
}

struct base_archive {
    std::vector<entry_spec> entries;
    std::string zip;
    zip_layout layout;
    files expected;
};

base_archive make_base() {
    base_archive base;
    entry_spec alpha{"alpha.bin", text_of(40000)};  // deflated, several 16 KB pieces
    alpha.central_extra = extra_block(0x000a, std::string(4, '\0') + le16(1) + le16(24) + std::string(24, '\x01'));
    entry_spec beta{"beta.txt", text_of(300), 0};   // stored
    entry_spec gamma{"gamma.dat", noise_of(5000)};  // deflated, barely compressible
    gamma.local_extra = ut_block(7, {1500000000, 1500000001, 1500000002});
    base.entries = {alpha, beta, gamma};
    base.zip = build_zip(base.entries, &base.layout);
    for (const auto& e : base.entries) base.expected[e.name] = e.data;
    return base;
}

// Names and sizes, short enough for a failure message.
std::string describe(const files& found) {
    std::string out;
    for (const auto& f : found) out += f.first + "(" + std::to_string(f.second.size()) + ") ";
    return out;
}

struct sweep_counts {
    int archives = 0;
    int failed = 0;
    int succeeded = 0;
};

// Runs extractions and aborts the process with the archive's label if one of them hangs.
class sweep_runner {
public:
    sweep_runner() {
        watchdog_ = std::thread([this] {
            int last = -1;
            int still = 0;
            while (!done_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
                const int now = started_;
                still = now == last && busy_ ? still + 1 : 0;
                last = now;
                if (still > 120) {  // 30 s on one archive
                    std::fprintf(stderr, "extraction hangs on: %s\n", label_.c_str());
                    std::fflush(stderr);
                    TerminateProcess(GetCurrentProcess(), 3);
                }
            }
        });
        CreateDirectoryA(work_.c_str(), nullptr);
    }
    ~sweep_runner() {
        done_ = true;
        watchdog_.join();
    }

    void run(const std::string& label, const std::string& zip, const files& expected) {
        label_ = label;
        const std::string target = work_ + "t";
        ASSERT_TRUE(write_file(archive_, zip)) << label;
        recorder events;
        ++started_;
        busy_ = true;
        const int result = extract_archive(archive_.c_str(), target.c_str(), events);
        busy_ = false;
        ++counts.archives;

        ASSERT_TRUE(result == 0 || result == 1) << label << ": result " << result;
        ASSERT_EQ(events.outcomes.size(), 1u) << label;
        const bool failed = events.outcomes[0];
        failed ? ++counts.failed : ++counts.succeeded;
        ASSERT_FALSE(events.events.empty()) << label;
        EXPECT_TRUE(events.events.back() == 100 || events.events == std::vector<int>{0}) << label;

        // Nothing outside the target: the folder around it holds the target and nothing else,
        // and the archive's folder only the archive.
        const files around = snapshot(work_);
        files inside;
        for (const auto& f : around) {
            if (f.first == "t\\") continue;
            if (f.first.compare(0, 2, "t\\") == 0) {
                inside[f.first.substr(2)] = f.second;
            } else {
                ADD_FAILURE() << label << ": written outside the target: " << f.first;
            }
        }
        const files top = snapshot(root_.path());
        for (const auto& f : top) {
            if (f.first != "archive.zip" && f.first.compare(0, 5, "work\\") != 0)
                ADD_FAILURE() << label << ": written outside the target: " << f.first;
        }

        bool all_whole = true;
        for (const auto& e : expected) {
            const auto found = inside.find(e.first);
            all_whole = all_whole && found != inside.end() && found->second == e.second;
        }
        if (!all_whole) {
            EXPECT_TRUE(failed) << label << ": files incomplete, but reported as a success; result " << result
                                << ", events " << testing::PrintToString(events.events) << ", found "
                                << describe(inside);
        }
        // A success leaves exactly the archive's files.
        if (!failed) {
            EXPECT_EQ(describe(inside), describe(expected)) << label;
            EXPECT_EQ(inside == expected, true) << label;
            EXPECT_EQ(result, 1) << label;
        }

        remove_tree(target);
    }

    sweep_counts counts;

private:
    temp_dir root_;
    std::string archive_ = root_ / "archive.zip";
    std::string work_ = root_ / "work\\";
    std::string label_;
    std::atomic<int> started_{0};
    std::atomic<bool> busy_{false};
    std::atomic<bool> done_{false};
    std::thread watchdog_;
};

void report(const char* family, const sweep_counts& counts) {
    std::printf("[ sweep    ] %s: %d archives, %d reported failed, %d succeeded\n", family, counts.archives,
                counts.failed, counts.succeeded);
    testing::Test::RecordProperty("archives", counts.archives);
    testing::Test::RecordProperty("failed", counts.failed);
    testing::Test::RecordProperty("succeeded", counts.succeeded);
}

// Every header of the archive: local headers (with names and extra fields), central headers
// and the end record.
std::vector<zip_layout::part> headers_of(const zip_layout& layout) {
    std::vector<zip_layout::part> parts = layout.local_headers;
    parts.insert(parts.end(), layout.central_headers.begin(), layout.central_headers.end());
    parts.push_back(layout.end_record);
    return parts;
}

}  // namespace

TEST(unzip_damaged_archive_sweep, base_archive_extracts_whole) {
    const base_archive base = make_base();
    sweep_runner runner;
    runner.run("intact", base.zip, base.expected);
    EXPECT_EQ(runner.counts.succeeded, 1);
}

TEST(unzip_damaged_archive_sweep, truncations) {
    const base_archive base = make_base();
    sweep_runner runner;
    // Every length near a header boundary, and a stride through the data.
    std::vector<bool> lengths(base.zip.size(), false);
    for (const auto& part : headers_of(base.layout)) {
        for (size_t edge : {part.offset, part.offset + part.size}) {
            for (size_t n = edge > 40 ? edge - 40 : 0; n < edge + 40 && n < base.zip.size(); ++n) lengths[n] = true;
        }
    }
    for (size_t n = 0; n < base.zip.size(); n += 61) lengths[n] = true;
    for (size_t n = 0; n < lengths.size(); ++n) {
        if (lengths[n]) runner.run("truncated to " + std::to_string(n), base.zip.substr(0, n), base.expected);
    }
    report("truncations", runner.counts);
}

TEST(unzip_damaged_archive_sweep, every_header_byte) {
    const base_archive base = make_base();
    sweep_runner runner;
    const struct {
        const char* how;
        unsigned char (*change)(unsigned char);
    } changes[] = {
        {"flipped", [](unsigned char b) { return static_cast<unsigned char>(b ^ 0xFF); }},
        {"set to 0xFF", [](unsigned char) { return static_cast<unsigned char>(0xFF); }},
        {"set to 0", [](unsigned char) { return static_cast<unsigned char>(0); }},
        {"low bit flipped", [](unsigned char b) { return static_cast<unsigned char>(b ^ 0x01); }},
    };
    for (const auto& part : headers_of(base.layout)) {
        for (size_t at = part.offset; at < part.offset + part.size; ++at) {
            for (const auto& change : changes) {
                std::string zip = base.zip;
                const unsigned char changed = change.change(static_cast<unsigned char>(zip[at]));
                if (changed == static_cast<unsigned char>(zip[at])) continue;
                zip[at] = static_cast<char>(changed);
                runner.run("byte " + std::to_string(at) + " " + change.how, zip, base.expected);
            }
        }
    }
    report("header bytes", runner.counts);
}

TEST(unzip_damaged_archive_sweep, absurd_fields) {
    const base_archive base = make_base();
    sweep_runner runner;
    const uint32_t size = static_cast<uint32_t>(base.zip.size());
    const uint32_t values[] = {0, 1, 22, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, size - 1, size, size * 1000};
    struct field {
        const char* name;
        size_t offset;  // within the header
        int width;
    };
    const field local_fields[] = {{"method", 8, 2},         {"crc", 14, 4},       {"compressed size", 18, 4},
                                  {"uncompressed size", 22, 4}, {"name length", 26, 2}, {"extra length", 28, 2}};
    const field central_fields[] = {{"method", 10, 2},        {"crc", 16, 4},           {"compressed size", 20, 4},
                                    {"uncompressed size", 24, 4}, {"name length", 28, 2}, {"extra length", 30, 2},
                                    {"comment length", 32, 2}, {"disk", 34, 2},          {"external attributes", 38, 4},
                                    {"local offset", 42, 4}};
    const field end_fields[] = {{"disk", 4, 2},          {"central disk", 6, 2},   {"entries here", 8, 2},
                                {"entries", 10, 2},      {"central size", 12, 4},  {"central offset", 16, 4},
                                {"comment length", 20, 2}};
    auto put = [](std::string& zip, size_t at, int width, uint32_t v) {
        if (width == 2) {
            put_le16(zip, at, static_cast<uint16_t>(v));
        } else {
            put_le32(zip, at, v);
        }
    };
    for (size_t e = 0; e < base.entries.size(); ++e) {
        for (const field& f : local_fields) {
            for (uint32_t v : values) {
                std::string zip = base.zip;
                put(zip, base.layout.local_headers[e].offset + f.offset, f.width, v);
                runner.run("entry " + std::to_string(e) + " local " + f.name + " = " + std::to_string(v), zip,
                           base.expected);
            }
        }
        for (const field& f : central_fields) {
            for (uint32_t v : values) {
                std::string zip = base.zip;
                put(zip, base.layout.central_headers[e].offset + f.offset, f.width, v);
                runner.run("entry " + std::to_string(e) + " central " + f.name + " = " + std::to_string(v), zip,
                           base.expected);
            }
        }
        // The same value in both headers, so that they agree with each other.
        for (size_t i = 1; i < 4; ++i) {
            for (uint32_t v : values) {
                std::string zip = base.zip;
                put(zip, base.layout.local_headers[e].offset + local_fields[i].offset, local_fields[i].width, v);
                put(zip, base.layout.central_headers[e].offset + central_fields[i].offset, central_fields[i].width, v);
                runner.run("entry " + std::to_string(e) + " both " + local_fields[i].name + " = " + std::to_string(v),
                           zip, base.expected);
            }
        }
    }
    for (const field& f : end_fields) {
        for (uint32_t v : values) {
            std::string zip = base.zip;
            put(zip, base.layout.end_record.offset + f.offset, f.width, v);
            runner.run(std::string("end ") + f.name + " = " + std::to_string(v), zip, base.expected);
        }
    }
    report("absurd fields", runner.counts);
}

TEST(unzip_damaged_archive_sweep, damaged_data_and_odd_entries) {
    const base_archive base = make_base();
    sweep_runner runner;
    // Bytes of the compressed data damaged, one to three at a time.
    uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < 300; ++i) {
        std::string zip = base.zip;
        const auto& data = base.layout.data[i % base.layout.data.size()];
        const int count = 1 + static_cast<int>(next() % 3);
        for (int k = 0; k < count; ++k) {
            const size_t at = data.offset + next() % data.size;
            zip[at] = static_cast<char>(zip[at] ^ (1 + next() % 255));
        }
        runner.run("data damaged, round " + std::to_string(i), zip, base.expected);
    }
    // Damage anywhere in the file.
    for (int i = 0; i < 300; ++i) {
        std::string zip = base.zip;
        const int count = 1 + static_cast<int>(next() % 4);
        for (int k = 0; k < count; ++k) {
            const size_t at = next() % zip.size();
            zip[at] = static_cast<char>(next());
        }
        runner.run("bytes damaged anywhere, round " + std::to_string(i), zip, base.expected);
    }

    // Archives built oddly on purpose.
    struct odd {
        const char* what;
        std::vector<entry_spec> entries;
    };
    std::vector<odd> odds;
    auto variant = [&](const char* what, auto change) {
        std::vector<entry_spec> entries = base.entries;
        change(entries);
        odds.push_back({what, entries});
    };
    variant("duplicate name, later entry wins", [](std::vector<entry_spec>& e) { e[2].name = e[0].name; });
    variant("duplicate name, stored twice", [](std::vector<entry_spec>& e) { e[1].name = e[0].name; });
    variant("entry announcing a far larger size",
            [](std::vector<entry_spec>& e) { e[0].uncompressed_size = 0x40000000; });
    variant("stored entry announcing a far larger size", [](std::vector<entry_spec>& e) {
        e[1].uncompressed_size = 0x10000000;
        e[1].compressed_size = 0x10000000;
    });
    variant("compressed size far beyond its data", [](std::vector<entry_spec>& e) { e[2].compressed_size = 0x7FFFFFF0; });
    variant("announces fewer bytes than it holds", [](std::vector<entry_spec>& e) { e[0].uncompressed_size = 10; });
    variant("name of 300 bytes", [](std::vector<entry_spec>& e) { e[1].name = std::string(300, 'q'); });
    variant("empty name", [](std::vector<entry_spec>& e) { e[1].name = ""; });
    variant("name climbing out", [](std::vector<entry_spec>& e) { e[1].name = "../../beta.txt"; });
    variant("name of a drive", [](std::vector<entry_spec>& e) { e[1].name = "C:\\lumvex_sweep_beta.txt"; });
    variant("file named like a directory", [](std::vector<entry_spec>& e) { e[1].name = "alpha.bin/"; });
    variant("entry marked as directory", [](std::vector<entry_spec>& e) { e[0].external_attributes = 0x10; });
    variant("Unix directory bit", [](std::vector<entry_spec>& e) { e[2].external_attributes = 0x41ED0000; });
    variant("encrypted flag", [](std::vector<entry_spec>& e) { e[0].flags = 1; });
    variant("data descriptor flag, zero CRC in the local header", [](std::vector<entry_spec>& e) {
        e[0].flags = 8;
        e[0].local_crc = 0;
    });
    variant("huge local extra field", [](std::vector<entry_spec>& e) { e[1].local_extra = std::string(60000, 'x'); });
    variant("extra blocks claiming more than they hold", [](std::vector<entry_spec>& e) {
        e[0].local_extra = "UT" + le16(0xFFFF) + "\x07";
        e[1].local_extra = "ab" + le16(0xFFF0) + "cd" + ut_block(7, {1, 2, 3});
    });
    for (const odd& o : odds) {
        files expected;
        for (const auto& e : o.entries) expected[e.name] = e.data;  // a later entry of the same name wins
        runner.run(o.what, build_zip(o.entries), expected);
    }
    EXPECT_FALSE(exists("C:\\lumvex_sweep_beta.txt"));
    report("damaged data and odd entries", runner.counts);
}
