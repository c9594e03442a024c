#pragma once

#include "sim/SimMemory.h"
#include "sim/SimProductKind.h"

#include <array>
#include <string>

// The emulator's state file: the memories of every product as JSON,
//   { "version": 1, "memories": { "mouse": { "params": "<hex>", ... }, ... } }
// Loading is all or nothing: a file that is not such a document, names an
// unknown product or area, or holds an area of the wrong size is refused with
// a sentence saying why, and no memory changes.
class SimStateFile {
public:
    static constexpr int kVersion = 1;
    static constexpr size_t kMaxFileSize = 1 << 20;

    using Memories = std::array<SimMemory*, kAllSimMemoryFamilies.size()>;  // by SimMemoryFamily

    static bool Load(const std::string& file, const Memories& memories, std::string* error);
    // Written to a temporary file beside it, then renamed over the old one.
    static bool Save(const std::string& file, const Memories& memories, std::string* error);
};
