// A one-dimensional array of texts addressed from 1. An index below 1 and an index beyond the
// last item are the fatal run-time errors 4 and 1.
#pragma once
#include "runtime/text.h"

class text_array {
public:
    text_array() = default;
    explicit text_array(std::vector<text> items) : items_(std::move(items)) {}

    int count() const { return static_cast<int>(items_.size()); }
    const std::vector<text>& items() const { return items_; }

    // 0 when `index` addresses an item, else the fatal run-time error code it raises.
    int index_error(int index) const;

    // The item at `index`; a bad index ends the process through the fatal run-time error.
    const text& item(int index) const;

    void clear() { items_.clear(); }

private:
    std::vector<text> items_;
};

// Code and message of the fatal run-time errors that an index check raises.
constexpr int index_above_count_error = 1;
constexpr int index_below_one_error = 4;
const char* index_error_message(int code);

inline int text_array::index_error(int index) const {
    if (index - 1 < 0) return index_below_one_error;
    if (index - 1 >= count()) return index_above_count_error;
    return 0;
}
