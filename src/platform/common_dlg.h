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
// The font dialog starts from the logical font it is given.
inline constexpr uint32_t kCfInitToLogFont = 0x40;

// Action codes.
enum : int16_t {
    kActionOpen = 1,
    kActionSave = 2,
    kActionColor = 3,
    kActionFont = 4,
    kActionPrint = 5,
    kActionHelp = 6,
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

// The system's common dialogs behind one object: set properties, call a Show
// operation, read properties back. Nothing escapes as an exception: failures
// land in ErrNumber, ErrDescription and CancelButton.
class CommonDlg {
public:
    explicit CommonDlg(CommonDialogs& dialogs) : dialogs_(dialogs) {}

    NativeWindow Form() const { return form_; }
    void SetForm(NativeWindow form) { form_ = form; }
    // The owner and its current font, which the Font* properties take over.
    void SetForm(NativeWindow form, const FontDescription& font);

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
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t color) { color_ = color; }

    const std::string& FontName() const { return fontName_; }
    void SetFontName(std::string name) { fontName_ = std::move(name); }
    int16_t FontSize() const { return fontSize_; }
    void SetFontSize(int16_t points) { fontSize_ = points; }
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool on) { fontBold_ = on; }
    bool FontItalic() const { return fontItalic_; }
    void SetFontItalic(bool on) { fontItalic_ = on; }
    bool FontStrikethru() const { return fontStrikethru_; }
    void SetFontStrikethru(bool on) { fontStrikethru_ = on; }
    bool FontUnderline() const { return fontUnderline_; }
    void SetFontUnderline(bool on) { fontUnderline_ = on; }
    bool SelBold() const { return selBold_; }
    void SetSelBold(bool on) { selBold_ = on; }
    bool SelItalic() const { return selItalic_; }
    void SetSelItalic(bool on) { selItalic_ = on; }
    bool SelStrikethru() const { return selStrikethru_; }
    void SetSelStrikethru(bool on) { selStrikethru_ = on; }
    bool SelUnderline() const { return selUnderline_; }
    void SetSelUnderline(bool on) { selUnderline_ = on; }

    int32_t Min() const { return min_; }
    void SetMin(int32_t value) { min_ = value; }
    int32_t Max() const { return max_; }
    void SetMax(int32_t value) { max_ = value; }
    int32_t FromPage() const { return fromPage_; }
    void SetFromPage(int32_t page) { fromPage_ = page; }
    int32_t ToPage() const { return toPage_; }
    void SetToPage(int32_t page) { toPage_ = page; }
    int32_t Copies() const { return copies_; }
    void SetCopies(int32_t copies) { copies_ = copies; }
    std::uintptr_t Hdc() const { return hdc_; }
    void SetHdc(std::uintptr_t dc) { hdc_ = dc; }

    // Kept for callers only; no operation uses them.
    int32_t PrinterDefault() const { return printerDefault_; }
    void SetPrinterDefault(int32_t value) { printerDefault_ = value; }
    int32_t HelpContext() const { return helpContext_; }
    void SetHelpContext(int32_t value) { helpContext_ = value; }
    const std::string& HelpKey() const { return helpKey_; }
    void SetHelpKey(std::string key) { helpKey_ = std::move(key); }

    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string file) { helpFile_ = std::move(file); }
    int32_t HelpCommand() const { return helpCommand_; }
    void SetHelpCommand(int32_t command) { helpCommand_ = command; }

    bool CancelError() const { return cancelError_; }
    void SetCancelError(bool on) { cancelError_ = on; }

    int16_t Action() const { return action_; }
    // Runs the operation with that code; any other value changes nothing.
    void SetAction(int16_t action);

    bool CancelButton() const { return cancelButton_; }
    int32_t ErrNumber() const { return errNumber_; }
    std::string ErrDescription() const { return std::string(ErrDescriptionOf(errNumber_)); }
    // The user confirmed the last dialog.
    bool Confirmed() const { return confirmed_; }

    void ShowOpen() { ShowOpenSave(kActionOpen); }
    void ShowSave() { ShowOpenSave(kActionSave); }
    void ShowColor();
    void ShowFont();
    void ShowPrinter();
    void ShowPrinterEx();  // page setup
    void ShowHelp();

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
    uint32_t color_ = 0;
    std::string fontName_;
    int16_t fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontStrikethru_ = false;
    bool fontUnderline_ = false;
    bool selBold_ = false;
    bool selItalic_ = false;
    bool selStrikethru_ = false;
    bool selUnderline_ = false;
    int32_t min_ = 0;
    int32_t max_ = 0;
    int32_t fromPage_ = 0;
    int32_t toPage_ = 0;
    int32_t copies_ = 1;
    std::uintptr_t hdc_ = 0;
    int32_t printerDefault_ = 0;
    int32_t helpContext_ = 0;
    std::string helpKey_;
    std::string helpFile_;
    int32_t helpCommand_ = 0;
    bool cancelError_ = false;
    int16_t action_ = 0;
    bool cancelButton_ = false;
    int32_t errNumber_ = 0;
    bool confirmed_ = false;
};

}  // namespace tavi
