#include "platform/picture_workers_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/com_win.h"
#include "platform/folder_listing_win.h"
#include "platform/icon_files_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/mailbox_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {


static std::atomic<int> workersAlive{0};

namespace {

struct Work {
    std::shared_ptr<PictureMailbox> mailbox;
    uint64_t job;
    PictureRequest request;
    std::function<void(const PictureRequest&)> beforeFetch;
};

DWORD WINAPI FetchOnWorker(void* parameter) {
    const std::unique_ptr<Work> work(static_cast<Work*>(parameter));
    PictureAnswer answer;
    try {
        // Shortcuts are read through the shell's COM objects.
        const ComApartment apartment;
        if (work->beforeFetch) work->beforeFetch(work->request);
        answer = FetchPictureHere(work->request);
    } catch (...) {
        answer = PictureAnswer{};  // out of memory: no picture
    }
    (void)work->mailbox->Put(work->job, std::move(answer));
    --workersAlive;
    return 0;
}

bool IsShortcut(const std::string& path) {
    const std::string extension = ToUpperAscii(GetExtension(path));
    return extension == ".LNK" || extension == ".URL" || extension == ".PIF";
}

HICON ShellIcon(const std::wstring& path, DWORD attributes, UINT flags, bool small) {
    SHFILEINFOW found{};
    flags |= SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    if (!SHGetFileInfoW(path.c_str(), attributes, &found, sizeof found, flags)) return nullptr;
    return found.hIcon;
}

HICON IconOf(const PictureRequest& request) {
    using Source = PictureRequest::Source;
    const bool small = request.size <= 16;
    switch (request.source) {
        case Source::FolderPicture:
            return ShellIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, small);
        case Source::TypePicture:
            return ShellIcon(L"file" + Widen(request.path), FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, small);
        case Source::ShellPicture: return ShellIcon(Widen(request.path), 0, 0, small);
        case Source::Association:
        case Source::IconCount:
        case Source::FileIcon: break;
    }
    // A shortcut holds no icons; its picture is the one the shell shows for it.
    if (IsShortcut(request.path)) return ShellIcon(Widen(request.path), 0, 0, request.small);
    // Only the size asked for: each size is a pass of its own over the file.
    // Wine hands back a stray handle for a file with no icons; only the
    // count is reliable.
    HICON icon = nullptr;
    if (ExtractIconExW(Widen(request.path).c_str(), request.index, request.small ? nullptr : &icon,
                       request.small ? &icon : nullptr, 1) == 0)
        return nullptr;
    return icon;
}

// Drawn onto a cleared surface at the list's size, so that a 32-pixel icon
// scales down to 24. Icons without alpha (old 16-colour ones) leave it at
// zero: their drawn pixels are made opaque so the list does not take them
// for transparent.
std::vector<uint32_t> ButtonPixels(HICON icon, int size) {
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return {};
    canvas.Fill(0);
    DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    canvas.Finish();
    uint32_t* pixels = canvas.Pixels();
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    if (std::none_of(pixels, pixels + count, [](uint32_t p) { return p >> 24; }))
        for (uint32_t* p = pixels; p != pixels + count; ++p)
            if (*p != 0) *p |= 0xFF000000;
    return {pixels, pixels + count};
}

// Drawn onto nothing at all, an icon with alpha leaves exactly the
// premultiplied pixels a menu draws an item's bitmap from.
std::vector<uint32_t> MenuPixels(HICON icon, int size) {
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return {};
    uint32_t* pixels = canvas.Pixels();
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    canvas.Fill(0u);
    DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    if (std::none_of(pixels, pixels + count, [](uint32_t p) { return p >> 24; })) {
        // An icon without alpha (an old one): its mask tells which pixels show.
        const std::vector<uint32_t> colours(pixels, pixels + count);
        canvas.Fill(0u);
        DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_MASK);
        GdiFlush();
        for (size_t i = 0; i < count; ++i)
            pixels[i] = (pixels[i] & 0x00FFFFFF) == 0 ? (colours[i] | 0xFF000000) : 0u;
    }
    return {pixels, pixels + count};
}

}  // namespace

PictureAnswer FetchPictureHere(const PictureRequest& request) {
    PictureAnswer answer;
    if (request.source == PictureRequest::Source::Association) {
        const Shell::Association association = Win32Shell().AssociatedProgram(request.path);
        answer.shellResult = association.result;
        answer.program = association.program;
        return answer;
    }
    if (request.source == PictureRequest::Source::IconCount) {
        answer.iconCount = Win32IconFiles().IconCount(request.path);
        return answer;
    }
    if (request.stamp) {
        answer.stamp = TrustedLastWrite(request.path).value_or(0);
        if (request.sameStamp && answer.stamp == request.sameStamp) {
            answer.outcome = PictureAnswer::Outcome::Unchanged;
            return answer;
        }
    }
    if (request.size <= 0 || request.size > 256) return answer;
    const OwnedIcon icon(IconOf(request));
    if (!icon) return answer;
    answer.pixels = request.finish == PictureRequest::Finish::MenuBitmap ? MenuPixels(icon.Get(), request.size)
                                                                          : ButtonPixels(icon.Get(), request.size);
    if (!answer.pixels.empty()) answer.outcome = PictureAnswer::Outcome::Drawn;
    return answer;
}

OwnedBitmap MenuBitmapOf(const PictureAnswer& answer, int size) {
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    if (answer.outcome != PictureAnswer::Outcome::Drawn || answer.pixels.size() != count) return {};
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return {};
    std::memcpy(canvas.Pixels(), answer.pixels.data(), count * sizeof(uint32_t));
    return canvas.TakeBitmap();
}

HICON ButtonIconOf(const PictureAnswer& answer, int size) {
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    if (answer.outcome != PictureAnswer::Outcome::Drawn || answer.pixels.size() != count) return nullptr;
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return nullptr;
    std::memcpy(canvas.Pixels(), answer.pixels.data(), count * sizeof(uint32_t));
    const OwnedBitmap mask(canvas.MaskFromAlpha());
    ICONINFO info{TRUE, 0, 0, mask.Get(), canvas.Finish()};
    return CreateIconIndirect(&info);
}

Win32Pictures::Win32Pictures(PictureLimits limits, std::function<void(const PictureRequest&)> beforeFetch)
    : mailbox_(std::make_shared<PictureMailbox>()), beforeFetch_(std::move(beforeFetch)), fetches_(*this, limits) {
    mailbox_->Open(CreateMailboxWindow(&handOn_));
}

Win32Pictures::~Win32Pictures() {
    if (const HWND window = mailbox_->Close()) DestroyWindow(window);
}

bool Win32Pictures::Start(uint64_t job, const PictureRequest& request) {
    try {
        auto* work = new Work{mailbox_, job, request, beforeFetch_};
        ++workersAlive;
        if (RunOnThread(FetchOnWorker, work)) return true;
        --workersAlive;
        delete work;
        return false;
    } catch (...) {
        return false;
    }
}

void Win32Pictures::HandOnArrived() {
    auto answers = mailbox_->Take();
    const auto now = PictureFetches::Clock::now();
    for (auto& [job, answer] : answers) fetches_.Arrived(job, answer, now);
}

int Win32Pictures::WorkersAlive() { return workersAlive; }

}  // namespace tavi
