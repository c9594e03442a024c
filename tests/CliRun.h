#pragma once

#include "TempFolder.h"

// Runs the built gaming-device-cli from a test, the way a user would, and
// keeps what it printed.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

// How one run of the program ended and what it printed.
struct CliRun {
    int status = -1;  // exit code; -1 when it crashed, did not start or did not end in time
    std::string out;
    std::string err;
};

// The programs are built into one folder, the test programs among them.
inline std::filesystem::path CliRuntimeDir()
{
    if (const char* dir = std::getenv("GD_RUNTIME_DIR"); dir && *dir)
        return dir;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// gaming-device-cli with these arguments; a run that takes more than 30 s is
// killed.
inline CliRun RunCli(const std::vector<std::string>& args)
{
    QStringList list;
    for (const auto& a : args)
        list << QString::fromStdString(a);
    QProcess process;
    process.start(QString::fromStdString((CliRuntimeDir() / "gaming-device-cli").string()), list);
    CliRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// RunCli with the arguments written as one line, separated by white space.
inline CliRun RunCliLine(const std::string& line)
{
    std::vector<std::string> args;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        args.push_back(word);
    return RunCli(args);
}

// A fresh folder for a test's runs, removed with everything in it afterwards.
// Its "data" folder serves as the data root, over the shipped factory data.
class CliFolder : public TempFolder {
public:
    CliFolder() : TempFolder("gd-cli") {}

    std::filesystem::path DataRoot() const { return Path() / "data"; }

    // "--data-root" and "--default-data" for a run on this folder's data root.
    std::vector<std::string> DataOptions() const
    {
        return {"--data-root", DataRoot().string(), "--default-data", ShippedData().string()};
    }

    // The source tree's "DefaultData" when the test is told where the source
    // is, else the copy built beside the programs.
    static std::filesystem::path ShippedData()
    {
        if (const char* source = std::getenv("GD_SOURCE_DIR"); source && *source)
            return std::filesystem::path(source) / "DefaultData";
        return CliRuntimeDir() / "DefaultData";
    }
};
