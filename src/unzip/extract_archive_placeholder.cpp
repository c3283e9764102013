#include "unzip/extract_archive.h"
int extract_archive(const char*, const char*, extraction_events&) { return -1; }
