// Resource identifiers of uploadd.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_UPLOADD_DIALOG 102
#define IDR_MAINFRAME 128

// Command of the system menu's about item.
#define IDM_ABOUTBOX 0x0010

#define IDS_ABOUTBOX 101
#define IDS_SOCKETS_INIT_FAILED 103
#define IDS_TRAY_TIP 104
#define IDS_CREATE_SOCKET_FAILED 112
#define IDS_OPEN_LOG_FAILED 113
#define IDS_CREATE_ROOT_FAILED 114
#define IDS_COMPANY 130
#define IDS_SECTION 131
#define IDS_ENTRY_ROOTPATH 132
#define IDS_ENTRY_LOGFILE 133
#define IDS_ENTRY_PORT 134
#define IDS_ENTRY_VALIDUSER 135
#define IDS_ENTRY_VALIDPASSWD 136
#define IDS_LOG_START 150
#define IDS_LOG_QUIT 151
#define IDS_USER_NAME 153
#define IDS_PASSWORD 154
#define IDS_DEFAULT_ROOT 155

#define IDC_USER_NAME 1000
#define IDC_PORT 1001
#define IDC_PASSWORD 1002
#define IDC_ROOT_DIRECTORY 1003
#define IDC_LOG_FILE 1004
#define IDC_APPLY 1005
#define IDC_CONNECTIONS 1006
#define IDC_START 1007
#define IDC_QUIT 1008
#define IDC_HIDE 1009

// The notification-area icon's identifier and callback message, and the
// message that asks the window to close a control connection (sent by a
// transfer watchdog, or by a connection that wants to end itself).
#define IDC_TRAY_ICON 1006
#define WM_TRAY_NOTIFY (WM_USER + 69)
#define WM_CLOSE_CONNECTION (WM_USER + 70)
