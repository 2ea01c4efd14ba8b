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
