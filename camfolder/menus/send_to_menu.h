// The "send to" submenu of camera files: one entry per item of the user's
// send-to folder, and sending the selected items there the way a drop does.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "win_raii.h"

namespace camfolder {

class SendToMenu {
 public:
  // A popup with the entries in the folder's order, numbered from the first
  // command on; the grayed "(なし)" when the folder lists nothing. Null when
  // no popup can be made.
  unique_hmenu Build(UINT firstCommand);

  // Drops each item (a one-item list of the folder) on entry n, one data
  // object per item. E_INVALIDARG for an entry the menu did not offer.
  HRESULT Send(HWND owner, IShellFolder *folder, const std::vector<std::vector<uint8_t>> &items, size_t entry) const;

 private:
  void ReadEntries();

  ComPtr<IShellFolder> sendTo_;
  unique_cotaskmem sendToList_;
  std::vector<unique_cotaskmem> entries_;
};

}  // namespace camfolder
