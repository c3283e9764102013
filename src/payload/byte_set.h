// A byte set: a 32-bit dimension count (1), a 32-bit byte count, then the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

struct byte_set_view {
    const unsigned char* data;
    size_t size;
};

inline byte_set_view byte_set_bytes(const unsigned char* byte_set) {
    int32_t count;
    std::memcpy(&count, byte_set + 4, sizeof(count));
    return {byte_set + 8, count > 0 ? static_cast<size_t>(count) : 0};
}
