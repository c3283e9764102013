// Texts are byte strings in the system ANSI code page (GBK here). Scanning operations step
// by characters: a byte with its high bit set begins a two-byte character, so no byte inside
// such a character matches a separator or a searched text.
#pragma once
#include <string>
#include <vector>

using text = std::string;

class text_array;

// Byte count of the character that starts at `pos` (1 or 2; 1 at the last byte).
size_t char_length_at(const text& s, size_t pos);

// Pieces between separators, empty ones kept; nothing after a final separator; none for "".
text_array split_text(const text& s, const text& separator);

// Removes ASCII spaces and full-width spaces (0xA1 0xA1) at both ends, nothing else.
text trim_text(const text& s);

// 1-based position of the first occurrence of `what` at or after character position
// `start` (1-based byte position), 0 when there is none. Bytes compare exactly.
int find_text(const text& s, const text& what, int start = 1);

// The first `count` bytes (bytes, not characters).
text left_text(const text& s, int count);

// A number in decimal, with a minus sign when negative.
text decimal_text(int value);
