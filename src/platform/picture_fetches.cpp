#include "platform/picture_fetches.h"

#include <algorithm>

#include "platform/folder_contents.h"

namespace tavi {

PictureFetches::PictureFetches(PictureWorkers& workers, PictureLimits limits) : workers_(workers), limits_(limits) {}

std::string PictureFetches::RootOf(const PictureRequest& request) {
    using Source = PictureRequest::Source;
    if (request.source == Source::TypePicture || request.source == Source::FolderPicture) return {};
    return FolderRoot(request.path);
}

int PictureFetches::RunningOn(const std::string& root) const {
    return static_cast<int>(
        std::count_if(running_.begin(), running_.end(), [&](const auto& job) { return job.second.root == root; }));
}

bool PictureFetches::RootStuck(const std::string& root, Clock::time_point now) const {
    return std::any_of(running_.begin(), running_.end(), [&](const auto& job) {
        return job.second.root == root && now - job.second.started >= limits_.stuckAfter;
    });
}

void PictureFetches::LetGo(const Job& job) { asked_.erase({job.listener, job.key}); }

PictureFetches::Asked PictureFetches::Ask(PictureListener& listener, const std::string& key,
                                          const PictureRequest& request, Clock::time_point now) {
    if (asked_.contains({&listener, key})) return Asked::Pending;
    std::string root = RootOf(request);
    if (RootStuck(root, now) || waiting_.size() >= limits_.mostWaiting) return Asked::NoAnswer;
    const uint64_t id = nextJob_++;
    waiting_.push_back({id, &listener, key, std::move(root), request, {}});
    asked_.insert({&listener, key});
    StartWhatCan(now);
    if (running_.contains(id)) return Asked::Started;
    return asked_.contains({&listener, key}) ? Asked::Waiting : Asked::NoAnswer;
}

void PictureFetches::StartWhatCan(Clock::time_point now) {
    std::map<std::string, bool> stuck;  // per root, asked once per pass
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        auto known = stuck.find(it->root);
        if (known == stuck.end()) known = stuck.emplace(it->root, RootStuck(it->root, now)).first;
        if (known->second) {
            // Its drive stopped answering while it waited.
            LetGo(*it);
            it = waiting_.erase(it);
            continue;
        }
        if (Alive() >= limits_.total) break;
        if (RunningOn(it->root) >= limits_.perRoot) {
            ++it;
            continue;
        }
        Job job = std::move(*it);
        it = waiting_.erase(it);
        job.started = now;
        if (!workers_.Start(job.id, job.request)) {
            LetGo(job);
            continue;
        }
        running_.emplace(job.id, std::move(job));
    }
}

void PictureFetches::Arrived(uint64_t job, const PictureAnswer& answer, Clock::time_point now) {
    const auto found = running_.find(job);
    if (found == running_.end()) return;
    const Job done = std::move(found->second);
    running_.erase(found);
    if (done.listener) LetGo(done);
    StartWhatCan(now);
    if (done.listener) done.listener->PictureArrived(done.key, answer);
}

void PictureFetches::Forget(PictureListener& listener) {
    std::erase_if(waiting_, [&](const Job& job) { return job.listener == &listener; });
    for (auto& [id, job] : running_)
        if (job.listener == &listener) job.listener = nullptr;
    std::erase_if(asked_, [&](const auto& asked) { return asked.first == &listener; });
}

}  // namespace tavi
