#pragma once
// Template and control ids of the import's folder choice, shared by
// res/import_folder.rc and its view.
#define IDD_IMPORT_FOLDER 1750
#define IDC_IMPORT_PROMPT 1751
#define IDC_IMPORT_FOLDERS 1752
#define IDC_IMPORT_BROWSE 1753
