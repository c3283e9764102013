// The brand table: a company folder and a list of product names per brand selector, tested
// in table order. Shared by the installer and the build's payload check.
#pragma once

struct brand_row {
    int selector;
    const char* company_folder;  // ends in a backslash
    const char* product_list;    // product names separated by "|"
};

extern const brand_row brand_table[];
extern const int brand_table_rows;

// The first row whose selector equals `selector`, or nullptr.
const brand_row* find_brand_row(int selector);
