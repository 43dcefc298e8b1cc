#pragma once
// Template and control ids of the file properties, shared by res/file_information.rc and its view.
#define IDD_FILE_INFOMATION 1550
#define IDC_FILEINFO_TAB 1551
#define IDC_FILEINFO_ICON 1552
#define IDC_FILEINFO_NAME 1553
// Three captions and their values: type, location, size.
#define IDC_FILEINFO_ETC0 1554
#define IDC_FILEINFO_PLACE0 1557
// Four captions and their values: MS-DOS name, created, modified, accessed.
#define IDC_FILEINFO_DATE0 1560
#define IDC_FILEINFO_ACSESS0 1564
#define IDC_FILEINFO_ARCHIVE 1568
// Five attributes: read-only, hidden, archive, system, compressed.
#define IDC_FILEINFO_ATTRIBUTE0 1569
#define IDC_FILEINFO_LINE0 1574
