#pragma once
#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace tavi {

// Whether a data object offers a list of files (CF_HDROP).
bool OffersFiles(IDataObject* data);
// The files of a data object's CF_HDROP list, in their order; none when it has no such list.
std::vector<std::string> DroppedFiles(IDataObject* data);

// An OLE drop target that takes files only. While files are dragged over
// its window it answers the copy effect where `accepts` says so (none
// elsewhere), so the shell shows whether a drop there would do something;
// anything that is not a file list is refused outright. Points are in
// screen pixels.
class FileDropTarget final : public IDropTarget {
public:
    struct Handlers {
        std::function<bool(POINT)> accepts;                          // a drop here would do something
        std::function<void(POINT)> hover;                            // the pointer is over the window with files
        std::function<void()> leave;                                 // it left, or the drag ended
        std::function<void(std::vector<std::string>, POINT)> drop;   // files dropped where `accepts` held
    };
    // Reference counted: the creator holds the first reference and releases it.
    static FileDropTarget* Create(Handlers handlers);
    // The owner of the handlers is going away: later calls refuse everything.
    void Disconnect() { handlers_ = {}; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    explicit FileDropTarget(Handlers handlers) : handlers_(std::move(handlers)) {}
    DWORD EffectAt(POINTL point, DWORD allowed);

    LONG references_ = 1;
    Handlers handlers_;
    bool files_ = false;  // the data over the window offers files
};

// RegisterDragDrop for the lifetime of the object; the window's thread must
// have called OleInitialize.
class DropRegistration {
public:
    DropRegistration() = default;
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    ~DropRegistration() { Revoke(); }

    // False when the system refused (no OleInitialize, or already registered).
    bool Register(HWND window, IDropTarget* target);
    void Revoke();
    bool Registered() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

}  // namespace tavi
