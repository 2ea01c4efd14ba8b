// Resource identifiers of vserver.exe.
#pragma once

#define IDD_MAIN 1
#define IDB_PICTURE 104
#define IDI_VSERVER 105
#define IDD_SELECT_COM 106

#define IDC_START_STOP 1002
#define IDC_RATE 1005
#define IDC_RECEIVED 1006
#define IDC_SENT 1007
#define IDC_CONNECTIONS 1008
#define IDC_COM_PORT 1009
#define IDC_EVENT_LOG 1011

#define IDS_TITLE 11006
#define IDS_START 11007
#define IDS_STOP 11008
#define IDS_MUTEX 11010
