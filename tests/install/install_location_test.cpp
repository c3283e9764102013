// The default drive: the megabytes of drive D:'s three byte counts and the root they choose.
#include <gtest/gtest.h>

#include <cstdint>

#include "install/install_location.h"

namespace {

constexpr uint64_t mb = 1048576;

struct drive_case {
    const char* what;
    uint64_t available_to_caller, total, total_free;  // as GetDiskFreeSpaceExA reports them
    int64_t used_mb, free_mb, total_mb;
    const char* root;
};

TEST(drive_decision, byte_counts_to_megabytes_and_root) {
    const drive_case cases[] = {
        {"exactly 1000 free megabytes chooses D:", 1000 * mb, 4000 * mb, 1000 * mb, 3000, 1000, 4000, "D:\\"},
        {"one byte less is 999 megabytes: C:", 1000 * mb - 1, 4000 * mb, 1000 * mb - 1, 3000, 999, 4000, "C:\\"},
        {"a full or read-only disc: C:", 0, 700 * mb, 0, 700, 0, 700, "C:\\"},
        {"a small quota does not matter, the volume's free space does", 10 * mb, 8000 * mb, 5000 * mb, 7990, 5000,
         8000, "D:\\"},
        {"a large quota on a nearly full volume: C:", 5000 * mb, 8000 * mb, 999 * mb, 3000, 999, 8000, "C:\\"},
        {"fractions of a megabyte are dropped", 500 * mb + 1, 2000 * mb + mb - 1, 1000 * mb + mb - 1, 1500, 1000,
         2000, "D:\\"},
        // A quota above the volume's size leaves a negative used count, truncated toward zero.
        {"negative used count truncates toward zero", 3 * mb / 2, 0, 0, -1, 0, 0, "C:\\"},
        // Counts at or above 2^63 read as negative; -1 byte is 0 megabytes, not -1.
        {"counts read as signed", 0, 0, UINT64_MAX, 0, 0, 0, "C:\\"},
        // The arithmetic is in double precision: 2^62 + 2^20 - 1 rounds up to 2^62 + 2^20
        // before the division, so the fraction that integer division would drop is gone.
        {"double precision before the division", 0, (1ull << 62) + mb - 1, (1ull << 62) + mb - 1,
         (1ll << 42) + 1, (1ll << 42) + 1, (1ll << 42) + 1, "D:\\"},
    };
    for (const drive_case& c : cases) {
        int64_t used = 0, free = 0, total = 0;
        bytes_to_mb(c.available_to_caller, c.total, c.total_free, used, free, total);
        EXPECT_EQ(used, c.used_mb) << c.what;
        EXPECT_EQ(free, c.free_mb) << c.what;
        EXPECT_EQ(total, c.total_mb) << c.what;
        EXPECT_EQ(install_root(free), c.root) << c.what;
    }
}

TEST(drive_decision, root_threshold_is_a_signed_comparison) {
    EXPECT_EQ(install_root(1000), "D:\\");
    EXPECT_EQ(install_root(999), "C:\\");
    EXPECT_EQ(install_root(-1), "C:\\");
    EXPECT_EQ(install_root(INT64_MIN), "C:\\");
}

TEST(disk_space_mb, failed_query_keeps_the_callers_values) {
    ASSERT_EQ(GetDriveTypeA("q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << "this test needs a missing drive Q:";
    for (const int64_t start : {int64_t{0}, int64_t{7}}) {
        int64_t used = start, free = start + 1, total = start + 2;
        EXPECT_FALSE(disk_space_mb("q:", used, free, total));
        EXPECT_EQ(used, start);
        EXPECT_EQ(free, start + 1);
        EXPECT_EQ(total, start + 2);
        EXPECT_EQ(install_root(free), "C:\\");
    }
}

TEST(disk_space_mb, existing_drive_reports_consistent_megabytes) {
    int64_t used = -5, free = -5, total = -5;
    ASSERT_TRUE(disk_space_mb("c:", used, free, total));
    EXPECT_GT(total, 0);
    EXPECT_GE(free, 0);
    EXPECT_LE(free, total);
    EXPECT_GE(used, 0);
    EXPECT_LE(used, total);
}

}  // namespace
