#pragma once

#include "update/UpdateItem.h"

#include <cstdint>
#include <vector>

// A product that is present, with its firmware version number.
struct PresentProduct {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
};

// The update item table with the versions filled: each product row takes the
// version of its product when present (the mouse by cable or through its
// receiver), else 0; the program row takes `programVersion` and shows it.
std::vector<UpdateItem> BuildUpdateItems(const std::vector<PresentProduct>& present, uint32_t programVersion);

// The items worth asking about: those with a version.
std::vector<UpdateItem> ItemsToQuery(const std::vector<UpdateItem>& items);
