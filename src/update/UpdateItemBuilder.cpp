#include "update/UpdateItemBuilder.h"

#include <algorithm>
#include <array>

namespace {

struct ProductId {
    uint16_t vendorId;
    uint16_t productId;
};

// The products of the first three rows, in the order they are looked for.
const std::array<std::vector<ProductId>, 3> kRowProducts = {{
    {{0x320F, 0x221C}, {0x320F, 0x222F}},  // mouse by cable, then its receiver
    {{0x320F, 0x0000}},                    // keyboard (both links)
    {{0x320F, 0x1004}},                    // mouse pad
}};

uint16_t VersionOf(const std::vector<PresentProduct>& present, const std::vector<ProductId>& ids)
{
    for (const ProductId& id : ids)
        for (const PresentProduct& product : present)
            if (product.vendorId == id.vendorId && product.productId == id.productId && product.version != 0)
                return product.version;
    return 0;
}

} // namespace

std::vector<UpdateItem> BuildUpdateItems(const std::vector<PresentProduct>& present, uint32_t programVersion)
{
    std::vector<UpdateItem> items = UpdateItemTable();
    for (size_t row = 0; row < kRowProducts.size(); ++row)
        items[row].version = VersionOf(present, kRowProducts[row]);
    UpdateItem& program = items.back();
    program.version = programVersion;
    // The shown version is the one that is sent, not a fixed text.
    if (programVersion != 0)
        program.versionText = FormatVersionText(programVersion, false);
    return items;
}

std::vector<UpdateItem> ItemsToQuery(const std::vector<UpdateItem>& items)
{
    std::vector<UpdateItem> wanted;
    std::copy_if(items.begin(), items.end(), std::back_inserter(wanted), [](const UpdateItem& item) { return item.version != 0; });
    return wanted;
}
