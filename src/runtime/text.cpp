#include "runtime/text.h"
#include "runtime/text_array.h"

namespace {

bool is_lead_byte(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }

bool matches_at(const text& s, size_t pos, const text& what) {
    return !what.empty() && s.compare(pos, what.size(), what) == 0;
}

const char full_width_space[] = "\xA1\xA1";

// Byte offsets where each character of `s` begins.
std::vector<size_t> char_starts(const text& s) {
    std::vector<size_t> starts;
    for (size_t pos = 0; pos < s.size(); pos += char_length_at(s, pos)) starts.push_back(pos);
    return starts;
}

}  // namespace

size_t char_length_at(const text& s, size_t pos) {
    return is_lead_byte(s[pos]) && pos + 1 < s.size() ? 2 : 1;
}

text_array split_text(const text& s, const text& separator) {
    std::vector<text> items;
    size_t piece = 0;
    size_t pos = 0;
    while (pos < s.size()) {
        if (matches_at(s, pos, separator)) {
            items.push_back(s.substr(piece, pos - piece));
            pos += separator.size();
            piece = pos;
        } else {
            pos += char_length_at(s, pos);
        }
    }
    if (piece < s.size()) items.push_back(s.substr(piece));
    return text_array(std::move(items));
}

text trim_text(const text& s) {
    const std::vector<size_t> starts = char_starts(s);
    auto is_space = [&](size_t i) {
        const size_t len = (i + 1 < starts.size() ? starts[i + 1] : s.size()) - starts[i];
        return (len == 1 && s[starts[i]] == ' ') ||
               (len == 2 && s.compare(starts[i], 2, full_width_space) == 0);
    };
    size_t first = 0;
    size_t last = starts.size();
    while (first < last && is_space(first)) ++first;
    while (last > first && is_space(last - 1)) --last;
    if (first == last) return text();
    const size_t end = last < starts.size() ? starts[last] : s.size();
    return s.substr(starts[first], end - starts[first]);
}

int find_text(const text& s, const text& what, int start) {
    if (what.empty() || start < 1) return 0;
    for (size_t pos = 0; pos < s.size(); pos += char_length_at(s, pos)) {
        if (pos + 1 >= static_cast<size_t>(start) && matches_at(s, pos, what))
            return static_cast<int>(pos) + 1;
    }
    return 0;
}

text left_text(const text& s, int count) {
    if (count <= 0) return text();
    return s.substr(0, static_cast<size_t>(count));
}

text decimal_text(int value) {
    // Through an unsigned value, so that the most negative number has its magnitude too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    text digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return value < 0 ? "-" + digits : digits;
}
