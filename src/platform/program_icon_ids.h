#pragma once
// The program's icon (res/TaviMenu2.rc, drawn by scripts/draw_icon.py): the
// first icon group, which Explorer and shortcuts show.
#define IDI_TAVIMENU2 1
