// The about box: program icon, name and version, OK.
#pragma once

#include "dialog.h"
#include "resource.h"

class CAboutDialog : public winfx::CDialog {
 public:
  explicit CAboutDialog(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}
};
