#pragma once
#define IDD_PROGRESS 102
#define IDC_PROGRESS_AREA 1002
