// The brand table: its rows in the order they are tested, their folders and product lists.
#include <gtest/gtest.h>

#include <vector>

#include "install/brand_table.h"
#include "runtime/text_array.h"

namespace {

struct expected_row {
    int selector;
    int product_count;
};

// Selectors 6, 12 and 18 have no row; 9 is tested before 7 and 8.
const expected_row rows[] = {
    {0, 15}, {1, 11}, {2, 1},  {3, 1},  {4, 1},  {5, 1},  {9, 1},  {7, 1},  {8, 11}, {10, 1}, {11, 1},
    {13, 1}, {14, 1}, {15, 1}, {16, 1}, {17, 1}, {19, 1}, {20, 1}, {21, 1}, {22, 1}, {23, 1},
};

TEST(brand_table, rows_in_test_order_with_their_list_sizes) {
    ASSERT_EQ(brand_table_rows, static_cast<int>(std::size(rows)));
    for (int i = 0; i < brand_table_rows; ++i) {
        const brand_row& row = brand_table[i];
        EXPECT_EQ(row.selector, rows[i].selector) << "row " << i;
        const text_array names = split_text(row.product_list, "|");
        EXPECT_EQ(names.count(), rows[i].product_count) << "selector " << row.selector;
        for (const text& name : names.items()) EXPECT_FALSE(name.empty()) << "selector " << row.selector;
        const text folder = row.company_folder;
        ASSERT_FALSE(folder.empty()) << "selector " << row.selector;
        EXPECT_EQ(folder.back(), '\\') << "selector " << row.selector;
        EXPECT_GT(folder.size(), 1u) << "a folder name before the backslash, selector " << row.selector;
    }
}

TEST(brand_table, row_0_is_the_lumvex_brand) {
    const brand_row* row = find_brand_row(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(text(row->company_folder), "Lumvex软件\\");
    const text_array names = split_text(row->product_list, "|");
    ASSERT_EQ(names.count(), 15);
    for (int i = 1; i <= 15; ++i) {
        const text number = (i < 10 ? "0" : "") + std::to_string(i);
        EXPECT_EQ(names.item(i), "Lumvex工具" + number);
    }
    EXPECT_EQ(names.item(14), "Lumvex\xB9\xA4\xBE\xDF" "14") << "GBK bytes of 工具";
}

TEST(brand_table, lookup_finds_each_row_and_none_for_missing_selectors) {
    for (int i = 0; i < brand_table_rows; ++i)
        EXPECT_EQ(find_brand_row(brand_table[i].selector), &brand_table[i]) << brand_table[i].selector;
    for (const int missing : {6, 12, 18, -1, 24})
        EXPECT_EQ(find_brand_row(missing), nullptr) << missing;
}

}  // namespace
