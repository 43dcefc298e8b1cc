#pragma once
// Resource identifiers shared by the .rc file and the views.
#define IDI_TAVIMENU2 1
