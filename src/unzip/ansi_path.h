// Character walks over paths in the ANSI code page: a lead byte of a double-byte character
// takes the byte after it along, so a trail byte equal to "\\" or "/" is never a separator.
#pragma once
#include <cstddef>

#include "runtime/text.h"

// Bytes of the character that starts at `pos` (2 for a lead byte with a byte after it, else 1).
size_t path_char_size(const text& path, size_t pos);

// Whether the last character of `path` is a backslash (not the trail byte of a character).
bool last_char_is_backslash(const text& path);

// Whether an entry name, joined to a directory, could lead out of it: it begins with a
// separator, holds a ":" (a drive or a stream), or has a component made only of dots and
// spaces with at least two dots (".." and the forms Windows trims to it).
bool name_leaves_directory(const text& name);
