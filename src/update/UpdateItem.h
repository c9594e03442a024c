#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of the update item table: a product's firmware, or the program.
struct UpdateItem {
    uint32_t hexFlag = 0;  // non-zero: versions are hexadecimal (firmware); 0: decimal (program)
    uint32_t subCode = 0;
    uint32_t version = 0;  // current version; 0: the item is absent
    std::string vendor;
    std::string model;  // "ALL" marks the program item
    std::string type;
    std::string name;         // display name and base name of the installer file
    std::string versionText;  // version shown for the program item

    bool IsProgram() const { return model == "ALL"; }
    bool IsHex() const { return hexFlag != 0; }
};

// The four rows, versions 0: mouse, keyboard, mouse pad, then the program.
std::vector<UpdateItem> UpdateItemTable();

// "NULL" for an absent item, else vendor_hexflag_model_type_subcode.
std::string MakeAppKey(const UpdateItem& item);

// "V%04x" for hexadecimal versions, "V%d" for decimal ones.
std::string FormatVersionText(uint32_t version, bool hex);
