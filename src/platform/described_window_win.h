#pragma once
#include <windows.h>

#include <string>

namespace tavi {

// A system control's accessible object tells `description` (empty: what the
// system's own object tells). The control answers for itself rather than
// through the accessibility library's annotations, which Wine does not keep.
// Clients are told of the change; the control's end undoes it all.
void SetAccessibleDescription(HWND control, const std::wstring& description);

// WM_GETOBJECT(OBJID_CLIENT) of a window of ours that screen readers are to
// take for a tooltip, named by its text; 0 when no object could be made.
LRESULT AnswerAsTooltip(HWND window, WPARAM wParam);

}  // namespace tavi
