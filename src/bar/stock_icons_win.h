#pragma once
#include <windows.h>

#include "platform/picture_list_win.h"

namespace tavi {

// The bar's own pictures, drawn in code at any size: "Dos" (batch files),
// "Nothing" (no icon found), "Folder" (folders and groups) and "DRAG"
// (moving a button). The program's own icon is its resource. The caller owns
// the returned icon and destroys it.
enum class StockIcon { Dos, Nothing, Folder, Drag };
HICON CreateStockIcon(StockIcon icon, int size);
// Adds the picture to a list at the list's size (no icon is made on the
// way); its index there, or -1.
int AddStockPicture(PictureList& list, StockIcon icon);

}  // namespace tavi
