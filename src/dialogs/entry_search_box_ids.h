#pragma once
// Template and control ids of the entry search, shared by res/entry_search_box.rc and its view.
#define IDD_ENTRY_SEARCH 1800
#define IDC_SEARCH_TEXT 1801
#define IDC_SEARCH_RESULTS 1802
