#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/shell.h"

namespace tavi {

// What DocumentPrograms posts its dialog when a late answer came.
inline constexpr UINT kDocumentProgramCame = WM_APP + 0x51;

// The shell for an entry dialog: the program that opens a chosen document is
// asked on a thread of its own. The dialog waits a moment for it, then goes
// on without it; kDocumentProgramCame tells the dialog when it comes, and
// ApplyLate applies it. Anything else goes to `inner`.
class DocumentPrograms final : public Shell {
public:
    explicit DocumentPrograms(Shell& inner) : inner_(inner) {}
    ~DocumentPrograms() override;
    DocumentPrograms(const DocumentPrograms&) = delete;
    DocumentPrograms& operator=(const DocumentPrograms&) = delete;

    void Attach(HWND dialog) { dialog_ = dialog; }
    int Open(const ShellOpenRequest& request) override { return inner_.Open(request); }
    // Nothing found (result 0) when the shell has not answered within the wait.
    Association AssociatedProgram(const std::string& document) override;
    // Applies the answer that came after the wait to what the dialog holds now
    // (see ResolveLateDocument); true when the path became the program.
    bool ApplyLate(std::string& path, std::string& command);

    struct Asking;

private:
    Shell& inner_;
    HWND dialog_ = nullptr;
    std::shared_ptr<Asking> asking_;  // the latest; an older one's answer is dropped
};

}  // namespace tavi
