// The arithmetic and paths of the install worker and the progress handler.
#include <gtest/gtest.h>

#include "install/install_worker.h"
#include "install/progress_handler.h"

namespace {

TEST(progress_bar_position, maximum_over_100_times_percent_truncated) {
    const struct {
        int maximum, percent, expected;
    } cases[] = {
        {100, 0, 0}, {100, 50, 50}, {100, 100, 100}, {100, 33, 33}, {100, 66, 66},
        {205, 50, 102},   // 102.5 truncated
        {205, 100, 204},  // 2.05 * 100 is 204.99999999999997 in double precision
        {205, 33, 67},    // 67.64999...
        {7, 99, 6}, {0, 100, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(progress_bar_position(c.maximum, c.percent), c.expected) << c.maximum << " x " << c.percent;
}

TEST(staging_path, temporary_folder_then_install_drive_root) {
    const struct {
        const char* what;
        text folder_or_directory;
        text in_temp;
        text on_drive;
    } cases[] = {
        {"the usual folders", "C:\\users\\me\\Temp\\", "C:\\users\\me\\Temp\\\\tool.zip", "C:\\tool.zip"},
        {"no temporary folder, an empty caption", "", "\\tool.zip", ":\\tool.zip"},
        {"a network caption", "\\\\server\\share\\", "\\\\server\\share\\\\tool.zip", "\\:\\tool.zip"},
        {"a Chinese caption: the first byte only", "工具", "工具\\tool.zip", "\xB9:\\tool.zip"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(staging_path_in_temp(c.folder_or_directory), c.in_temp) << c.what;
        EXPECT_EQ(staging_path_on_install_drive(c.folder_or_directory), c.on_drive) << c.what;
    }
}

}  // namespace
