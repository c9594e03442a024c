#pragma once

#include <filesystem>
#include <string>

// A self-signed certificate for 127.0.0.1 made at test time, as PEM files.
struct TestCertificate {
    std::filesystem::path certFile;
    std::filesystem::path keyFile;
};

// Writes "<stem>.crt" and "<stem>.key" into `folder`; throws on failure.
TestCertificate MakeSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem);
