#include "dialogs/new_app_ex.h"

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {

bool NewAppExOffersMenu(const NewAppExView& view) { return EndsWith(TrimSpaces(view.program), "\\"); }

NewAppExView NewAppExLoad(const ExMenuEntry& member) {
    NewAppExView view;
    view.title = member.ExTitle;
    view.program = member.ExPathName;
    view.command = member.ExCommand;
    view.runSizeIndex = RunSizeIndexOf(member.ExRunType, NewAppExOffersMenu(view));
    view.okEnabled = !IsBlank(view.program);
    return view;
}

void NewAppExProgramChanged(NewAppExView& view, std::string_view program) {
    view.program = std::string(program);
    // Blanks alone would store a member that opens nothing.
    view.okEnabled = !IsBlank(view.program);
    if (view.runSizeIndex == kRunSizeMenuIndex && !NewAppExOffersMenu(view)) view.runSizeIndex = 0;
}

bool NewAppExBrowse(NewAppExView& view, Platform& platform, FileChooser& chooser, NativeWindow owner) {
    const std::string current = TrimSpaces(view.program);
    FileChoice choice;
    choice.owner = owner;
    choice.title = std::string(text::kNewAppBrowseTitle);
    choice.filter = std::string(text::kProgramFileFilter);
    choice.filterIndex = 1;
    if (!current.empty()) {
        choice.initialName = GetFileName(current);
        choice.initialFolder = GetFolderName(current, platform.files.CurrentDirectory());
    }
    const std::string chosen = chooser.ChooseFile(choice);
    if (chosen.empty()) return false;

    NewAppExProgramChanged(view, chosen);
    view.command.clear();
    if (IsBlank(view.title)) {
        view.title = GetFileName(view.program);
        if (IsBlank(view.title)) view.title = TrimSpaces(view.program);
    }
    ResolveDocument(view.program, view.command, platform.shell);
    return true;
}

IconPreview NewAppExPreview(const NewAppExView& view, IconFiles& icons) {
    return NewAppExPreview(view, CountNow(icons));
}

IconPreview NewAppExPreview(const NewAppExView& view, const IconCounts& counts) {
    const std::string program = TrimSpaces(view.program);
    if (program.empty()) return {};
    const std::optional<int> count = counts(program);
    if (!count) return {IconPreview::Kind::Coming, program, 0};
    if (*count <= 0) return {};
    return {IconPreview::Kind::Extract, program, 0};
}

bool NewAppExShowIcons(const NewAppExView& view, const IconPicker& pick) {
    const std::string program = TrimSpaces(view.program);
    if (program.empty()) return false;
    (void)pick({{program, "0"}, program, false});
    return true;
}

ExMenuEntry NewAppExOk(const NewAppExView& view) {
    ExMenuEntry member;
    member.ExPathName = TrimSpaces(view.program);
    member.ExTitle = view.title;
    member.ExCommand = view.command;
    const bool offered = view.runSizeIndex != kRunSizeMenuIndex || NewAppExOffersMenu(view);
    member.ExRunType = std::to_string(view.runSizeIndex >= 0 && offered ? view.runSizeIndex : 0);
    if (!member.ExPathName.empty() && IsBlank(member.ExTitle)) member.ExTitle = GetFileName(member.ExPathName);
    return member;
}

}  // namespace tavi
