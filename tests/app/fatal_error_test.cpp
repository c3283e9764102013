#include <gtest/gtest.h>

#include "app/fatal_error.h"
#include "runtime/text_array.h"

namespace {

TEST(runtime_error_box_text, lists_the_code_and_message_that_are_given) {
    const struct {
        int code;
        text message;
        text expected;
    } cases[] = {
        {1, index_error_message(1), "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {4, index_error_message(4), "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        {0, window_load_error_message, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        {-7, "", "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n"},
        {0, "", "运行时出错!\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime_error_box_text(c.code, c.message), c.expected) << c.code;
}

}  // namespace
