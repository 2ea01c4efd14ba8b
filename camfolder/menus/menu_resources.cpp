#include "menus/menu_resources.h"

#include <string>
#include <vector>

#include "items/module_state.h"
#include "resource_ids.h"

namespace camfolder {

unique_hmenu LoadSubmenu(UINT menuId, int index) {
  const unique_hmenu whole(LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(menuId)));
  if (!whole) return unique_hmenu();
  unique_hmenu submenu(GetSubMenu(whole.get(), index));
  // Detached, the submenu outlives its menu.
  if (!submenu || !RemoveMenu(whole.get(), static_cast<UINT>(index), MF_BYPOSITION)) return unique_hmenu();
  return submenu;
}

bool AttachSubmenu(HMENU menu, UINT command, unique_hmenu submenu) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_SUBMENU;
  info.hSubMenu = submenu.get();
  if (!SetMenuItemInfoW(menu, command, FALSE, &info)) return false;
  submenu.release();
  return true;
}

bool FillNewSubmenu(HMENU menu) {
  unique_hmenu items = LoadSubmenu(IDM_NEW_MENU, 1);
  return items && AttachSubmenu(menu, IDM_NEW, std::move(items));
}

namespace {

int CommandPosition(HMENU menu, UINT command) {
  const int count = GetMenuItemCount(menu);
  for (int at = 0; at < count; ++at)
    if (GetMenuItemID(menu, at) == command) return at;
  return -1;
}

}  // namespace

bool MoveCommandBefore(HMENU menu, UINT command, UINT before) {
  wchar_t text[256] = L"";
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE | MIIM_DATA;
  info.dwTypeData = text;
  info.cch = sizeof text / sizeof text[0];
  if (CommandPosition(menu, before) < 0 || !GetMenuItemInfoW(menu, command, FALSE, &info)) return false;
  if (!DeleteMenu(menu, command, MF_BYCOMMAND)) return false;
  return InsertMenuItemW(menu, static_cast<UINT>(CommandPosition(menu, before)), TRUE, &info) != FALSE;
}

void KeepOnlyCommand(HMENU menu, UINT command) {
  for (int at = GetMenuItemCount(menu) - 1; at >= 0; --at)
    if (command == UINT(-1) || GetMenuItemID(menu, at) != command) DeleteMenu(menu, static_cast<UINT>(at), MF_BYPOSITION);
}

HRESULT IdentifiersUsed(std::optional<UINT> next, UINT firstId) {
  if (!next) return E_UNEXPECTED;
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(*next - firstId));
}

}  // namespace camfolder
