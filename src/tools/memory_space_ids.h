#pragma once
// Template and control ids of the memory meter, shared by res/memory_space.rc and its view.
#define IDD_MEMORY_SPACE 1600
// The four bars: memory load, system, user and GDI resources.
#define IDC_MEMORY_BAR0 1601
#define IDC_MEMORY_LABEL0 1605
#define IDC_MEMORY_TOTAL_LABEL 1609
#define IDC_MEMORY_TOTAL 1610
#define IDC_MEMORY_AVAIL_LABEL 1611
#define IDC_MEMORY_AVAIL 1612
#define IDC_MEMORY_LINE 1613
