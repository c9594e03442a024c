#include "update/UpdateItem.h"

#include <cstdio>

std::vector<UpdateItem> UpdateItemTable()
{
    return {
        {1, 1, 0, "MIRVA", "QX27M58R", "MS", "MS", ""},
        {1, 1, 0, "MIRVA", "QX27M93R", "KB", "KB", ""},
        {2, 1, 0, "MIRVA", "QX27M40R_1", "T62", "T62", ""},
        {0, 1, 0, "MIRVA", "ALL", "MS", "AP", "V1000"},
    };
}

std::string MakeAppKey(const UpdateItem& item)
{
    if (item.version == 0)
        return "NULL";
    return item.vendor + "_" + std::to_string(item.hexFlag) + "_" + item.model + "_" + item.type + "_" +
        std::to_string(item.subCode);
}

std::string FormatVersionText(uint32_t version, bool hex)
{
    char text[16];
    std::snprintf(text, sizeof text, hex ? "V%04x" : "V%u", version);
    return text;
}
