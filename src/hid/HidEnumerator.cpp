#include "hid/HidEnumerator.h"

#include "hid/DefaultHidBackend.h"
#include "hid/HidBackend.h"
#include "hid/HidPath.h"
#include "hid/ReportDescriptorParser.h"

HidEnumerator::HidEnumerator() : m_backend(DefaultHidBackend()) {}

HidEnumerator::HidEnumerator(HidBackend& backend) : m_backend(backend) {}

std::vector<std::string> HidEnumerator::PathsOf(const HidNode& node)
{
    std::vector<std::string> paths;
    const auto descriptor = ReportDescriptorParser::Parse(node.reportDescriptor);
    if (!descriptor)
        return paths;
    const size_t count = descriptor->collections.size();
    for (size_t i = 0; i < count && i < 0xFFFF; ++i) {
        const auto collection = static_cast<uint16_t>(count == 1 ? 0 : i + 1);
        paths.push_back(HidPath::Make(node.devicePath, node.vendorId, node.productId, node.interfaceNumber,
                                      collection));
    }
    return paths;
}

bool HidEnumerator::Enumerate()
{
    ReleaseList();
    for (const auto& node : m_backend.ListNodes())
        for (auto& path : PathsOf(node))
            m_paths.push_back(std::move(path));
    return true;
}

std::optional<std::string> HidEnumerator::NextPath()
{
    if (m_cursor >= m_paths.size())
        return std::nullopt;
    return m_paths[m_cursor++];
}

void HidEnumerator::ReleaseList()
{
    m_paths.clear();
    m_cursor = 0;
}
