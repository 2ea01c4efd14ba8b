// CItemMenu: the context menu of selected camera items (IContextMenu), one
// object for the items of one folder: drives at the camera root (menu 103),
// folders (104) and files (105), with the camera's own verbs.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "core/camera_item.h"
#include "items/module_state.h"
#include "menus/send_to_menu.h"
#include "win_raii.h"

namespace camfolder {

class CItemMenu final : public IContextMenu {
 public:
  // The items are one-item lists of the folder with this absolute list.
  // E_INVALIDARG for no items or items that are not camera items.
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
  CItemMenu() = default;
  ~CItemMenu() = default;

  // The resource submenu for these items, prepared for the flags.
  HRESULT PrepareMenu(UINT flags, unique_hmenu &menu);
  std::vector<std::vector<uint8_t>> FullLists() const;
  HRESULT Run(HWND owner, UINT command);

  LONG references_ = 1;
  ComPtr<IShellFolder> folder_;
  std::vector<uint8_t> folderList_;
  std::string folderPath_;  // "" at the camera root
  std::vector<std::vector<uint8_t>> items_;
  std::vector<CameraItem> cameraItems_;
  SendToMenu sendTo_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
