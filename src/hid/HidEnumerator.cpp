#include "hid/HidEnumerator.h"

#include "hid/DefaultHidBackend.h"
#include "hid/HidPath.h"
#include "hid/ReportDescriptorParser.h"

#include <algorithm>

namespace {

bool SameNode(const HidNode& a, const HidNode& b)
{
    return a.devicePath == b.devicePath && a.vendorId == b.vendorId && a.productId == b.productId
        && a.interfaceNumber == b.interfaceNumber && a.reportDescriptor == b.reportDescriptor;
}

} // namespace

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

const std::vector<std::string>& HidEnumerator::PathsOfListed(const HidNode& node, std::vector<KnownNode>& known)
{
    auto it = std::find_if(m_known.begin(), m_known.end(), [&](const KnownNode& k) { return SameNode(k.node, node); });
    if (it != m_known.end())
        known.push_back(std::move(*it));
    else
        known.push_back(KnownNode{node, PathsOf(node)});
    return known.back().paths;
}

bool HidEnumerator::Enumerate()
{
    ReleaseList();
    std::vector<KnownNode> known;
    for (const auto& node : m_backend.ListNodes())
        for (const auto& path : PathsOfListed(node, known))
            m_paths.push_back(path);
    // Nodes no longer listed are forgotten.
    m_known = std::move(known);
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
