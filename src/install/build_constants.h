// Build constants chosen by the publisher at configure time (one translation unit per
// installer, so that variants of the installer can be built side by side).
#pragma once

extern const int brand_selector;
extern const int configured_product_index;
