#include "runtime/text_array.h"

#include "app/fatal_error.h"

const text& text_array::item(int index) const {
    if (const int code = index_error(index)) fatal_runtime_error(code, index_error_message(code));
    return items_[static_cast<size_t>(index - 1)];
}

const char* index_error_message(int code) {
    return code == index_below_one_error ? "数组成员引用下标必须大于等于1"
                                         : "数组成员引用下标超出定义范围";
}
