// The folder view's part of the browser's menus while it is active: its
// edit and view commands merged in, the File menu filled with the menu of
// what is selected, and the help texts in the status bar.
#include "items/module_state.h"
#include "items/module_strings.h"
#include "menus/context_menus.h"
#include "menus/menu_merge.h"
#include "resource_ids.h"
#include "view/camera_view.h"

namespace camfolder {

namespace {

constexpr UINT kFileSeparator = 92;

HMENU BrowserSubmenu(HMENU menu, UINT id) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_SUBMENU;
  return GetMenuItemInfoA(menu, id, FALSE, &item) ? item.hSubMenu : nullptr;
}

int FirstSeparator(HMENU menu) {
  for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) return i;
  return GetMenuItemCount(menu);
}

}  // namespace

HRESULT CCameraView::CreateBackgroundMenu(REFIID interfaceId, void **object) {
  return camfolder::CreateBackgroundMenu(reinterpret_cast<PCIDLIST_ABSOLUTE>(folderList_.data()), *this, interfaceId,
                                         object);
}

HRESULT CCameraView::UIActivate(UINT state) {
  if (state == activation_) return S_OK;
  if (state == SVUIA_DEACTIVATE) {
    RemoveMenus();
  } else if (state == SVUIA_ACTIVATE_NOFOCUS || state == SVUIA_ACTIVATE_FOCUS) {
    if (state == SVUIA_ACTIVATE_FOCUS && list_) {
      const HWND focus = GetFocus();
      if (focus != window_ && !IsChild(window_, focus)) SetFocus(list_);
    }
    MergeMenus(state);
  }
  activation_ = state;
  return S_OK;
}

void CCameraView::RemoveMenus() {
  if (!menu_) return;
  if (browser_) {
    browser_->SetMenuSB(nullptr, nullptr, nullptr);
    browser_->RemoveMenusSB(menu_.get());
  }
  menu_.reset();
}

void CCameraView::MergeMenus(UINT) {
  RemoveMenus();
  if (!browser_) return;
  menu_.reset(CreateMenu());
  if (!menu_) return;
  OLEMENUGROUPWIDTHS widths{};
  if (FAILED(browser_->InsertMenusSB(menu_.get(), &widths))) {
    menu_.reset();
    return;
  }
  const unique_hmenu ours(LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDM_VIEW_MENU)));
  if (HMENU file = BrowserSubmenu(menu_.get(), FCIDM_MENU_FILE))
    InsertMenuA(file, 0, MF_BYPOSITION | MF_SEPARATOR, kFileSeparator, nullptr);
  if (ours) {
    if (HMENU edit = BrowserSubmenu(menu_.get(), FCIDM_MENU_EDIT))
      MergeMenu(edit, 0, GetSubMenu(ours.get(), 0), FCIDM_SHVIEWFIRST, FCIDM_SHVIEWLAST, 0);
    if (HMENU view = BrowserSubmenu(menu_.get(), FCIDM_MENU_VIEW))
      MergeMenu(view, static_cast<UINT>(FirstSeparator(view)), GetSubMenu(ours.get(), 1), FCIDM_SHVIEWFIRST,
                FCIDM_SHVIEWLAST, 0);
  }
  browser_->SetMenuSB(menu_.get(), nullptr, window_);
}

HRESULT CCameraView::FileMenuObject(ComPtr<IContextMenu> &menu) const {
  const HWND focus = GetFocus();
  const bool inView = focus == window_ || IsChild(window_, focus);
  const auto folderList = reinterpret_cast<PCIDLIST_ABSOLUTE>(folderList_.data());
  void **made = reinterpret_cast<void **>(menu.ReleaseAndGetAddressOf());
  if (!inView || ListView_GetSelectedCount(list_) == 0)
    return CreateFolderMenu(folder_.Get(), folderList, IID_IContextMenu, made);
  const auto items = SelectedItems(false);
  std::vector<PCUITEMID_CHILD> lists;
  for (const auto &item : items) lists.push_back(reinterpret_cast<PCUITEMID_CHILD>(item.data()));
  return CreateCombinedMenu(folder_.Get(), folderList, static_cast<UINT>(lists.size()), lists.data(),
                            IID_IContextMenu, made);
}

UINT CCameraView::FileMenuFlags() const { return CMF_CANRENAME | (ShowsTree() ? CMF_EXPLORE : 0); }

void CCameraView::OnFileMenuCommand(UINT command) {
  // The object is made anew for what is selected and focused now, and
  // filled as the menu was, so that every command number means the same.
  ComPtr<IContextMenu> menu;
  const unique_hmenu filled(CreatePopupMenu());
  if (!filled || FAILED(FileMenuObject(menu)) ||
      FAILED(menu->QueryContextMenu(filled.get(), 0, FCIDM_SHVIEWFIRST, kFileSeparator - 1, FileMenuFlags())))
    return;
  InvokeMenuCommand(menu.Get(), command);
}

void CCameraView::OnInitMenuPopup(HMENU popup) {
  if (!menu_ || !popup) return;
  if (popup == BrowserSubmenu(menu_.get(), FCIDM_MENU_FILE)) {
    // Everything above our separator is the menu of what is selected now.
    while (GetMenuItemCount(popup) > 0 && GetMenuItemID(popup, 0) != kFileSeparator)
      DeleteMenu(popup, 0, MF_BYPOSITION);
    DeleteMenu(popup, kFileSeparator, MF_BYCOMMAND);
    InsertMenuA(popup, 0, MF_BYPOSITION | MF_SEPARATOR, kFileSeparator, nullptr);
    ComPtr<IContextMenu> menu;
    if (SUCCEEDED(FileMenuObject(menu))) menu->QueryContextMenu(popup, 0, FCIDM_SHVIEWFIRST, kFileSeparator - 1,
                                                                FileMenuFlags());
  } else if (popup == BrowserSubmenu(menu_.get(), FCIDM_MENU_VIEW)) {
    CheckMenuRadioItem(popup, IDM_LARGE_ICONS, IDM_DETAILS, IDM_LARGE_ICONS + viewMode_ - FVM_ICON, MF_BYCOMMAND);
    const bool listed = viewMode_ == FVM_LIST || viewMode_ == FVM_DETAILS;
    EnableMenuItem(popup, IDM_LINE_UP, MF_BYCOMMAND | (listed ? MF_GRAYED : MF_ENABLED));
  }
}

void CCameraView::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (!browser_) return;
  LRESULT result = 0;
  if (flags == 0xFFFF && !menu) {
    browser_->SendControlMsg(FCW_STATUS, SB_SIMPLE, FALSE, 0, &result);
    return;
  }
  if (flags & (MF_SEPARATOR | MF_SYSMENU | MF_POPUP)) return;
  constexpr size_t kHelpLength = 600;
  std::wstring help = LoadModuleText(item).value_or(L"");
  if (help.size() > kHelpLength) help.resize(kHelpLength);
  browser_->SendControlMsg(FCW_STATUS, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(help.c_str()),
                           &result);
  browser_->SendControlMsg(FCW_STATUS, SB_SIMPLE, TRUE, 0, &result);
}

}  // namespace camfolder
