// Resource numbers of camfolder.dll, shared by the resource script and the code.
#pragma once

#define IDI_CAMERA 1  // the camera root
#define IDI_DRIVE 9   // a camera drive

#define IDS_NONE 99                  // "(なし)": an empty send-to menu
#define IDS_ERROR_CAPTION 1010
#define IDS_FORMAT_CAPTION 1011
#define IDS_RESTORE_TITLE 1012
#define IDS_CAMERA_NAME 1014
#define IDS_AND_MORE 1015
#define IDS_COLUMN_NAME 1100         // to 1104: name, size, type, modified, attributes
#define IDS_ALL_OF 1111
#define IDS_SEVERAL_TYPES 1112
#define IDS_SEVERAL_PLACES 1113
#define IDS_UNKNOWN 1114
#define IDS_DRIVE_LABEL 1200         // "%s (%d:)"
#define IDS_DRIVE_NAME 1201          // to 1203: drive numbers 0 to 2
#define IDS_STATUS_SELECTED 1300     // to 1303: the view's status texts
#define IDS_SIZE_UNIT 1400           // to 1403: bytes, KB, MB, GB
#define IDS_CONFIG_FILTER 1500
#define IDS_CONFIG_FILE_K20 1501
#define IDS_MODEL_K20 1502
#define IDS_MODEL_K10 1503
#define IDS_CONFIG_FILE_K10 1504
#define IDS_SIZE_LINE 15004
#define IDS_DATE_TIME 15006
#define IDS_COUNTS_LINE 15013
#define IDS_ADDRESS_TEXT 15022
#define IDS_OVERWRITE_FILE 15023
#define IDS_DELETE_FOLDER 30000      // to 30003: folder, read-only folder entry, file, read-only file
#define IDS_DELETE_SEVERAL 30004
#define IDS_FORMAT_QUESTION 30012

// The name dialog of files whose names the camera cannot take.
#define IDD_NAME_CHOICE 1010
#define IDC_NAME_TARGET 11011
#define IDC_NAME_SOURCE 11012
#define IDC_NAME_EDIT 11013
#define IDC_NAME_AUTO 11014

// The question before a camera file of the same name is replaced.
#define IDD_OVERWRITE 113
#define IDC_OVERWRITE_TEXT 11004
#define IDC_OVERWRITE_CURRENT 11005
#define IDC_OVERWRITE_CURRENT_ICON 11006
#define IDC_OVERWRITE_NEW 11007
#define IDC_OVERWRITE_NEW_ICON 11008
#define IDC_OVERWRITE_ALL 11000

// The menu of a drag with the right button.
#define IDM_DROP_MENU 110
#define IDM_MOVE_HERE 10500
#define IDM_COPY_HERE 10501
#define IDM_CANCEL_DROP 10503

// Property pages: the connection settings (with the IP address control, and
// with a plain edit field for older shells), folder, file, drive, and
// several items.
#define IDD_CONNECTION_PAGE 200
#define IDD_CONNECTION_PAGE_EDIT 201
#define IDD_FOLDER_PAGE 202
#define IDD_FILE_PAGE 203
#define IDD_DRIVE_PAGE 204
#define IDD_MULTI_ITEM_PAGE 205

// Their controls.
#define IDC_DEVICE 1002
#define IDC_ITEM_ICON 15000
#define IDC_ITEM_NAME 15001
#define IDC_ITEM_TYPE 15002       // the drive type on the drive page
#define IDC_ITEM_LOCATION 15003
#define IDC_ITEM_SIZE 15004
#define IDC_ITEM_SHORT_NAME 15005
#define IDC_ITEM_DATE 15006       // a folder's modification time, a file's creation time
#define IDC_ITEM_MODIFIED 15007
#define IDC_ITEM_ACCESSED 15008
#define IDC_READ_ONLY 15009
#define IDC_HIDDEN 15010
#define IDC_ARCHIVE 15011
#define IDC_SYSTEM 15012
#define IDC_ITEM_COUNTS 15013
#define IDC_DRIVE_LABEL 15014
#define IDC_FILE_SYSTEM 15015
#define IDC_USED_BYTES 15016
#define IDC_USED_SIZE 15017
#define IDC_FREE_BYTES 15018
#define IDC_FREE_SIZE 15019
#define IDC_CAPACITY_BYTES 15020
#define IDC_CAPACITY_SIZE 15021
#define IDC_ADDRESS 15022

// Commands: menu items, accelerators and the numbers InvokeCommand takes
// (menu identifiers are these plus the first identifier of the host).
#define IDM_SELECT_ALL 1
#define IDM_INVERT_SELECTION 2
#define IDM_LARGE_ICONS 3            // to 6: large icons, small icons, list, details
#define IDM_SMALL_ICONS 4
#define IDM_LIST 5
#define IDM_DETAILS 6
#define IDM_LINE_UP 8
#define IDM_BY_NAME 9                // to 12: by name, size, type, date
#define IDM_BY_SIZE 10
#define IDM_BY_TYPE 11
#define IDM_BY_DATE 12
#define IDM_SAVE_CONFIG 13
#define IDM_RESTORE_CONFIG 14
#define IDM_PROPERTIES 15
#define IDM_EXPLORE 16
#define IDM_OPEN 17                  // a drive or folder
#define IDM_OPEN_FILE 18
#define IDM_NEW_FOLDER 20
#define IDM_FORMAT 21
#define IDM_DELETE 22
#define IDM_RENAME 23
#define IDM_EDIT_LABEL 24
#define IDM_DISCONNECT 25
#define IDM_SEND_TO 30               // the "send to" submenu
#define IDM_SEND_TO_FIRST 31         // its entries: 31 + n
#define IDM_NEW 90                   // the "new" submenu
#define IDM_SELECTION_MENU 91        // where the selection's items go

// Menus: the view's Edit and View additions, the combined menu of a
// selection, the camera root, drives, folders, files, the "new" submenu and
// the view background; the view's accelerators.
#define IDM_VIEW_MENU 100
#define IDM_COMBINED_MENU 101
#define IDM_ROOT_MENU 102
#define IDM_DRIVE_MENU 103
#define IDM_FOLDER_MENU 104
#define IDM_FILE_MENU 105
#define IDM_NEW_MENU 106
#define IDA_VIEW 107
#define IDM_BACKGROUND_MENU 108

// The delete confirmations: a file, several items, a folder.
#define IDD_DELETE_FILE 110
#define IDD_DELETE_SEVERAL 111
#define IDD_DELETE_FOLDER 112
#define IDC_DELETE_ALL 11000
#define IDC_DELETE_FOLDER_TEXT 11001
#define IDC_DELETE_FILE_TEXT 11002
#define IDC_DELETE_SEVERAL_TEXT 11003
#define IDC_DELETE_ICON 11009

// The folder view: a child dialog holding the list.
#define IDD_CAMERA_VIEW 100
#define IDC_VIEW_LIST 1000
