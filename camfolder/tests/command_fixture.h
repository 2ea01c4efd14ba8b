// The camera folder's menus and commands as the shell reaches them: the
// DLL registered with camreg, a camsim card of the test's own, the camera
// root bound through the shell; the pieces the shell reaches only through
// the view (folder, combined and background menus, the merge) are taken
// from the objects library with the DLL's resources.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "dialog_script.h"
#include "shell_fixture.h"
#include "window_text.h"

// The menu as text, one line per item: "<id - first> <text>" with
// " default" and " grayed" marks, "-" for a separator, "> <text>" for a
// popup without an identifier; a popup's items follow indented by two.
std::string MenuText(HMENU menu, UINT firstId, int indent = 0);

class CommandFixture : public ::testing::Test {
 protected:
  // The card: drive 0 with DCIM/100LUMO01 (a picture), folders for the new
  // folder rule and MEMO.TXT; drive 1 with CF.TXT. camsim plays a K20 with
  // the configuration given, with camsim's further options after the
  // fixture's own (a later "--model" wins).
  static void StartCamera(const std::string &address, const std::string &configuration,
                          const std::vector<std::string> &options = {});
  static void StopCamera();

  // The items with these names in the folder reached by the path (names or
  // parsing names from the root).
  static std::vector<Child> Items(const std::vector<std::string> &path, const std::vector<std::string> &names);
  // The folder's context menu object for them.
  static ComPtr<IContextMenu> ItemMenu(const std::vector<std::string> &path, const std::vector<std::string> &names);
  // The absolute list of the folder reached by the path.
  static unique_cotaskmem FolderList(const std::vector<std::string> &path);

  // QueryContextMenu into a new popup at 0 from firstId; the answer's count
  // goes to used.
  static std::string Built(IContextMenu *menu, UINT flags, UINT firstId = 100, UINT lastId = 0x7FFF,
                           UINT *used = nullptr);
  // InvokeCommand with the command number (offset) and the owner.
  static HRESULT Invoke(IContextMenu *menu, UINT command, HWND owner);
  static HRESULT InvokeVerb(IContextMenu *menu, const char *verb, HWND owner);

  // Whether the owner was told to read its folder again (VK_F5 posted).
  static bool OwnerRefreshed();
  // The attributes camsim keeps, changed through the camera API.
  static void SetCameraAttributes(const std::string &path, uint32_t attributes);
  static uint32_t CameraAttributes(const std::string &path);
  static bool CameraHas(const std::string &sub);

  static inline CameraCard *card_ = nullptr;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline IShellFolder *root_ = nullptr;
  static inline HWND owner_ = nullptr;
  static inline HMODULE module_ = nullptr;
};
