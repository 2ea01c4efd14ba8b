// CBackgroundMenu: the menu of the view's background (IContextMenu, menu
// 108): view modes, arranging, a new folder, the folder's properties. It
// acts on the view that made it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "items/module_state.h"
#include "view/view_commands.h"
#include "win_raii.h"

namespace camfolder {

class CBackgroundMenu final : public IContextMenu {
 public:
  static HRESULT Create(const std::vector<uint8_t> &folderList, ViewCommands &view, REFIID interfaceId,
                        void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO *invoke) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT *reserved, LPSTR name, UINT size) override;

 private:
  explicit CBackgroundMenu(ViewCommands &view) : view_(view) {}
  ~CBackgroundMenu() = default;

  HRESULT Run(HWND owner, UINT command);

  LONG references_ = 1;
  ViewCommands &view_;
  std::vector<uint8_t> folderList_;
  std::string folderPath_;  // "" at the camera root
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
