// The fields of one entry as the rest of the program reads them: the run
// type, the icon number, the button picture, a group's name, and a dropped
// file put on a command line. A dropped path must reach the program as one
// argument, whole, by the command-line rules of the C run time.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "app/launcher.h"
#include "bar/button_icons.h"
#include "bar/file_drop.h"
#include "app/menu_main.h"
#include "dialogs/file_information.h"
#include "dialogs/icon_change.h"
#include "dialogs/new_app.h"
#include "fakes/fakes.h"
#include "fuzz/fuzz_support.h"
#include "menus/desktop_items.h"
#include "menus/run_time_lists.h"

using namespace tavi;

namespace {

// A document's program as the input says.
class InputShell final : public Shell {
public:
    explicit InputShell(Association answer) : answer_(std::move(answer)) {}
    int Open(const ShellOpenRequest&) override { return 42; }
    Association AssociatedProgram(const std::string&) override { return answer_; }

private:
    Association answer_;
};

// Arguments of a command line as the C run time splits it.
std::vector<std::string> SplitArguments(std::string_view line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') ++slashes, ++i;
                if (i < line.size() && line[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) argument += '"', ++i;
                } else {
                    argument.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    LaunchEntry entry;
    for (std::string* field : {&entry.Title, &entry.PathName, &entry.Command, &entry.RunType, &entry.IconPath,
                               &entry.IconIndex})
        *field = input.ConsumeRandomLengthString(64);
    const int entryIndex = input.ConsumeIntegralInRange(0, kEntryLimit - 1);
    Shell::Association association{input.ConsumeIntegralInRange(0, 64), input.ConsumeRandomLengthString(64)};
    const bool cached = input.ConsumeBool();
    const std::string dropped = input.ConsumeRemainingBytesAsString();

    (void)ShowCommandForRunType(entry.RunType);
    const int runSize = RunSizeIndexOf(entry.RunType);
    fuzz::Check(runSize >= -1 && runSize <= 2, "a run type selects a list row or none", entry.RunType);
    fuzz::Check(IconNumberOf(entry.IconIndex) >= 0, "an icon number is never negative", entry.IconIndex);
    (void)IsGroupPath(entry.PathName);

    // The entry dialog opened on the entry.
    MenuMain state;
    fakes::FakePlatform fake;
    std::vector<LaunchEntry> slots(static_cast<size_t>(entryIndex) + 1);
    slots[static_cast<size_t>(entryIndex)] = entry;
    fakes::GiveEntries(state, fake.platform, slots);
    const NewAppView view = NewAppLoad(state, entryIndex);
    fuzz::Check(view.path.size() <= entry.PathName.size(), "the dialog shows the entry's own path");
    (void)DeskTopCaption(entry.Title);
    (void)DeskTopItemFolder(entry.PathName);
    (void)FolderOfPath(entry.PathName);

    InputShell shell(association);
    const IconPlan plan = PlanButtonIcon(entry, entryIndex, true, [&](const std::string&) { return cached; }, shell);
    if (plan.kind == IconPlan::Kind::Extract)
        fuzz::Check(!plan.key.empty(), "an icon taken from a file has a cache key");

    // File names cannot hold quotes or NULs; anything else may be in one.
    if (!dropped.empty() && dropped.find_first_of(std::string_view("\"\0", 2)) == std::string::npos) {
        const std::vector<std::string> arguments = SplitArguments(QuoteDroppedPath(dropped));
        fuzz::Check(arguments.size() == 1 && arguments[0] == dropped, "a dropped path is one whole argument", dropped);
        // After the entry's own parameters, when they leave no quote open.
        if (entry.Command.find('"') == std::string::npos) {
            const std::string parameters = TargetDropParameters(entry.Command, dropped);
            const std::vector<std::string> all = SplitArguments(parameters);
            fuzz::Check(!all.empty() && all.back() == dropped, "the dropped path is the last argument", parameters);
        }
    }
    return 0;
}
