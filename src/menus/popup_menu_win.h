#pragma once
#include <windows.h>

#include <cstdint>

#include "menus/menu_model.h"

namespace tavi {

// Shows `model` as a popup menu at `at` (screen pixels) and waits for it to
// close. Returns the id of the chosen item, 0 when none was chosen. The
// native menu is built item for item from the model and destroyed afterwards.
uint32_t ShowPopupMenu(HWND owner, const MenuModel& model, POINT at);

}  // namespace tavi
