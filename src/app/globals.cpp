#include "app/globals.h"

text_array product_names;
int product_index = 0;
text product_name;
text product_list_text;

void release_globals() {
    product_names.clear();
    product_list_text.clear();
    // product_name stays: an install worker may still be reading it while the process ends.
}
