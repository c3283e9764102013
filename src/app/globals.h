// The program's globals: written on the main thread before the window is shown, read after.
#pragma once
#include "runtime/text_array.h"

extern text_array product_names;
extern int product_index;
extern text product_name;
extern text product_list_text;

// Frees the globals that only the main thread reads; registered at start-up, run once by
// the orderly shutdown.
void release_globals();
