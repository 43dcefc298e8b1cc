#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Pictures of buttons and menu items, fetched by workers so that a file on
// a drive or share that does not answer never holds the UI thread. The UI
// asks, shows a generic picture meanwhile, and is told when the picture
// comes.
namespace tavi {

// One picture, drawn `size` pixels square.
struct PictureRequest {
    enum class Source {
        FileIcon,       // icon `index` of the file `path`; a shortcut's is the shell's picture of it
        ShellPicture,   // the shell's picture of `path` (a shortcut is read for it)
        TypePicture,    // the shell's picture of a document of the type `path` (".TXT"); no file is opened
        FolderPicture,  // the shell's picture of a folder; no folder is opened
        // No picture: the program that opens the document `path`, which the
        // shell looks for on the document's drive.
        Association,
        // No picture: how many icons the file `path` holds.
        IconCount,
    };
    // Pixels as a button's picture list takes them, or premultiplied as a
    // menu item's bitmap is drawn.
    enum class Finish { ButtonList, MenuBitmap };

    Source source = Source::FileIcon;
    Finish finish = Finish::ButtonList;
    std::string path;
    int index = 0;
    int size = 16;
    bool small = false;  // FileIcon: the file's small icon
    // Read the file's trusted last write stamp; when it is `sameStamp` (not
    // 0), the picture is not drawn again: the asker holds it already.
    bool stamp = false;
    uint64_t sameStamp = 0;

    bool operator==(const PictureRequest&) const = default;
};

struct PictureAnswer {
    enum class Outcome { Drawn, Unchanged, NoPicture };
    Outcome outcome = Outcome::NoPicture;
    std::vector<uint32_t> pixels;  // Drawn: size * size, rows top down, 0xAARRGGBB
    uint64_t stamp = 0;            // 0: unknown, or too recent to trust
    // Association: the shell's result (32 or more when a program was found)
    // and the program, as the shell gives it.
    int shellResult = 0;
    std::string program;
    int iconCount = 0;  // IconCount: 0 when the file holds none or cannot be read
};

// The port: workers that fetch pictures away from the UI thread.
class PictureWorkers {
public:
    virtual ~PictureWorkers() = default;
    // Fetches `request` on a worker of its own. The answer is handed to
    // PictureFetches::Arrived on the UI thread later, never from within
    // Start. False when no worker could start.
    virtual bool Start(uint64_t job, const PictureRequest& request) = 0;
};

// Told of the pictures it asked for, as they come.
class PictureListener {
public:
    virtual ~PictureListener() = default;
    virtual void PictureArrived(const std::string& key, const PictureAnswer& answer) = 0;
};

struct PictureLimits {
    int perRoot = 2;  // workers at once on one drive or share
    int total = 16;   // workers alive in all, stuck ones included
    // A worker older than this is stuck, and so is its drive or share.
    std::chrono::milliseconds stuckAfter{2000};
    size_t mostWaiting = 4096;  // asks waiting for a worker, in all
};

// The picture fetches of the UI thread; every call comes from it. Workers on
// one drive or share (FolderRoot) are at most `perRoot` at once, the rest
// wait their turn; while a worker there is stuck, asks there get no answer
// at once and those waiting are let go, so one dead share never holds the
// others, and they are asked again when next needed. A stuck worker is
// never ended: it stays counted until it returns, and its answer is still
// handed on. At most `total` workers are alive, so threads never pile up.
class PictureFetches {
public:
    using Clock = std::chrono::steady_clock;
    enum class Asked {
        Started,   // a worker fetches it now
        Waiting,   // it waits for a worker
        Pending,   // already asked by this listener under this key
        NoAnswer,  // its drive is stuck, or too many wait: ask again later
    };

    explicit PictureFetches(PictureWorkers& workers, PictureLimits limits = {});
    PictureFetches(const PictureFetches&) = delete;
    PictureFetches& operator=(const PictureFetches&) = delete;

    // Never waits. `key` is the listener's, and is what it is told with.
    Asked Ask(PictureListener& listener, const std::string& key, const PictureRequest& request,
              Clock::time_point now);
    // A worker's answer: its listener is told, and the asks waiting for a
    // place start.
    void Arrived(uint64_t job, const PictureAnswer& answer, Clock::time_point now);
    // The listener goes: nothing more is started or told for it.
    void Forget(PictureListener& listener);

    int Alive() const { return static_cast<int>(running_.size()); }
    size_t WaitingCount() const { return waiting_.size(); }
    bool RootStuck(const std::string& root, Clock::time_point now) const;

    // The drive or share a request reads from; "" for pictures the shell
    // draws without opening a file.
    static std::string RootOf(const PictureRequest& request);

private:
    struct Job {
        uint64_t id = 0;
        PictureListener* listener = nullptr;
        std::string key;
        std::string root;
        PictureRequest request;
        Clock::time_point started{};
    };

    int RunningOn(const std::string& root) const;
    void StartWhatCan(Clock::time_point now);
    void LetGo(const Job& job);

    PictureWorkers& workers_;
    PictureLimits limits_;
    uint64_t nextJob_ = 1;
    std::map<uint64_t, Job> running_;
    std::deque<Job> waiting_;
    std::set<std::pair<PictureListener*, std::string>> asked_;  // running or waiting
};

}  // namespace tavi
