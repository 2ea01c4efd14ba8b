#include "command_fixture.h"

#include <cstdio>

#include "camapi.h"
#include "items/camera_connection.h"
#include "items/module_state.h"
#include "unix_paths.h"
#include "window_text.h"

std::string MenuText(HMENU menu, UINT firstId, int indent) {
  std::string text;
  const int count = GetMenuItemCount(menu);
  for (int at = 0; at < count; ++at) {
    wchar_t label[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = label;
    info.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(at), TRUE, &info);
    text.append(static_cast<size_t>(indent), ' ');
    if (info.fType & MFT_SEPARATOR) {
      text += "-\n";
      continue;
    }
    if (info.hSubMenu && (info.wID == 0 || info.wID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.hSubMenu)))) {
      text += "> ";
    } else {
      text += std::to_string(static_cast<int>(info.wID) - static_cast<int>(firstId)) + " ";
    }
    text += Utf8(label);
    if (info.fState & MFS_DEFAULT) text += " default";
    if (info.fState & MFS_GRAYED) text += " grayed";
    if (info.fState & MFS_CHECKED) text += " checked";
    text += "\n";
    if (info.hSubMenu) text += MenuText(info.hSubMenu, firstId, indent + 2);
  }
  return text;
}

void CommandFixture::StartCamera(const std::string &address, const std::string &configuration,
                                 const std::vector<std::string> &options) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
  module_ = LoadLibraryA("camfolder.dll");
  ASSERT_TRUE(module_);
  camfolder::SetModuleInstance(module_);
  ASSERT_TRUE(camfolder::CreateThreadSlots());
  card_ = new CameraCard;
  for (const char *folder : {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO01", "/d0/NEWA", "/d0/NEWA/NEW00001",
                             "/d0/NEWA/NEW00003", "/d0/NEWB", "/d0/NEWB/NEW00001", "/d0/NEWB/NEW00002", "/d1"})
    card_->MakeFolder(folder);
  card_->MakeFile("/d0/DCIM/100LUMO01/LUMO0001.JPG", Pattern(5000, 1));
  card_->MakeFile("/d0/MEMO.TXT", "memo");
  card_->MakeFile("/d1/CF.TXT", "cf");
  card_->MakeFile("/configuration", configuration);
  camsim_ = new CamsimProcess;
  std::vector<std::string> arguments = {"-v", "--model", "1", "--config-file", card_->Unix("/configuration"), "--drive",
                                        "0=" + card_->Unix("/d0"), "--drive", "1=" + card_->Unix("/d1")};
  arguments.insert(arguments.end(), options.begin(), options.end());
  std::string error;
  ASSERT_TRUE(camsim_->Start(address, arguments, error)) << error;
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", address.c_str()), 0u);
  root_ = BindCameraRoot().Detach();
  ASSERT_TRUE(root_);
  owner_ = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void CommandFixture::StopCamera() {
  if (owner_) DestroyWindow(owner_);
  owner_ = nullptr;
  if (root_) root_->Release();
  root_ = nullptr;
  // The DLL's camera handle goes with its link host: asked whether it can
  // unload, it closes the handle, so that a later camera starts afresh.
  using CanUnloadNow = HRESULT(WINAPI *)();
  const auto canUnload =
      reinterpret_cast<CanUnloadNow>(reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllCanUnloadNow")));
  if (canUnload) {
    EXPECT_EQ(canUnload(), S_OK) << "camera folder objects still alive";
  }
  camfolder::CloseThreadCamera();
  CloseLinkHosts();
  delete camsim_;
  camsim_ = nullptr;
  delete card_;
  card_ = nullptr;
  RunProgram("camreg.exe uninstall");
  CoUninitialize();
}

std::vector<Child> CommandFixture::Items(const std::vector<std::string> &path, const std::vector<std::string> &names) {
  const ComPtr<IShellFolder> folder = BindPath(root_, path);
  std::vector<Child> items;
  for (const std::string &name : names) items.push_back(Find(folder.Get(), name));
  return items;
}

ComPtr<IContextMenu> CommandFixture::ItemMenu(const std::vector<std::string> &path,
                                              const std::vector<std::string> &names) {
  const ComPtr<IShellFolder> folder = BindPath(root_, path);
  const std::vector<Child> items = Items(path, names);
  std::vector<PCUITEMID_CHILD> lists;
  for (const Child &item : items) {
    if (!item.list) return nullptr;
    lists.push_back(item.get());
  }
  ComPtr<IContextMenu> menu;
  if (!folder || FAILED(folder->GetUIObjectOf(owner_, static_cast<UINT>(lists.size()), lists.data(),
                                              IID_IContextMenu, nullptr, &menu)))
    return nullptr;
  return menu;
}

unique_cotaskmem CommandFixture::FolderList(const std::vector<std::string> &path) {
  PIDLIST_ABSOLUTE root = nullptr;
  if (FAILED(SHParseDisplayName(kCameraRootName, nullptr, &root, 0, nullptr))) return unique_cotaskmem();
  unique_cotaskmem list(root);
  ComPtr<IShellFolder> folder = root_;
  for (const std::string &name : path) {
    const Child child = Find(folder.Get(), name);
    if (!child.list) return unique_cotaskmem();
    list.reset(ILCombine(static_cast<PCIDLIST_ABSOLUTE>(list.get()), child.get()));
    folder = BindChild(folder.Get(), child.get());
  }
  return list;
}

std::string CommandFixture::Built(IContextMenu *menu, UINT flags, UINT firstId, UINT lastId, UINT *used) {
  const unique_hmenu host(CreatePopupMenu());
  if (!menu) return "(no menu)";
  const HRESULT hr = menu->QueryContextMenu(host.get(), 0, firstId, lastId, flags);
  if (FAILED(hr)) {
    char failure[32];
    std::snprintf(failure, sizeof failure, "error 0x%08lX", static_cast<unsigned long>(hr));
    return failure;
  }
  if (used) *used = HRESULT_CODE(hr);
  return MenuText(host.get(), firstId);
}

HRESULT CommandFixture::Invoke(IContextMenu *menu, UINT command, HWND owner) {
  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.hwnd = owner;
  invoke.lpVerb = MAKEINTRESOURCEA(command);
  invoke.nShow = SW_SHOWNORMAL;
  return menu ? menu->InvokeCommand(&invoke) : E_POINTER;
}

HRESULT CommandFixture::InvokeVerb(IContextMenu *menu, const char *verb, HWND owner) {
  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.hwnd = owner;
  invoke.lpVerb = verb;
  invoke.nShow = SW_SHOWNORMAL;
  return menu ? menu->InvokeCommand(&invoke) : E_POINTER;
}

bool CommandFixture::OwnerRefreshed() {
  MSG message{};
  bool refreshed = false;
  while (PeekMessageA(&message, owner_, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
    if (message.wParam == VK_F5 && message.lParam == 1) refreshed = true;
  return refreshed;
}

void CommandFixture::SetCameraAttributes(const std::string &path, uint32_t attributes) {
  HZLXCAMERA camera = nullptr;
  ASSERT_EQ(camfolder::GetCamera(camera), S_OK);
  const ZLXRESULT result = path.back() == '/' ? ZlxSetDirectoryAttribute(camera, path.c_str(), attributes)
                                              : ZlxSetFileAttribute(camera, path.c_str(), attributes);
  ASSERT_EQ(result, 0u) << path;
}

uint32_t CommandFixture::CameraAttributes(const std::string &path) {
  HZLXCAMERA camera = nullptr;
  EXPECT_EQ(camfolder::GetCamera(camera), S_OK);
  if (path.back() == '/') {
    tagZLXDIRINFO info{};
    EXPECT_EQ(ZlxGetDirectoryInfo(camera, path.c_str(), &info), 0u) << path;
    return info.attributes;
  }
  tagZLXFILEINFO info{};
  EXPECT_EQ(ZlxGetFileInfo(camera, path.c_str(), &info), 0u) << path;
  return info.attributes;
}

bool CommandFixture::CameraHas(const std::string &sub) {
  return GetFileAttributesA(card_->Windows(sub).c_str()) != INVALID_FILE_ATTRIBUTES;
}
