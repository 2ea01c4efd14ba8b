// The message boxes of the shot list dialogs: a text of the string table,
// captioned with the library's name ("Shoot Planner Toolkit").
#pragma once

#include <windows.h>

#include "shared/winfx/resource_string.h"
#include "shared/winfx/win_app.h"

inline int ShowToolkitMessage(HWND owner, UINT textId, UINT type = MB_OK | MB_ICONSTOP) {
  return winfx::AppMessageBox(owner, winfx::LoadResourceString(textId), type);
}
