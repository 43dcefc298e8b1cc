#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/picture_fetches.h"

using namespace tavi;
using Asked = PictureFetches::Asked;

namespace {

// Workers that fetch nothing by themselves: a test answers for them, late
// or never. Start returns at once, as the real one does.
class HeldWorkers final : public PictureWorkers {
public:
    bool refuse = false;  // as when no thread can be made
    std::map<std::string, uint64_t> jobOf;  // by path
    std::vector<std::string> started;

    bool Start(uint64_t job, const PictureRequest& request) override {
        if (refuse) return false;
        jobOf[request.path] = job;
        started.push_back(request.path);
        return true;
    }
};

class Told final : public PictureListener {
public:
    std::vector<std::string> keys;
    void PictureArrived(const std::string& key, const PictureAnswer& answer) override {
        keys.push_back(key + (answer.outcome == PictureAnswer::Outcome::Drawn ? "" : "?"));
    }
};

PictureRequest IconOf(const std::string& path) {
    PictureRequest request;
    request.path = path;
    return request;
}

// One step of a scenario: `ask` a path (its key is the path) or let the
// worker of `arrive` answer, `at` milliseconds after the start.
struct Step {
    enum Op { Ask, Arrive, Refuse } op;
    std::string path;
    int at = 0;
    Asked expect = Asked::Started;  // for Ask
};

}  // namespace

// A share that never answers holds its own two workers and nothing else;
// what did not come is asked again later; late answers still fill in.
TEST(PictureFetches, NeverWaitsAndOneDeadShareBlindsNoOther) {
    const std::string dead = "\\\\dead\\share\\";
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> started;  // paths the workers got, in order
        std::vector<std::string> told;     // keys the listener was told, in order
    } rows[] = {
        {"an answer is told once, and the key can be asked again",
         {{Step::Ask, "c:\\a.exe", 0}, {Step::Arrive, "c:\\a.exe", 5}, {Step::Ask, "c:\\a.exe", 6}},
         {"c:\\a.exe", "c:\\a.exe"},
         {"c:\\a.exe"}},
        {"asked twice while coming: one worker",
         {{Step::Ask, "c:\\a.exe", 0}, {Step::Ask, "c:\\a.exe", 1, Asked::Pending}},
         {"c:\\a.exe"},
         {}},
        {"two at once per drive, the third waits its turn",
         {{Step::Ask, "c:\\a.exe", 0},
          {Step::Ask, "C:/b.exe", 0},
          {Step::Ask, "c:\\c.exe", 0, Asked::Waiting},
          {Step::Arrive, "c:\\a.exe", 10}},
         {"c:\\a.exe", "C:/b.exe", "c:\\c.exe"},
         {"c:\\a.exe"}},
        {"a share that never answers: after the limit no more is tried there, other drives go on",
         {{Step::Ask, dead + "a.lnk", 0},
          {Step::Ask, dead + "b.lnk", 1999},
          {Step::Ask, "\\\\DEAD\\Share\\c.lnk", 2000, Asked::NoAnswer},
          {Step::Ask, "d:\\d.exe", 2000},
          {Step::Ask, "\\\\dead\\other\\e.lnk", 2000},
          {Step::Arrive, "d:\\d.exe", 2001}},
         {dead + "a.lnk", dead + "b.lnk", "d:\\d.exe", "\\\\dead\\other\\e.lnk"},
         {"d:\\d.exe"}},
        {"a late answer fills in, and its share is tried again",
         {{Step::Ask, dead + "a.lnk", 0},
          {Step::Ask, dead + "b.lnk", 5000, Asked::NoAnswer},
          {Step::Arrive, dead + "a.lnk", 9000},
          {Step::Ask, dead + "b.lnk", 9001}},
         {dead + "a.lnk", dead + "b.lnk"},
         {dead + "a.lnk"}},
        {"those waiting on a share that stopped answering are let go, and asked again later",
         {{Step::Ask, dead + "a.lnk", 0},
          {Step::Ask, dead + "b.lnk", 0},
          {Step::Ask, dead + "c.lnk", 0, Asked::Waiting},
          {Step::Ask, "d:\\d.exe", 2500},
          {Step::Ask, dead + "c.lnk", 2500, Asked::NoAnswer},
          {Step::Arrive, dead + "a.lnk", 3000},
          {Step::Ask, dead + "c.lnk", 3000, Asked::NoAnswer}},  // b is stuck still
         {dead + "a.lnk", dead + "b.lnk", "d:\\d.exe"},
         {dead + "a.lnk"}},
        {"pictures the shell draws without a file share no drive's limit",
         {{Step::Ask, dead + "a.lnk", 0}, {Step::Ask, dead + "b.lnk", 0}, {Step::Ask, "", 3000}},
         {dead + "a.lnk", dead + "b.lnk", ""},
         {}},
        {"no worker to be had: no answer, and nothing left pending",
         {{Step::Refuse, "", 0}, {Step::Ask, "c:\\a.exe", 0, Asked::NoAnswer}, {Step::Ask, "c:\\a.exe", 1, Asked::NoAnswer}},
         {},
         {}},
    };
    for (const auto& row : rows) {
        HeldWorkers workers;
        PictureFetches fetches(workers);
        Told told;
        const auto start = PictureFetches::Clock::now();
        for (const Step& step : row.steps) {
            const auto now = start + std::chrono::milliseconds(step.at);
            if (step.op == Step::Refuse) {
                workers.refuse = true;
            } else if (step.op == Step::Ask) {
                PictureRequest request = IconOf(step.path);
                if (step.path.empty()) request.source = PictureRequest::Source::TypePicture;
                EXPECT_EQ(fetches.Ask(told, step.path, request, now), step.expect)
                    << row.name << ": ask for " << step.path << " at " << step.at;
            } else {
                PictureAnswer drawn{PictureAnswer::Outcome::Drawn, {1, 2, 3, 4}, 0};
                fetches.Arrived(workers.jobOf.at(step.path), drawn, now);
            }
        }
        EXPECT_EQ(workers.started, row.started) << row.name;
        EXPECT_EQ(told.keys, row.told) << row.name;
    }
}

// Threads stay bounded: past the total, asks wait without a worker; a
// listener that went is told nothing.
TEST(PictureFetches, WorkersAreBoundedAndAListenerThatWentIsToldNothing) {
    HeldWorkers workers;
    PictureFetches fetches(workers, PictureLimits{2, 16, std::chrono::milliseconds(2000), 3});
    Told told, gone;
    const auto now = PictureFetches::Clock::now();
    for (int share = 0; share < 8; ++share)
        for (const char* name : {"a.lnk", "b.lnk"}) {
            const std::string path = "\\\\dead" + std::to_string(share) + "\\s\\" + name;
            ASSERT_EQ(fetches.Ask(told, path, IconOf(path), now), Asked::Started) << path;
        }
    EXPECT_EQ(fetches.Alive(), 16);
    EXPECT_EQ(fetches.Ask(gone, "c:\\x.exe", IconOf("c:\\x.exe"), now), Asked::Waiting) << "no 17th worker";
    EXPECT_EQ(fetches.Ask(told, "c:\\y.exe", IconOf("c:\\y.exe"), now), Asked::Waiting);
    EXPECT_EQ(fetches.Ask(told, "c:\\z.exe", IconOf("c:\\z.exe"), now), Asked::Waiting);
    EXPECT_EQ(fetches.Ask(told, "c:\\w.exe", IconOf("c:\\w.exe"), now), Asked::NoAnswer) << "the waiting are bounded";
    EXPECT_EQ(workers.started.size(), 16u);

    fetches.Forget(gone);
    EXPECT_EQ(fetches.WaitingCount(), 2u) << "what the gone listener waited for is dropped";
    const PictureAnswer none{};
    fetches.Arrived(workers.jobOf.at("\\\\dead0\\s\\a.lnk"), none, now + std::chrono::milliseconds(10));
    EXPECT_EQ(told.keys, std::vector<std::string>{"\\\\dead0\\s\\a.lnk?"});
    ASSERT_EQ(workers.started.size(), 17u) << "the place freed went to the next waiting";
    EXPECT_EQ(workers.started.back(), "c:\\y.exe");
    fetches.Arrived(workers.jobOf.at("\\\\dead0\\s\\a.lnk"), none, now);
    EXPECT_EQ(told.keys.size(), 1u) << "an answer comes once";
}
