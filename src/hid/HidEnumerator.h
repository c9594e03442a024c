#pragma once

#include "hid/HidBackend.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Lists the HID interfaces present: one path per top-level collection of
// every node, "<node>#vid_xxxx&pid_xxxx&mi_xx&colxx" ("&col" left out for a
// node with a single collection).
class HidEnumerator {
public:
    HidEnumerator();
    explicit HidEnumerator(HidBackend& backend);

    // Replaces the list with the interfaces present now. A node whose report
    // descriptor cannot be parsed shows no interface. The paths of a node that
    // is listed again unchanged (same path, identity and descriptor) are kept
    // from the previous call instead of being worked out again.
    bool Enumerate();
    // The next listed path, or nullopt at the end of the list.
    std::optional<std::string> NextPath();
    void ReleaseList();

    const std::vector<std::string>& Paths() const { return m_paths; }
    size_t Count() const { return m_paths.size(); }

    // The interface paths of one node.
    static std::vector<std::string> PathsOf(const HidNode& node);

private:
    struct KnownNode {
        HidNode node;
        std::vector<std::string> paths;
    };
    const std::vector<std::string>& PathsOfListed(const HidNode& node, std::vector<KnownNode>& known);

    HidBackend& m_backend;
    std::vector<std::string> m_paths;
    size_t m_cursor = 0;
    std::vector<KnownNode> m_known;  // the nodes of the last listing
};
