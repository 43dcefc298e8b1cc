#include "platform/drive_names_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>

#include "platform/com_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/wide_win.h"

namespace tavi {

namespace {
std::atomic<int> workersAlive{0};
}  // namespace

// What the workers have found, shared with them: a worker stuck past its
// asker's end still has somewhere to put its answer.
struct DriveNameBoard {
    struct Drive {
        std::string name;
        bool named = false;     // the shell has answered at least once
        bool fetching = false;  // a worker asks the shell now
        uint64_t answers = 0;   // how many times it answered
    };
    std::mutex mutex;
    std::condition_variable answered;
    std::map<std::string, Drive> drives;  // by root as asked
};

namespace {

struct NameWork {
    std::shared_ptr<DriveNameBoard> board;
    std::string root;
    std::function<void(const std::string&)> beforeFetch;
};

DWORD WINAPI FetchName(void* parameter) {
    const std::unique_ptr<NameWork> work(static_cast<NameWork*>(parameter));
    std::string name;
    try {
        // The shell reads the drive through its COM objects.
        const ComApartment apartment;
        if (work->beforeFetch) work->beforeFetch(work->root);
        SHFILEINFOW info{};
        if (SHGetFileInfoW(Widen(work->root).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME))
            name = Narrow(info.szDisplayName);
    } catch (...) {
        // Out of memory: the drive keeps the name it had.
    }
    {
        const std::lock_guard<std::mutex> lock(work->board->mutex);
        DriveNameBoard::Drive& drive = work->board->drives[work->root];
        drive.name = std::move(name);
        drive.named = true;
        drive.fetching = false;
        ++drive.answers;
    }
    work->board->answered.notify_all();
    --workersAlive;
    return 0;
}

}  // namespace

std::string PlainDriveName(const std::string& root) {
    std::string plain = root;
    while (!plain.empty() && plain.back() == '\\') plain.pop_back();
    return "(" + plain + ")";
}

DriveNames::DriveNames(std::function<void(const std::string& root)> beforeFetch)
    : board_(std::make_shared<DriveNameBoard>()), beforeFetch_(std::move(beforeFetch)) {}

int DriveNames::WorkersAlive() { return workersAlive; }

std::vector<std::string> DriveNames::Of(const std::vector<std::string>& roots, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::unique_lock<std::mutex> lock(board_->mutex);
    // Each drive asked is asked afresh, so a new disc shows its own name,
    // unless its last worker has not returned.
    std::map<std::string, uint64_t> awaited;  // root -> answers before this ask
    for (const std::string& root : roots) {
        DriveNameBoard::Drive& drive = board_->drives[root];
        if (drive.fetching || awaited.contains(root)) continue;
        auto* work = new (std::nothrow) NameWork{board_, root, beforeFetch_};
        if (!work) continue;
        ++workersAlive;
        if (!RunOnThread(FetchName, work)) {
            --workersAlive;
            delete work;
            continue;
        }
        drive.fetching = true;
        awaited.emplace(root, drive.answers);
    }
    board_->answered.wait_until(lock, deadline, [&] {
        for (const auto& [root, before] : awaited)
            if (board_->drives[root].answers == before) return false;
        return true;
    });
    std::vector<std::string> names;
    names.reserve(roots.size());
    for (const std::string& root : roots) {
        const DriveNameBoard::Drive& drive = board_->drives[root];
        names.push_back(drive.named ? drive.name : PlainDriveName(root));
    }
    return names;
}

}  // namespace tavi
