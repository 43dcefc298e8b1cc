#pragma once
// Template and control ids of the icon picker, shared by res/icon_change.rc and its view.
#define IDD_ICON_CHANGE 1200
#define IDC_ICONCHANGE_FILE_LABEL 1201
#define IDC_ICONCHANGE_FILE 1202
#define IDC_ICONCHANGE_BROWSE 1203
#define IDC_ICONCHANGE_STRIP 1204
#define IDC_ICONCHANGE_SCROLL 1205
// The window class of the strip of icon cells.
#define ICONCHANGE_STRIP_CLASS "TaviIconStrip"
