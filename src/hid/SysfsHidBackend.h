#pragma once

#include "hid/HidBackend.h"

#include <dirent.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The hidraw nodes of the running kernel, read from sysfs. Both roots can be
// moved for tests.
//
// The facts of a node are read once and kept while its class entry stays the
// same entry: sysfs makes the entry anew, with a number it never gave before,
// whenever the hidraw device is made (another device under the same name, or
// the same device bound again), so the entry's inode number from the listing
// tells a kept node from a replaced one without reading anything else.
class SysfsHidBackend : public HidBackend {
public:
    explicit SysfsHidBackend(std::string sysRoot = "/sys", std::string devRoot = "/dev");

    std::vector<HidNode> ListNodes() override;
    std::optional<HidNode> QueryNode(const std::string& devicePath) override;
    // Neither read nor write opens the node without access rights (O_PATH):
    // enough to learn that it is still there.
    UniqueFd OpenNode(const std::string& devicePath, bool read, bool write) override;
    bool SetOutputReport(int fd, const uint8_t* report, size_t length) override;

private:
    struct Entry {
        std::string name;
        ino_t inode = 0;  // 0: unknown, never kept
    };
    struct KnownEntry {
        std::string name;
        ino_t inode = 0;
        HidNode node;
    };
    struct DirCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };

    std::optional<HidNode> ReadNode(const std::string& name) const;
    std::vector<Entry> Entries();
    ino_t EntryInode(const std::string& name) const;
    // The node of a class entry, from the cache while the entry is the same.
    std::optional<HidNode> Node(const std::string& name, ino_t inode);

    std::filesystem::path m_sysRoot;
    std::filesystem::path m_devRoot;
    std::filesystem::path m_classDir;

    static constexpr std::chrono::seconds kReopenEmptyFolder{1};
    std::mutex m_folderMutex;
    std::unique_ptr<DIR, DirCloser> m_folder;  // the class folder, guarded by m_folderMutex
    std::chrono::steady_clock::time_point m_folderOpened;
    uint64_t m_emptyListings = 0;  // listings in a row that found nothing

    std::mutex m_cacheMutex;
    std::vector<KnownEntry> m_known;
};
