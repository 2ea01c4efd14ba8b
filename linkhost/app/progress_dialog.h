// The transfer progress dialog: "%d / %d" with the two numbers of the
// transfer, a progress bar painted by the transferring thread, and Cancel.
#pragma once

#include <windows.h>

struct ProgressDialogRecord {
  HWND owner;
  HANDLE cancelEvent;
  int current;
  int total;
};

// Creates the dialog (not yet shown); none on failure.
HWND CreateProgressDialog(const ProgressDialogRecord &record);
HWND ProgressArea(HWND dialog);
// Fills percent (0 to 100) of the area with the highlight colour.
void PaintProgress(HWND area, unsigned percent);
