// The folder tree of the list file and save dialogs, on the shell namespace:
// My Computer as the only root, each level filled when it is first needed,
// the file-system path of the selected folder, selection by path and the
// shell's own context menu on right click.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "shared/win_raii.h"

class CShellFolderTree {
 public:
  CShellFolderTree() = default;
  CShellFolderTree(const CShellFolderTree &) = delete;
  CShellFolderTree &operator=(const CShellFolderTree &) = delete;

  // Works on the tree view control `id` of `dialog`.
  void Attach(HWND dialog, int id);
  HWND GetSafeHwnd() const { return tree_; }

  // The system's small icon list as the tree's images.
  void SetSystemImageList();
  // Empties the tree, inserts My Computer, expands and selects it.
  void Fill();

  // The four notifications the dialog forwards. OnSelChanged is true, with
  // the path, when the new selection is a folder of the file system.
  void OnItemExpanding(const NMTREEVIEWA &notify);
  bool OnSelChanged(const NMTREEVIEWA &notify, std::string &path);
  void OnItemDeleted(const NMTREEVIEWA &notify);
  void OnRightClick();

  // Forwards a WM_NOTIFY of the tree to the handlers above; true when it
  // was one of the four, and the dialog's result for it is set.
  // `selectionChanged` tells a selection change, whose path (empty for a
  // folder outside the file system) is in `path`.
  bool OnNotify(const NMHDR &header, bool &selectionChanged, std::string &path);

  // Selects the folder given as a path, drive and folders one by one; a
  // folder that does not exist gets a "Folder not found" box.
  void SelectPath(const std::string &path);

 private:
  // What a tree item stands for; its address is the item's parameter.
  struct ItemRecord {
    Microsoft::WRL::ComPtr<IShellFolder> parent;  // the folder that holds the item
    unique_pidl relative;                          // relative to the parent
    unique_pidl absolute;                          // from the desktop
  };

  // Orders two children as their folder does.
  static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM folder);
  ItemRecord *RecordOf(HTREEITEM item) const;
  // Inserts the folders below `item` (the desktop's My Computer at the root).
  void InsertChildren(HTREEITEM item, IShellFolder *folder, const ITEMIDLIST *folderAbsolute);
  void ExpandOnce(HTREEITEM item);
  void ShowContextMenu(ItemRecord &record, POINT screen);
  // The file-system path of an item, empty when it has none.
  std::string PathOf(HTREEITEM item) const;
  std::string TextOf(HTREEITEM item) const;
  void SelectVisible(HTREEITEM item);

  HWND dialog_ = nullptr;
  HWND tree_ = nullptr;
  // The records of the items; each goes when its item is deleted, the
  // rest when the tree object goes.
  std::unordered_map<const ItemRecord *, std::unique_ptr<ItemRecord>> records_;
};
