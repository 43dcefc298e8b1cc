#include "platform/loop_waits_win.h"

#include <utility>
#include <vector>

namespace tavi {
namespace {

std::vector<HANDLE> objects;
std::vector<std::function<void()>> actions;

void EraseAt(size_t i) {
    objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
    actions.erase(actions.begin() + static_cast<std::ptrdiff_t>(i));
}

// A handle closed while still listed would fail every wait: it goes.
void DropInvalid() {
    for (size_t i = objects.size(); i-- > 0;)
        if (WaitForSingleObject(objects[i], 0) == WAIT_FAILED) EraseAt(i);
}

}  // namespace

namespace loop_waits {

bool Add(HANDLE object, std::function<void()> signalled) {
    if (!object || objects.size() >= MAXIMUM_WAIT_OBJECTS - 1) return false;
    objects.push_back(object);
    actions.push_back(std::move(signalled));
    return true;
}

void Remove(HANDLE object) {
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i] == object) {
            EraseAt(i);
            return;
        }
}

size_t Count() { return objects.size(); }

}  // namespace loop_waits

void WaitForInput() {
    for (;;) {
        const auto count = static_cast<DWORD>(objects.size());
        const DWORD result = MsgWaitForMultipleObjectsEx(count, count ? objects.data() : nullptr, INFINITE,
                                                         QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
        if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            const size_t i = result - WAIT_OBJECT_0;
            std::function<void()> action = std::move(actions[i]);
            EraseAt(i);
            if (action) action();
            continue;
        }
        if (result == WAIT_FAILED && count > 0) {
            DropInvalid();
            if (objects.size() < count) continue;
        }
        return;  // input, a completion routine, or a failure the loop will meet again
    }
}

}  // namespace tavi
