#pragma once
// Template and control ids of the format dialog, shared by res/fd_format.rc and its view.
#define IDD_FD_FORMAT 1350
#define IDC_FDFORMAT_DRIVE_LABEL 1351
#define IDC_FDFORMAT_DRIVE 1352
