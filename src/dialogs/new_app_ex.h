#pragma once
#include <string>
#include <string_view>

#include "dialogs/new_app.h"
#include "app/ex_menu_store.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/platform.h"

// The member dialog `NewAppEx`: adds or edits one member of a group. It
// works on a copy of the member; the caller stores what OK hands back.
namespace tavi {

struct NewAppExView {
    std::string title;    // txtTitle
    std::string program;  // txtProgram
    std::string command;  // txtCommand
    int runSizeIndex = 0;  // cboStatus: 0 normal, 1 minimised, 2 maximised, 3 as a menu (folders), -1 none
    bool okEnabled = false;
};

// Whether the member names a folder, its path ending in "\" as the bar's
// folder entries do: its run-size list offers "ﾒﾆｭｰで表示" (RunSizeItems).
bool NewAppExOffersMenu(const NewAppExView& view);

NewAppExView NewAppExLoad(const ExMenuEntry& member);
// A program that is no longer a folder takes "ﾒﾆｭｰで表示" back to 通常のｳｨﾝﾄﾞｳ.
void NewAppExProgramChanged(NewAppExView& view, std::string_view program);
// Browses for the program; a chosen document becomes the program that opens
// it with the document as its command line. False when nothing was chosen.
bool NewAppExBrowse(NewAppExView& view, Platform& platform, FileChooser& chooser, NativeWindow owner);
// The preview: icon 0 of the program file, as the group box shows members.
IconPreview NewAppExPreview(const NewAppExView& view, const IconCounts& counts);
IconPreview NewAppExPreview(const NewAppExView& view, IconFiles& icons);
// Shows the icons of the program in the picker. A member has no icon of its
// own (the box shows the first icon of the program that opens it), so the
// choice changes nothing; above all not the group's own bar entry. False
// when there is no program to show.
bool NewAppExShowIcons(const NewAppExView& view, const IconPicker& pick);
// The member as OK stores it: the command as typed, the title from the
// program's file name when it is blank.
ExMenuEntry NewAppExOk(const NewAppExView& view);

}  // namespace tavi
