#include "platform/common_dlg.h"

#include <algorithm>
#include <limits>

#include "platform/messages.h"
#include "platform/text.h"
#include "platform/unicode.h"

namespace tavi {

namespace {

std::string TrimTrailingSpaces(std::string_view text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

// The longest start of the text that fits in `units` UTF-16 characters (the
// unit the dialogs count their buffers in), never half of a surrogate pair.
std::string CutToUtf16Units(std::string_view utf8, size_t units) {
    size_t offset = 0;
    size_t used = 0;
    while (offset < utf8.size()) {
        size_t next = offset;
        const size_t width = NextCodePoint(utf8, next) > 0xFFFF ? 2 : 1;
        if (used + width > units) break;
        used += width;
        offset = next;
    }
    return std::string(utf8.substr(0, offset));
}

std::string UpToFirst(std::string_view text, std::string_view end) {
    return std::string(text.substr(0, text.find(end)));
}

// The selection from the file buffer. A list of several files is folder and
// names separated by NULs and ends in two; a single path ends at its NUL, and
// what follows may be left over from the initial name.
std::string FileNameFromBuffer(std::string_view buffer, bool severalFiles) {
    using namespace std::string_view_literals;
    return severalFiles ? UpToFirst(buffer, "\0\0"sv) : UpToFirst(buffer, "\0"sv);
}

}  // namespace

std::string ConvertFilter(std::string_view filter) {
    std::string converted(filter);
    std::replace(converted.begin(), converted.end(), '|', '\0');
    if (converted.empty() || converted.back() != '\0') converted += '\0';
    return converted;
}

MappedError MapExtendedError(uint32_t extendedError, bool cancelError) {
    if (extendedError == 0) return cancelError ? MappedError{kDlgErrCancelled, true} : MappedError{};
    if (extendedError >= 0x1001 && extendedError <= 0x100B)
        return {28670 - static_cast<int32_t>(extendedError - 0x1001), false};
    switch (extendedError) {
        case 2: return {32765, false};
        case 5:
        case 7: return {32760, false};
        case 6: return {32761, false};
        case 8: return {32759, false};
        case 9: return {32758, false};
        case 10: return {32757, false};
        case 0x1000: return {28671, false};
        case 0x2001: return {24574, false};
        case 0x3001: return {20478, false};
        case 0x3002: return {20477, false};
        case 0x3003: return {20476, false};
        default: return {kDlgErrCannotLoad, false};
    }
}

std::string_view ErrDescriptionOf(int32_t errNumber) {
    switch (errNumber) {
        case 0: return {};
        case kDlgErrCannotLoad: return text::kDlgCannotLoad;
        case 20476: return text::kDlgBufferTooSmall;
        case 20477: return text::kDlgInvalidFileName;
        case 20478: return text::kDlgSubclassFailure;
        case 24574: return text::kDlgNoFonts;
        case 28660: return text::kDlgPrinterNotFound;
        case 28661: return text::kDlgCreateIcFailure;
        case 28662: return text::kDlgDevModeMismatch;
        case 28663: return text::kDlgNoDefaultPrinter;
        case 28664: return text::kDlgNoPrinterDriver;
        case 28665: return text::kDlgPrintInitFailure;
        case 28666: return text::kDlgDevModeFailure;
        case 28667: return text::kDlgLoadDriverFailure;
        case 28668:
        case 28671: return text::kDlgReturnDefaultFailure;
        case 28669: return text::kDlgParseFailure;
        case 28670: return text::kDlgLoadResources;
        case 32751: return text::kDlgHelpFailure;
        case 32752: return text::kDlgNoMemoryForNames;
        case 32755: return text::kDlgCancelled;
        case 32757: return text::kDlgMemLockFailure;
        case 32758: return text::kDlgMemAllocFailure;
        case 32759: return text::kDlgLockResFailure;
        case 32760:
        case 32761: return text::kDlgLoadResFailure;
        case 32765: return text::kDlgInitialization;
        default: return text::kDlgUnknownError;
    }
}

void CommonDlg::SetFileName(std::string_view name) { fileName_ = TrimTrailingSpaces(name); }

void CommonDlg::SetFileTitle(std::string_view title) { fileTitle_ = TrimTrailingSpaces(title); }

void CommonDlg::Begin(int16_t action) {
    action_ = action;
    confirmed_ = false;
    errNumber_ = 0;
    cancelButton_ = false;
}

void CommonDlg::SetExtendedError(uint32_t extendedError) {
    const MappedError mapped = MapExtendedError(extendedError, cancelError_);
    errNumber_ = mapped.errNumber;
    if (mapped.cancelButton) cancelButton_ = true;
}

void CommonDlg::ShowOpenSave(int16_t action) {
    Begin(action);
    try {
        FileDialogRequest request;
        request.owner = form_;
        request.save = action == kActionSave;
        request.filter = filter_;
        request.filterIndex = filterIndex_;
        // The buffer holds MaxFileSize characters, the last one a NUL.
        const uint32_t size = static_cast<uint32_t>(std::max<int32_t>(maxFileSize_, 0));
        request.initialFile = size > 0 ? CutToUtf16Units(fileName_, size - 1) : std::string();
        request.bufferSize = size;
        request.fileTitle = fileTitle_;
        request.initialFolder = initDir_;
        request.title = dialogTitle_;
        request.flags = flags_;
        request.defaultExtension = defaultExt_;

        const FileDialogResult result = dialogs_.PickFile(request);
        confirmed_ = result.confirmed;
        if (result.confirmed) {
            fileName_ = FileNameFromBuffer(result.fileBuffer, result.severalFiles);
            fileTitle_ = UpToFirst(result.fileTitleBuffer, std::string_view("\0", 1));
        } else {
            SetExtendedError(result.extendedError);
        }
    } catch (...) {
        // Buffers that cannot be had: report it rather than leave the
        // initial name looking like the user's choice.
        confirmed_ = false;
        errNumber_ = kDlgErrNoMemoryForNames;
    }
}

}  // namespace tavi
