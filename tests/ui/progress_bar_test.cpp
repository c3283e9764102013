#include <gtest/gtest.h>

#include "ui/progress_bar.h"

namespace {

TEST(progress_bar, positions_are_clamped_to_the_range_within_0_to_32767) {
    const struct {
        int value, minimum, maximum, expected;
    } cases[] = {
        {50, 0, 100, 50}, {-5, 0, 100, 0}, {150, 0, 100, 100}, {100, 0, 100, 100},
        {40000, 0, 40000, 32767}, {5, 10, 20, 10}, {-1, -10, 100, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clamp_progress_value(c.value, c.minimum, c.maximum), c.expected)
            << c.value << " in " << c.minimum << ".." << c.maximum;
}

}  // namespace
