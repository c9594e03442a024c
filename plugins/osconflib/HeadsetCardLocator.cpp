#include "HeadsetCardLocator.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

std::optional<int> ParseCardNumber(std::string_view text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 0)
        return std::nullopt;
    return number;
}

std::string FirstLine(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// Card numbers of the "cardN" folders, in ascending order.
std::vector<int> CardNumbers(const std::filesystem::path& root)
{
    std::vector<int> cards;
    std::error_code error;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("card", 0) != 0)
            continue;
        if (auto number = ParseCardNumber(std::string_view(name).substr(4)))
            cards.push_back(*number);
    }
    std::sort(cards.begin(), cards.end());
    return cards;
}

} // namespace

HeadsetCardLocator::HeadsetCardLocator(std::filesystem::path procRoot) : m_procRoot(std::move(procRoot)) {}

std::optional<int> HeadsetCardLocator::Find(const std::string& override) const
{
    return override.empty() ? FindByUsbId() : FindByOverride(override);
}

std::optional<int> HeadsetCardLocator::FindFromEnvironment() const
{
    const char* value = std::getenv(kOverrideVariable);
    return Find(value ? value : "");
}

std::optional<int> HeadsetCardLocator::FindByOverride(const std::string& override) const
{
    std::string_view name = override;
    if (name.rfind("hw:", 0) == 0)
        name.remove_prefix(3);
    for (const int card : CardNumbers(m_procRoot)) {
        const auto folder = m_procRoot / ("card" + std::to_string(card));
        if (ParseCardNumber(name) == card || FirstLine(folder / "id") == name)
            return card;
    }
    return std::nullopt;
}

std::optional<int> HeadsetCardLocator::FindByUsbId() const
{
    for (const int card : CardNumbers(m_procRoot)) {
        if (FirstLine(m_procRoot / ("card" + std::to_string(card)) / "usbid") == kUsbId)
            return card;
    }
    return std::nullopt;
}
