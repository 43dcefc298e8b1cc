#include "dialogs/document_programs_win.h"

#include <mutex>
#include <optional>
#include <utility>

#include "dialogs/new_app.h"

#include "platform/run_on_thread_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {

namespace {

// The file dialog has just read the document's folder, so its drive mostly
// answers at once; past this the dialog does not wait for it.
constexpr DWORD kWaitMs = 50;

}  // namespace

struct DocumentPrograms::Asking {
    std::string document;
    std::mutex mutex;
    std::optional<Association> answer;
    HWND tell = nullptr;  // the dialog, once it stopped waiting and while it is open
};

namespace {

DWORD WINAPI AskShell(void* parameter) {
    const std::unique_ptr<std::shared_ptr<DocumentPrograms::Asking>> held(
        static_cast<std::shared_ptr<DocumentPrograms::Asking>*>(parameter));
    DocumentPrograms::Asking& asking = **held;
    // The system's shell, not the dialog's: this thread may outlive the dialog.
    const Shell::Association answer = Win32Shell().AssociatedProgram(asking.document);
    const std::lock_guard<std::mutex> lock(asking.mutex);
    asking.answer = answer;
    if (asking.tell) PostMessageW(asking.tell, kDocumentProgramCame, 0, 0);
    return 0;
}

}  // namespace

DocumentPrograms::~DocumentPrograms() {
    if (!asking_) return;
    const std::lock_guard<std::mutex> lock(asking_->mutex);
    asking_->tell = nullptr;
}

Shell::Association DocumentPrograms::AssociatedProgram(const std::string& document) {
    if (asking_) {
        const std::lock_guard<std::mutex> lock(asking_->mutex);
        asking_->tell = nullptr;
    }
    asking_ = std::make_shared<Asking>();
    asking_->document = document;
    auto* forWorker = new std::shared_ptr<Asking>(asking_);
    if (!RunOnThreadAwhile(AskShell, forWorker, kWaitMs)) {
        delete forWorker;
        asking_.reset();
        return inner_.AssociatedProgram(document);
    }
    const std::lock_guard<std::mutex> lock(asking_->mutex);
    if (asking_->answer) return *std::exchange(asking_->answer, std::nullopt);
    asking_->tell = dialog_;
    return {};
}

bool DocumentPrograms::ApplyLate(std::string& path, std::string& command) {
    if (!asking_) return false;
    const std::lock_guard<std::mutex> lock(asking_->mutex);
    if (!asking_->answer || !asking_->tell) return false;
    const Association answer = *std::exchange(asking_->answer, std::nullopt);
    return ResolveLateDocument(path, command, asking_->document, answer);
}

}  // namespace tavi
