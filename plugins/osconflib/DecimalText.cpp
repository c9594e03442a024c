#include "DecimalText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

std::string FormatDecimal(double value)
{
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? std::string(text.data(), end) : std::string("0");
}

std::optional<double> ParseDecimal(const char* text, std::size_t size)
{
    std::string_view view(text, ::strnlen(text, size));
    const auto first = view.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    view = view.substr(first, view.find_last_not_of(" \t") - first + 1);
    if (view.front() == '+')
        view.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (error != std::errc() || end != view.data() + view.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
