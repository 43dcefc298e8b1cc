#pragma once
// Icon files counted and drawn by workers that wait until released, as a
// drive that does not answer would hold them.
#include <windows.h>

#include <atomic>
#include <string>

#include "dialog_driver_win.h"
#include "platform/handles_win.h"
#include "platform/icon_files_win.h"
#include "platform/picture_workers_win.h"

class HeldIconFiles final : public tavi::IconFiles {
public:
    HeldIconFiles() = default;
    HeldIconFiles(const HeldIconFiles&) = delete;
    HeldIconFiles& operator=(const HeldIconFiles&) = delete;
    // The workers are let go and waited for, so none reads a file the test removes.
    ~HeldIconFiles() override {
        Release();
        (void)dialog_driver::WaitUntil([this] { return tavi::Win32Pictures::WorkersAlive() <= workersBefore_; });
    }

    void Release() { SetEvent(release_.Get()); }
    bool WorkersDone() const { return tavi::Win32Pictures::WorkersAlive() <= workersBefore_; }
    // Counts asked on the caller's thread rather than of the workers.
    int CountedHere() const { return countedHere_; }

    int IconCount(const std::string& path) override {
        ++countedHere_;
        return tavi::Win32IconFiles().IconCount(path);
    }
    tavi::PictureFetches* Workers() override { return &pictures_.Fetches(); }

private:
    const int workersBefore_ = tavi::Win32Pictures::WorkersAlive();
    const tavi::OwnedHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> countedHere_{0};
    tavi::Win32Pictures pictures_{{}, [this](const tavi::PictureRequest&) {
                                      WaitForSingleObject(release_.Get(), 20000);
                                  }};
};
