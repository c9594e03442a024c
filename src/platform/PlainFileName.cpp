#include "platform/PlainFileName.h"

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}
