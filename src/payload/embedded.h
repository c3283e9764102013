// The byte-set constants embedded in the program.
#pragma once
#include "payload/byte_set.h"

extern "C" {
// The payload archive: the product's files as one ZIP archive.
extern const unsigned char payload_archive[];
// The finish picture of the install button (JPEG, 220 × 80).
extern const unsigned char finish_picture[];
}
