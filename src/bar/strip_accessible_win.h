#pragma once
#include <windows.h>

#include <oleacc.h>

namespace tavi {

class ButtonStrip;

// The strip as screen readers and UI automation see it: a toolbar whose
// children (ids 1..Count) are its buttons. The strip keeps one and
// disconnects it when its window goes; clients may hold it longer, and then
// hear CO_E_OBJNOTCONNECTED.
class StripAccessible;

// A new object with one reference, which the caller releases.
StripAccessible* NewStripAccessible(ButtonStrip& strip);
// The answer to WM_GETOBJECT(OBJID_CLIENT); 0 when it cannot be given.
LRESULT AnswerGetObject(StripAccessible& accessible, WPARAM wParam);
void Disconnect(StripAccessible& accessible);
void Release(StripAccessible& accessible);

}  // namespace tavi
