// CCombinedMenu: a selection inside the folder (IContextMenu), as the view's
// File menu offers it: the selection's own items (a CItemMenu, at the
// placeholder of menu 101) and the folder's "new" submenu.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "items/module_state.h"
#include "win_raii.h"

namespace camfolder {

class CCombinedMenu final : public IContextMenu {
 public:
  static HRESULT Create(IShellFolder *folder, const std::vector<uint8_t> &folderList,
                        const std::vector<std::vector<uint8_t>> &items, REFIID interfaceId, void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO *invoke) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT *reserved, LPSTR name, UINT size) override;

 private:
  CCombinedMenu() = default;
  ~CCombinedMenu() = default;

  HRESULT Build(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags);

  LONG references_ = 1;
  ComPtr<IContextMenu> selection_;
  std::string folderPath_;  // "" at the camera root
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
