#include <gtest/gtest.h>

#include "runtime/text.h"
#include "runtime/text_array.h"

namespace {

// GBK characters whose trail byte is an ASCII punctuation byte the scanners look for.
const text gbk_trail_pipe = "\x81\x7C";       // trail byte '|'
const text gbk_trail_backslash = "\x81\x5C";  // trail byte '\\' (e.g. "\xCA\x5C" style names)
const text gbk_trail_question = "\x81\x3F";   // trail byte '?'
const text full_width_space = "\xA1\xA1";

struct split_case {
    const char* what;
    text input;
    std::vector<text> items;
};

TEST(split_text, cases) {
    const split_case cases[] = {
        {"empty text gives no items", "", {}},
        {"one name", "a", {"a"}},
        {"adjacent separators keep an empty item", "a||b", {"a", "", "b"}},
        {"final separator adds no item", "a|b|", {"a", "b"}},
        {"leading separator gives an empty first item", "|a", {"", "a"}},
        {"separator alone gives one empty item", "|", {""}},
        {"trail byte equal to the separator is not one", "x" + gbk_trail_pipe + "|y", {"x" + gbk_trail_pipe, "y"}},
        {"Chinese names", "Lumvex工具01|Lumvex工具02", {"Lumvex工具01", "Lumvex工具02"}},
        {"lone lead byte at the end", "a|\x81", {"a", "\x81"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split_text(c.input, "|").items(), c.items) << c.what;
    }
}

TEST(split_text, brand_list_of_fifteen_names) {
    const text list =
        "Lumvex工具01|Lumvex工具02|Lumvex工具03|Lumvex工具04|Lumvex工具05|Lumvex工具06|"
        "Lumvex工具07|Lumvex工具08|Lumvex工具09|Lumvex工具10|Lumvex工具11|Lumvex工具12|"
        "Lumvex工具13|Lumvex工具14|Lumvex工具15";
    const text_array names = split_text(list, "|");
    ASSERT_EQ(names.count(), 15);
    EXPECT_EQ(names.item(14), "Lumvex工具14");
    EXPECT_EQ(names.item(14), "Lumvex\xB9\xA4\xBE\xDF" "14");  // GBK bytes of 工具
}

TEST(trim_text, cases) {
    const struct {
        const char* what;
        text input;
        text expected;
    } cases[] = {
        {"nothing to trim", "abc", "abc"},
        {"ASCII spaces both ends", "  a b  ", "a b"},
        {"full-width spaces both ends", full_width_space + "a" + full_width_space, "a"},
        {"mixed spaces", " " + full_width_space + " a " + full_width_space, "a"},
        {"only spaces", "  " + full_width_space, ""},
        {"empty", "", ""},
        {"tabs and line breaks stay", "\ta\r\n", "\ta\r\n"},
        {"full-width space after a character ending in 0xA1", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        {"0xA1 0xA1 across two characters is not a space", "x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},
        {"trail byte 0x20 is not a space", "a\x81\x20", "a\x81\x20"},
    };
    for (const auto& c : cases) EXPECT_EQ(trim_text(c.input), c.expected) << c.what;
}

TEST(find_text, cases) {
    const struct {
        const char* what;
        text input;
        text needle;
        int start;
        int expected;
    } cases[] = {
        {"found at the start", "?abc", "?", 1, 1},
        {"found later", "ab?c", "?", 1, 3},
        {"absent", "abc", "?", 1, 0},
        {"trail byte equal to the needle", "a" + gbk_trail_question + "b", "?", 1, 0},
        {"after a double-byte character", gbk_trail_question + "?", "?", 1, 3},
        {"bytes compare exactly, no case folding", "ABC", "b", 1, 0},
        {"start skips earlier matches", "?a?", "?", 2, 3},
        {"empty needle", "abc", "", 1, 0},
        {"backslash trail byte", "C:" + gbk_trail_backslash + "\\x", "\\", 1, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(find_text(c.input, c.needle, c.start), c.expected) << c.what;
}

TEST(left_text, counts_bytes) {
    EXPECT_EQ(left_text("D:\\Lumvex", 1), "D");
    EXPECT_EQ(left_text("", 1), "");
    EXPECT_EQ(left_text("工具", 1), "\xB9");  // bytes, not characters
    EXPECT_EQ(left_text("abc", 10), "abc");
    EXPECT_EQ(left_text("abc", 0), "");
}

TEST(text_array, index_checks) {
    const text_array names = split_text("a|b|c", "|");
    const struct {
        int index;
        int error;
    } cases[] = {{1, 0}, {3, 0}, {4, index_above_count_error}, {0, index_below_one_error},
                 {-5, index_below_one_error}, {14, 1}};
    for (const auto& c : cases) EXPECT_EQ(names.index_error(c.index), c.error) << c.index;
    EXPECT_EQ(text_array().index_error(1), index_above_count_error);
    EXPECT_STREQ(index_error_message(1), "数组成员引用下标超出定义范围");
    EXPECT_STREQ(index_error_message(4), "数组成员引用下标必须大于等于1");
}

}  // namespace

namespace {

TEST(decimal_text, signed_decimal) {
    const struct {
        int value;
        text expected;
    } cases[] = {{0, "0"}, {1, "1"}, {14, "14"}, {-1, "-1"}, {2147483647, "2147483647"},
                 {-2147483647 - 1, "-2147483648"}};
    for (const auto& c : cases) EXPECT_EQ(decimal_text(c.value), c.expected);
}

}  // namespace
