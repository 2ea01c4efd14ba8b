// CCameraView: the folder view of a camera folder — a child dialog holding
// one list view, with columns, sorting, status texts, menus, label editing,
// drag and drop and the saved column widths. CViewFactory hands it to the
// shell as IShellView.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <array>
#include <string>
#include <vector>

#include "core/camera_item.h"
#include "core/view_rules.h"
#include "view/file_types.h"
#include "view/view_commands.h"
#include "win_raii.h"

namespace camfolder {

class CCameraView final : public ViewCommands {
 public:
  CCameraView(IShellFolder *folder, std::vector<uint8_t> folderList, std::string folderPath);
  ~CCameraView();
  CCameraView(const CCameraView &) = delete;
  CCameraView &operator=(const CCameraView &) = delete;

  // The shell's interface of this view, for what the view tells a file dialog.
  void SetShellView(IShellView *view) { shellView_ = view; }

  // What the shell asks of the view.
  HWND Window() const { return window_; }
  HRESULT CreateViewWindow(const FOLDERSETTINGS *settings, IShellBrowser *browser, const RECT *area, HWND *window);
  HRESULT DestroyViewWindow();
  HRESULT Refresh();
  HRESULT GetCurrentInfo(FOLDERSETTINGS *settings) const;
  HRESULT SaveViewState();
  HRESULT SelectItem(PCUITEMID_CHILD item, SVSIF flags);
  HRESULT GetItemObject(UINT which, REFIID interfaceId, void **object);
  HRESULT TranslateAccelerator(MSG *message);
  HRESULT UIActivate(UINT state);

  // ViewCommands
  UINT ViewMode() const override { return viewMode_; }
  void SetViewMode(UINT mode) override;
  void LineUp() override;
  void SortBy(int column) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  // The list and its contents.
  void SetUpWindow();
  HRESULT Refill();
  void ApplyShellSettings();
  void InsertColumn(int column);
  int ColumnWidth(int column);
  bool AddItem(PCUITEMID_CHILD child);
  void Sort(uint32_t sortValue);
  static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM view);
  void UpdateStatus();
  void SetStatusText(int part, const std::wstring &text);

  // The selection.
  std::vector<std::vector<uint8_t>> SelectedItems(bool transferFlag) const;
  std::vector<std::vector<uint8_t>> AllItems() const;
  HRESULT SelectionMenu(UINT flags, ComPtr<IContextMenu> &menu) const;
  HRESULT FetchSelectionForDialog();

  // What happens in the list.
  LRESULT OnNotify(NMHDR *header);
  void OnDefaultCommand();
  void OnBeginDrag(const NMLISTVIEW *drag);
  void OnContextMenu(POINT point, bool fromKeyboard);
  void OnCommand(UINT command, bool fromAccelerator);
  void OnWheel(int delta);
  void InvokeMenuCommand(IContextMenu *menu, UINT offset);
  bool ShowsTree() const;

  // The view background's menu.
  HRESULT CreateBackgroundMenu(REFIID interfaceId, void **object);

  // The browser's menus while the view is active.
  void MergeMenus(UINT state);
  void RemoveMenus();
  void OnInitMenuPopup(HMENU menu);
  void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  // The File menu's object: the folder's menu, or with the focus in the view
  // and items selected, the menu of the selection inside the folder's.
  HRESULT FileMenuObject(ComPtr<IContextMenu> &menu) const;
  UINT FileMenuFlags() const;
  void OnFileMenuCommand(UINT command);

  IShellView *shellView_ = nullptr;        // not held: it holds this view
  ComPtr<IShellFolder> folder_;
  std::vector<uint8_t> folderList_;
  std::string path_;                       // the folder's camera path, "" at the camera root
  ComPtr<IShellBrowser> browser_;
  ComPtr<ICommDlgBrowser> dialogBrowser_;  // when a file dialog hosts the view
  HWND parent_ = nullptr;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HACCEL accelerators_ = nullptr;
  unique_hmenu menu_;                      // the browser's menu with ours merged in
  UINT activation_ = SVUIA_DEACTIVATE;
  UINT viewMode_ = FVM_DETAILS;
  UINT folderFlags_ = 0;
  bool editing_ = false;
  uint64_t totalSize_ = 0;
  DWORD freeSpace_ = 0;
  FileTypes fileTypes_;                    // asked afresh by every refill
  std::array<int, kViewColumns> widths_{};  // 0 until known
  bool showAttributes_ = false;
  bool showExtensions_ = true;
  int fetchState_ = 2;                     // 1 after a selection change, 0 armed, 2 done
  uint32_t sort_ = kSortName;
  ComPtr<IDropTarget> dropTarget_;
  // The root's own lists with the drive icon, owned and destroyed by the list
  // (which then has no LVS_SHAREIMAGELISTS).
  HIMAGELIST largeIcons_ = nullptr;
  HIMAGELIST smallIcons_ = nullptr;
};

}  // namespace camfolder
