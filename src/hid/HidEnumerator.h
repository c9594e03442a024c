#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class HidBackend;
struct HidNode;

// Lists the HID interfaces present: one path per top-level collection of
// every node, "<node>#vid_xxxx&pid_xxxx&mi_xx&colxx" ("&col" left out for a
// node with a single collection).
class HidEnumerator {
public:
    HidEnumerator();
    explicit HidEnumerator(HidBackend& backend);

    // Replaces the list with the interfaces present now. A node whose report
    // descriptor cannot be parsed shows no interface.
    bool Enumerate();
    // The next listed path, or nullopt at the end of the list.
    std::optional<std::string> NextPath();
    void ReleaseList();

    const std::vector<std::string>& Paths() const { return m_paths; }
    size_t Count() const { return m_paths.size(); }

    // The interface paths of one node.
    static std::vector<std::string> PathsOf(const HidNode& node);

private:
    HidBackend& m_backend;
    std::vector<std::string> m_paths;
    size_t m_cursor = 0;
};
