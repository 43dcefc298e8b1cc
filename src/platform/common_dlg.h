#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/common_dialogs.h"

namespace tavi {

// Error numbers CommonDlg reports that callers act on.
inline constexpr int32_t kDlgErrCancelled = 32755;
inline constexpr int32_t kDlgErrInvalidFileName = 20477;
inline constexpr int32_t kDlgErrNoMemoryForNames = 32752;
inline constexpr int32_t kDlgErrCannotLoad = -32768;

// Open-dialog flags.
inline constexpr uint32_t kOfnHideReadOnly = 0x4;
inline constexpr uint32_t kOfnNoChangeDir = 0x8;
inline constexpr uint32_t kOfnAllowMultiSelect = 0x200;
inline constexpr uint32_t kOfnPathMustExist = 0x800;
inline constexpr uint32_t kOfnFileMustExist = 0x1000;
inline constexpr uint32_t kOfnLongNames = 0x200000;

// Action codes.
enum : int16_t {
    kActionOpen = 1,
    kActionSave = 2,
};

// "Name|pattern|Name|pattern" as the file dialogs take it: every "|" becomes
// a NUL and the list ends in a NUL.
std::string ConvertFilter(std::string_view filter);

struct MappedError {
    int32_t errNumber = 0;
    bool cancelButton = false;
};
// The error number for a common dialog's extended error code; a cancel (0)
// counts as an error only when the caller asked for that.
MappedError MapExtendedError(uint32_t extendedError, bool cancelError);
// The message for an error number; empty for 0.
std::string_view ErrDescriptionOf(int32_t errNumber);

// The system's open and save dialogs behind one object: set properties, call
// a Show operation, read properties back. Nothing escapes as an exception:
// failures land in ErrNumber, ErrDescription and CancelButton.
class CommonDlg {
public:
    explicit CommonDlg(CommonDialogs& dialogs) : dialogs_(dialogs) {}

    NativeWindow Form() const { return form_; }
    void SetForm(NativeWindow form) { form_ = form; }

    void SetFilter(std::string_view filter) { filter_ = ConvertFilter(filter); }
    int16_t FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int16_t index) { filterIndex_ = index; }
    void SetMaxFileSize(int32_t characters) { maxFileSize_ = characters; }
    const std::string& DialogTitle() const { return dialogTitle_; }
    void SetDialogTitle(std::string title) { dialogTitle_ = std::move(title); }
    void SetInitDir(std::string folder) { initDir_ = std::move(folder); }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string_view name);
    const std::string& FileTitle() const { return fileTitle_; }
    void SetFileTitle(std::string_view title);
    void SetDefaultExt(std::string extension) { defaultExt_ = std::move(extension); }
    void SetFlags(uint32_t flags) { flags_ = flags; }

    bool CancelError() const { return cancelError_; }
    void SetCancelError(bool on) { cancelError_ = on; }

    int16_t Action() const { return action_; }
    bool CancelButton() const { return cancelButton_; }
    int32_t ErrNumber() const { return errNumber_; }
    std::string ErrDescription() const { return std::string(ErrDescriptionOf(errNumber_)); }
    // The user confirmed the last dialog.
    bool Confirmed() const { return confirmed_; }

    void ShowOpen() { ShowOpenSave(kActionOpen); }
    void ShowSave() { ShowOpenSave(kActionSave); }

private:
    void Begin(int16_t action);
    void SetExtendedError(uint32_t extendedError);
    void ShowOpenSave(int16_t action);

    CommonDialogs& dialogs_;
    NativeWindow form_ = 0;
    std::string filter_ = std::string("All Files (*.*)\0*.*\0", 20);
    int16_t filterIndex_ = 0;
    int32_t maxFileSize_ = 50000;
    std::string dialogTitle_;
    std::string initDir_;
    std::string fileName_;
    std::string fileTitle_ = std::string(49999, ' ');
    std::string defaultExt_ = std::string(1, '\0');
    uint32_t flags_ = 0;
    bool cancelError_ = false;
    int16_t action_ = 0;
    bool cancelButton_ = false;
    int32_t errNumber_ = 0;
    bool confirmed_ = false;
};

}  // namespace tavi
