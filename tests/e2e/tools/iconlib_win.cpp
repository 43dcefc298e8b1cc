// iconlib: writes a copy of itself holding `count` solid 32 x 32 icons of
// known colours, so a test can tell which icon a window drew where.
//   iconlib.exe <target path> <count>
// Icon i has the colour icon_library::ColourOf(i) (the tests compute the same).
#include <windows.h>

#include <cstdlib>

#include "../../win/icon_library_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  return icon_library::Write(argv[1], _wtoi(argv[2])) ? 0 : 1;
}
