#pragma once

#include "hid/HidBackend.h"

#include <filesystem>
#include <string>

// The hidraw nodes of the running kernel, read from sysfs. Both roots can be
// moved for tests.
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
    std::optional<HidNode> ReadNode(const std::string& name) const;

    std::filesystem::path m_sysRoot;
    std::filesystem::path m_devRoot;
};
