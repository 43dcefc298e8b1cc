#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/answer_budget.h"

namespace tavi {

struct DriveNameBoard;

// A caller waits for drive names no longer than this in all, however many
// drives it asks for: a quarter of the answer budget, time enough for a
// worker's first call into the shell.
inline constexpr std::chrono::milliseconds kDriveNameWait = kAnswerBudget / 4;

// The shell's display names of drive roots (SHGetFileInfoW, which spins up a
// CD drive or waits on a network drive), each fetched on a worker thread.
// At most one worker per drive runs at a time, so threads never pile up:
// a drive whose worker is stuck is not asked again until it returns, and
// gives the name it had last, or its plain "(C:)" form. A stuck worker is
// never ended; it frees what it holds whenever it returns.
class DriveNames {
public:
    // `beforeFetch` runs on each worker before it asks the shell; tests hold
    // a worker there to see what a drive that does not answer does.
    explicit DriveNames(std::function<void(const std::string& root)> beforeFetch = {});
    // The names of `roots`, in their order, waiting at most `wait` in all.
    std::vector<std::string> Of(const std::vector<std::string>& roots, std::chrono::milliseconds wait = kDriveNameWait);

    // Workers started and not yet returned, of every instance.
    static int WorkersAlive();

private:
    std::shared_ptr<DriveNameBoard> board_;
    std::function<void(const std::string&)> beforeFetch_;
};

// "(C:)" for "C:\": what a drive shows while the shell has not named it.
std::string PlainDriveName(const std::string& root);

}  // namespace tavi
