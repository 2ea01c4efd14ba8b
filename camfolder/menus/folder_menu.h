// CFolderMenu: the menu of the folder itself (IContextMenu), for a view
// with nothing selected: the camera root (menu 102), a drive (103) or a
// folder (104), each with the commands on that folder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "core/camera_item.h"
#include "items/module_state.h"
#include "win_raii.h"

namespace camfolder {

class CFolderMenu final : public IContextMenu {
 public:
  static HRESULT Create(IShellFolder *folder, const std::vector<uint8_t> &folderList, REFIID interfaceId,
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
  CFolderMenu() = default;
  ~CFolderMenu() = default;

  HRESULT Run(HWND owner, UINT command);

  LONG references_ = 1;
  ComPtr<IShellFolder> folder_;
  std::vector<uint8_t> folderList_;
  bool root_ = true;
  CameraItem self_{};  // the folder's own item, unless it is the camera root
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
