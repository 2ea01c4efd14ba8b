// Resource identifiers of shotlist.dll: dialog templates, controls, the
// placeholder picture and the string table.
#pragma once

#define IDD_LIST_FILE 102
#define IDD_IMAGE_SELECT 132
#define IDD_CUT_TITLE 133
#define IDD_SAVE_LIST 134

#define IDB_PLACEHOLDER 134

#define IDC_FOLDER_TREE 1000
#define IDC_THUMBNAIL_GRID 1000
#define IDC_PATH_COMBO 1001
#define IDC_SELECT_TYPED_PATH 1003
#define IDC_TITLE_LIST 1004
#define IDC_TITLE_EDIT 1005
#define IDC_FILE_NAME_EDIT 1006
#define IDC_FOLDER_EDIT 1007
#define IDC_COUNT_TEXT 1008
#define IDC_CUT_TITLE_TEXT 1009

#define IDS_FONT_FACE 1
#define IDS_FILE_FILTER 2
#define IDS_LIST_PATTERN 3
#define IDS_LIST_HEADER 4
#define IDS_TITLE_KEY 5
#define IDS_TOOLKIT 6
#define IDS_NO_FILE_NAME 7
#define IDS_NO_FOLDER 8
#define IDS_NO_TITLE 9
#define IDS_BAD_FILE_NAME 10
#define IDS_FORBIDDEN_CHARACTERS 11
#define IDS_CANNOT_SELECT_IMAGE 12
#define IDS_NO_LIST_SELECTED 13
#define IDS_ASCII_ONLY 14
#define IDS_NO_CDROM 15
#define IDS_NO_MEDIA 16
#define IDS_OVERWRITE 17
#define IDS_SAVE_FAILED 18
