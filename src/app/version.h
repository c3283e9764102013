// The program's version, read by its resource script and its code alike.
#pragma once
#define LUMVEX_VERSION_NUMBERS 6, 0, 0, 0
#define LUMVEX_VERSION_TEXT "6.0.0.0"
