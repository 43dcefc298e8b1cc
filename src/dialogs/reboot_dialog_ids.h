#pragma once
// Template and control ids of RebootDialog, shared by res/reboot_dialog.rc and its view.
#define IDD_FRM_REBOOT 1300
#define IDC_FRMREBOOT_ICON 1301
#define IDC_FRMREBOOT_WARNING 1302
#define IDC_FRMREBOOT_CHOOSE 1303
// optReboot(0) and optReboot(1)
#define IDC_FRMREBOOT_RESTART 1304
#define IDC_FRMREBOOT_STOREONLY 1305
