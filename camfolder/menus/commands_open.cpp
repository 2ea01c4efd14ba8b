// Open, explore and properties: the objects as the shell knows them.
#include "menus/camera_commands.h"

#include <shellapi.h>
#include <shlobj.h>

#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/item_list.h"
#include "core/item_names.h"
#include "core/local_names.h"
#include "items/camera_error.h"
#include "items/shell_item_list.h"
#include "items/working_folder.h"
#include "sheets/property_sheets.h"
#include "transfer/fetched_copy.h"
#include "view/hosting_browser.h"

namespace camfolder {

namespace {

PCIDLIST_ABSOLUTE AsShellList(const FullList &list) { return reinterpret_cast<PCIDLIST_ABSOLUTE>(list.data()); }

// The object's last camera item; none for the camera root.
struct Object {
  bool root = true;
  CameraItem item{};
};

std::optional<Object> ObjectOf(const FullList &list) {
  const auto split = SplitFolderList(list);
  if (!split) return std::nullopt;
  if (split->items.empty()) return Object{};
  return Object{false, split->items.back()};
}

bool IsContainer(const Object &object) { return object.root || object.item.kind != kFileItem; }

HRESULT ShellExecuteList(HWND owner, const char *verb, const char *windowClass, const FullList &list) {
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_IDLIST | SEE_MASK_CLASSNAME;
  execute.hwnd = owner;
  execute.lpVerb = verb;
  execute.lpClass = windowClass;
  execute.lpIDList = const_cast<uint8_t *>(list.data());
  execute.nShow = SW_SHOWNORMAL;
  return ShellExecuteExA(&execute) ? S_OK : E_FAIL;
}

HRESULT OpenLocalCopy(HWND owner, const CameraItem &file, DWORD index, DWORD total) {
  const auto folder = ProcessFolder();
  const auto local = folder ? OpenedCopyPath(*folder, file.path, file.name) : std::nullopt;
  if (!local) return E_INVALIDARG;
  // Opening a program runs it on this PC: never without the user's word.
  if (IsProgramName(file.name) && ShowCameraMessage(owner, kOpenProgramQuestion, {file.name},
                                                    MB_YESNO | MB_DEFBUTTON2) != IDYES)
    return S_FALSE;
  const tagZLXPROGRESSPARAM progress{WindowTo32(owner), index, total};
  if (const HRESULT hr = FetchOpenedCopy(file.path, *local, progress); FAILED(hr)) return hr;
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  execute.hwnd = owner;
  execute.lpVerb = "open";
  execute.lpFile = local->c_str();
  execute.nShow = SW_SHOWNORMAL;
  return ShellExecuteExA(&execute) ? S_OK : E_FAIL;
}

}  // namespace

HRESULT OpenObjects(HWND owner, const std::vector<FullList> &objects) {
  // A browser shows one folder: the first goes there, any others to windows of their own.
  ComPtr<IShellBrowser> browser = HostingBrowser(owner);
  DWORD files = 0;
  for (const FullList &list : objects) {
    const auto object = ObjectOf(list);
    if (!object) return E_INVALIDARG;
    HRESULT hr = S_OK;
    if (!IsContainer(*object)) {
      hr = OpenLocalCopy(owner, object->item, ++files, static_cast<DWORD>(objects.size()));
      if (hr == S_FALSE) continue;
    } else if (browser) {
      hr = browser->BrowseObject(AsShellList(list), SBSP_ABSOLUTE | SBSP_SAMEBROWSER);
      browser.Reset();
    } else {
      hr = ShellExecuteList(owner, "open", "folder", list);
    }
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT ExploreObjects(HWND owner, const std::vector<FullList> &objects) {
  for (const FullList &list : objects) {
    const auto object = ObjectOf(list);
    if (!object) return E_INVALIDARG;
    if (const HRESULT hr = ShellExecuteList(owner, "explore", IsContainer(*object) ? "folder" : "", list); FAILED(hr))
      return hr;
  }
  return S_OK;
}

HRESULT ShowObjectProperties(HWND owner, const std::vector<FullList> &objects) {
  std::vector<PCIDLIST_ABSOLUTE> lists;
  for (const FullList &list : objects) lists.push_back(AsShellList(list));
  return ShowProperties(owner, lists);
}

}  // namespace camfolder
