#include "install/build_constants.h"

const int brand_selector = LUMVEX_BRAND_SELECTOR;
const int configured_product_index = LUMVEX_PRODUCT_INDEX;
