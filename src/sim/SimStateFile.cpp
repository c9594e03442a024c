#include "sim/SimStateFile.h"

#include "platform/HexText.h"

#include <json/json.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

namespace {

bool Fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

std::optional<SimMemoryFamily> FamilyFromName(const std::string& name)
{
    for (SimMemoryFamily family : kAllSimMemoryFamilies) {
        if (SimFamilyName(family) == name)
            return family;
    }
    return std::nullopt;
}

struct StagedRegion {
    SimMemory* memory;
    SimRegion region;
    std::vector<uint8_t> bytes;
};

} // namespace

bool SimStateFile::Load(const std::string& file, const Memories& memories, std::string* error)
{
    const std::string where = "The emulator state file \"" + file + "\"";
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Fail(error, where + " cannot be opened: " + std::strerror(errno) + ".");
    std::string text;
    std::vector<char> chunk(64 * 1024);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<size_t>(in.gcount()));
        if (text.size() > kMaxFileSize)
            return Fail(error, where + " is larger than any state the emulator writes; it was not loaded.");
    }

    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["allowSpecialFloats"] = false;
    builder["rejectDupKeys"] = true;
    builder["failIfExtra"] = true;
    Json::Value root;
    std::string parseErrors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    bool parsed = false;
    try {
        parsed = reader->parse(text.data(), text.data() + text.size(), &root, &parseErrors);
    } catch (const std::exception& e) {
        parseErrors = e.what();
    }
    if (!parsed)
        return Fail(error, where + " is not valid JSON: " + parseErrors);
    if (!root.isObject())
        return Fail(error, where + " does not hold an emulator state object.");
    const Json::Value& version = root["version"];
    if (!version.isInt() || version.asInt() != kVersion)
        return Fail(error, where + " has no \"version\" " + std::to_string(kVersion) + "; it was not written by this emulator.");
    const Json::Value& all = root["memories"];
    if (!all.isObject())
        return Fail(error, where + " has no \"memories\" object.");

    std::vector<StagedRegion> staged;
    for (const std::string& familyName : all.getMemberNames()) {
        const auto family = FamilyFromName(familyName);
        if (!family)
            return Fail(error, where + " names an unknown product \"" + familyName + "\".");
        SimMemory* memory = memories[static_cast<size_t>(*family)];
        const Json::Value& regions = all[familyName];
        if (!memory || !regions.isObject())
            return Fail(error, where + ": the memory of \"" + familyName + "\" is not an object.");
        for (const std::string& regionName : regions.getMemberNames()) {
            const auto region = SimRegionFromName(regionName);
            const std::string what = "\"" + familyName + "\" area \"" + regionName + "\"";
            if (!region || memory->Size(*region) == 0)
                return Fail(error, where + " names " + what + ", which that product does not have.");
            const Json::Value& value = regions[regionName];
            if (!value.isString())
                return Fail(error, where + ": " + what + " is not a hexadecimal text.");
            auto bytes = ParseHexText(value.asString());
            if (!bytes)
                return Fail(error, where + ": " + what + " is not a hexadecimal text.");
            if (bytes->size() != memory->Size(*region)) {
                return Fail(error, where + ": " + what + " holds " + std::to_string(bytes->size()) + " bytes, not "
                                       + std::to_string(memory->Size(*region)) + ".");
            }
            staged.push_back({memory, *region, std::move(*bytes)});
        }
    }
    for (const StagedRegion& s : staged)
        s.memory->SetBytes(s.region, s.bytes);
    return true;
}

bool SimStateFile::Save(const std::string& file, const Memories& memories, std::string* error)
{
    Json::Value root(Json::objectValue);
    root["version"] = kVersion;
    Json::Value& all = root["memories"];
    all = Json::Value(Json::objectValue);
    for (SimMemoryFamily family : kAllSimMemoryFamilies) {
        const SimMemory* memory = memories[static_cast<size_t>(family)];
        if (!memory)
            continue;
        Json::Value regions(Json::objectValue);
        for (size_t r = 0; r < kSimRegionCount; ++r) {
            const auto region = static_cast<SimRegion>(r);
            if (memory->Size(region) > 0)
                regions[std::string(SimRegionName(region))] = HexText(memory->Bytes(region));
        }
        all[std::string(SimFamilyName(family))] = regions;
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    const std::string text = Json::writeString(builder, root) + "\n";

    const std::string where = "The emulator state file \"" + file + "\"";
    const std::string temporary = file + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return Fail(error, where + " cannot be written: " + std::strerror(errno) + ".");
        out << text;
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return Fail(error, where + " cannot be written completely.");
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        return Fail(error, where + " cannot be replaced: " + reason + ".");
    }
    return true;
}
