// What the folder dialog's outputs give as the chosen folder: the item list, the path lookup
// and the display-name buffer, which the dialog may leave as the 260 spaces it was given.
#include <gtest/gtest.h>

#include "install/folder_chooser.h"

namespace {

const text untouched_buffer(260, ' ');
const text full_width_space = "\xA1\xA1";
const text gbk_trail_question = "\x81\x3F";  // a two-byte character whose second byte is '?'

struct choice_case {
    const char* what;
    bool got_item_list;
    bool path_found;
    text path;
    text display_name;
    text expected;
};

TEST(folder_choice, cases) {
    const choice_case cases[] = {
        {"cancel leaves the buffer of spaces", false, false, "", untouched_buffer, ""},
        {"a folder", true, true, "E:\\Soft", "Soft", "E:\\Soft"},
        {"a nested folder with a Chinese name", true, true, "C:\\工具\\新建", "新建", "C:\\工具\\新建"},
        {"a drive root loses its backslash", true, true, "E:\\", "本地磁盘 (E:)", "E:"},
        {"the display name is not used when a path is found", true, true, "E:\\Soft", untouched_buffer,
         "E:\\Soft"},
        {"a '?' in the display name refuses a found folder", true, true, "E:\\Soft", "So?ft", ""},
        {"a '?' in the display name without an item list", false, false, "", "Server?", ""},
        {"'?' alone between spaces", false, false, "", "  ?  ", ""},
        {"failed path lookup", true, false, "", "Printers", ""},
        {"no item list but a display name", false, false, "", "Server", "\\\\Server"},
        {"ASCII spaces around the display name are trimmed", false, false, "", "  Server   ", "\\\\Server"},
        {"full-width spaces around the display name are trimmed", false, false, "",
         full_width_space + " Server" + full_width_space, "\\\\Server"},
        {"spaces inside the display name stay", false, false, "", " My Server ", "\\\\My Server"},
        {"only full-width spaces is like cancel", false, false, "", full_width_space + full_width_space, ""},
        {"a trail byte '?' is no '?' without an item list", false, false, "", " " + gbk_trail_question + " ",
         "\\\\" + gbk_trail_question},
        {"a trail byte '?' is no '?' with a folder", true, true, "E:\\" + gbk_trail_question, gbk_trail_question,
         "E:\\" + gbk_trail_question},
        {"a real '?' after a trail byte '?'", true, true, "E:\\x", gbk_trail_question + "?", ""},
    };
    for (const choice_case& c : cases)
        EXPECT_EQ(folder_choice(c.got_item_list, c.path_found, c.path, c.display_name), c.expected) << c.what;
}

}  // namespace
