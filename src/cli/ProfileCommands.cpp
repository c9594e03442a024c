#include "cli/CliContext.h"
#include "cli/ProfileCliSupport.h"

#include "profiles/JsonAccess.h"
#include "profiles/JsonFile.h"
#include "profiles/ProfileList.h"
#include "profiles/TextConvert.h"

#include <ostream>

namespace {

const char* const kUsage =
    "  profile KIND list                 \"<index> <mark> <name> <uuid>\" per profile, \"*\" marks the selected one\n"
    "  profile KIND add | copy | delete | reset | export FILE | import FILE | rename NAME | select INDEX\n"
    "                                    change the profiles of a kind (rename prints \"result <0|1|2>\")\n"
    "                                    KIND: mouse, keyboard, mousepad, headset\n";

constexpr CliKindAction kActions[] = {
    {"list", 0}, {"add", 0}, {"copy", 0}, {"delete", 0}, {"reset", 0},
    {"export", 1}, {"import", 1}, {"rename", 1}, {"select", 1},
};

// The new profile's name, or why the list took none.
int ReportAdded(const CProfileList& list, bool added, std::ostream& out, std::ostream& err)
{
    if (!added) {
        err << "a device kind holds at most " << CProfileList::kMaxProfiles << " profiles\n";
        return 1;
    }
    out << WideToUtf8(list.Items().back()) << '\n';
    return 0;
}

int RunProfile(CliContext& context, const std::vector<std::string>& args)
{
    std::ostream& err = context.Err();
    std::ostream& out = context.Out();
    const auto command = ParseCliKindCommand("profile", args, kActions, kUsage, err);
    if (!command)
        return 2;
    const std::string& action = args[1];
    if (args.size() != 2 + command->action->arguments) {
        err << "profile " << action << (command->action->arguments ? " takes one argument\n" : " takes no argument\n");
        return 2;
    }

    CProfileList list = LoadCliProfileList(CliDataFolders(context), command->kind);

    if (action == "list") {
        const Json::Value& doc = list.ListDocument();
        const int selected = JsonField<int>(JsonMember(doc, "profileselect"));
        for (size_t i = 0; i < list.Items().size(); ++i) {
            const Json::Value& entry = JsonAt(JsonMember(doc, "profilelist"), static_cast<Json::ArrayIndex>(i));
            out << i << ' ' << (static_cast<int>(i) == selected ? '*' : '-') << ' ' << WideToUtf8(list.Items()[i])
                << ' ' << JsonText(JsonMember(entry, "profileUUID")) << '\n';
        }
        return 0;
    }
    if (action == "add")
        return ReportAdded(list, list.AddProfile(), out, err);
    if (action == "copy")
        return ReportAdded(list, list.CopyProfile(), out, err);
    if (action == "delete") {
        if (list.Items().size() < 2) {
            err << "the last profile cannot be deleted\n";
            return 1;
        }
        list.DeleteProfile();
        return 0;
    }
    if (action == "reset") {
        list.ResetProfile();
        return 0;
    }
    if (action == "rename") {
        out << "result " << list.RenameProfile(Utf8ToWide(args[2])) << '\n';
        return 0;
    }
    if (action == "select") {
        int64_t index = 0;
        if (!ParseCliNumber(args[2], 0, static_cast<int64_t>(list.Items().size()) - 1, index)) {
            err << "no profile " << args[2] << ": there are " << list.Items().size() << '\n';
            return 2;
        }
        list.SelectProfile(static_cast<int>(index));
        return 0;
    }
    if (action == "import") {
        if (!CProfileList::IsImportable(ReadJsonFile(args[2]))) {
            err << args[2] << " is not a profile file (it needs \"profilename\" and \"profileUUID\")\n";
            return 1;
        }
        return ReportAdded(list, list.ImportProfile(args[2]), out, err);
    }
    // export
    if (!list.ExportProfile(args[2])) {
        err << "could not write " << args[2] << '\n';
        return 1;
    }
    return 0;
}

const CliCommandRegistrar kProfileCommand("profile", kUsage, RunProfile);

} // namespace
