#include "items/camera_connection.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

#include "core/camera_messages.h"
#include "folder/camfolder_guids.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "resource_ids.h"
#include "win_raii.h"

namespace camfolder {

namespace {

// The cell a thread's slot points to.
struct ThreadCamera {
  HZLXCAMERA camera;
};

DWORD g_slot = TLS_OUT_OF_INDEXES;
LONG g_openCount = 0;

constexpr DWORD kApiVersion = 0x10000;
constexpr DWORD kApiLanguage = 8;
constexpr DWORD kRequestedModel = 2;
constexpr DWORD kCameraWaitMs = 300000;
// The close is repeated until the camera API refuses it; this only guards
// against a camera API that never does.
constexpr int kMaxCloses = 256;

ThreadCamera *ThreadCell() { return g_slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<ThreadCamera *>(TlsGetValue(g_slot)); }

void FreeThreadCell() {
  if (ThreadCamera *cell = ThreadCell()) {
    LocalFree(cell);
    TlsSetValue(g_slot, nullptr);
  }
}

HRESULT OpenFailure(ZLXRESULT result) {
  const uint16_t code = ZlxCode(result);
  if (const uint32_t shown = OpenFailureShown(result)) ShowCameraError(MessageOwner(), shown);
  if (code == ZLX_E_INVALID_PARAMETER) return E_INVALIDARG;
  if (code == ZLX_E_NO_MEMORY) return E_OUTOFMEMORY;
  return E_UNEXPECTED;
}

HRESULT OpenCamera(ThreadCamera &cell) {
  const ZLXRESULT initialized = ZlxInitialize(kApiVersion, kApiLanguage);
  if (!ZlxSucceeded(initialized)) return OpenFailure(initialized);
  tagZLXMODEL model{kRequestedModel, 0};
  tagZLXCANCELDLGPARAM wait{};
  wait.owner = WindowTo32(MessageOwner());
  wait.waitTime = kCameraWaitMs;
  const std::string caption = ModuleStringOr(IDS_ERROR_CAPTION, "Lumo");
  lstrcpynA(wait.caption, caption.c_str(), sizeof wait.caption);
  const std::string address = FormatIpAddress(CurrentSettings().address);
  HZLXCAMERA camera = nullptr;
  ZLXRESULT result = ZlxOpenCamera(&camera, &model, ZLX_CONNECTION_TCPIP, 1, &wait, address.c_str());
  if (ZlxSucceeded(result) && !camera) result = ZLX_E_GENERAL;
  if (!ZlxSucceeded(result)) return OpenFailure(result);
  // Every open reports the camera's model, also one that joins a link
  // another thread or process opened.
  InterlockedIncrement(&g_openCount);
  OpenedModel() = model;
  cell.camera = camera;
  return S_OK;
}

// Whether the child of My Computer is the camera junction.
bool IsCameraJunction(IShellFolder *computer, PCUITEMID_CHILD child) {
  STRRET name{};
  if (FAILED(computer->GetDisplayNameOf(child, SHGDN_FORPARSING | SHGDN_INFOLDER, &name))) return false;
  char text[MAX_PATH];
  if (FAILED(StrRetToBufA(&name, child, text, sizeof text))) return false;
  // Some shells answer the whole parsing path even in the folder
  // ("::{20D04FE0-...}\::{5B7C0E21-...}"): its last part names the junction.
  const char *last = std::strrchr(text, '\\');
  const char *inFolder = last ? last + 1 : text;
  const std::string cameraName = ModuleStringOr(IDS_CAMERA_NAME, "Lumo");
  return lstrcmpiA(inFolder, cameraName.c_str()) == 0 || lstrcmpiA(inFolder, kCameraFolderParsingName) == 0;
}

// The full list of the camera junction under My Computer; nothing when the
// camera is not there.
unique_cotaskmem FindCameraJunction(PCIDLIST_ABSOLUTE computerList) {
  ComPtr<IShellFolder> desktop;
  ComPtr<IShellFolder> computer;
  ComPtr<IEnumIDList> children;
  if (FAILED(SHGetDesktopFolder(&desktop)) ||
      FAILED(desktop->BindToObject(computerList, nullptr, IID_PPV_ARGS(&computer))) ||
      computer->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &children) != S_OK)
    return unique_cotaskmem();
  for (;;) {
    LPITEMIDLIST child = nullptr;
    if (children->Next(1, &child, nullptr) != S_OK) return unique_cotaskmem();
    const unique_cotaskmem owned(child);
    if (IsCameraJunction(computer.Get(), child)) return unique_cotaskmem(ILCombine(computerList, child));
  }
}

void LeaveWorkingFolder() {
  char windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length < 3 || length >= MAX_PATH) return;
  windows[3] = 0;
  SetCurrentDirectoryA(windows);
}

}  // namespace

bool CreateThreadSlots() {
  g_slot = TlsAlloc();
  return g_slot != TLS_OUT_OF_INDEXES;
}

void DeleteThreadSlots() {
  FreeThreadCell();
  if (g_slot != TLS_OUT_OF_INDEXES) TlsFree(g_slot);
  g_slot = TLS_OUT_OF_INDEXES;
}

void AttachThreadSlot() {
  if (g_slot != TLS_OUT_OF_INDEXES && !ThreadCell())
    TlsSetValue(g_slot, LocalAlloc(LPTR, sizeof(ThreadCamera)));
}

void DetachThreadSlot() { FreeThreadCell(); }

bool ReadConnectionSettings() {
  char device[ZLX_TEXT_FIELD] = "";
  char address[ZLX_TEXT_FIELD] = "";
  if (!ZlxSucceeded(ZlxGetConnectionInfo(device, address))) return false;
  const auto number = ParseIpAddress(address);
  if (!number) return false;
  CurrentSettings() = {DeviceNumber(device), *number};
  return true;
}

HRESULT GetCamera(HZLXCAMERA &camera) {
  camera = nullptr;
  if (g_slot == TLS_OUT_OF_INDEXES) return E_UNEXPECTED;
  AttachThreadSlot();
  ThreadCamera *cell = ThreadCell();
  if (!cell) return E_OUTOFMEMORY;
  if (!ReadConnectionSettings()) {
    ShowCameraError(MessageOwner(), kConnectionSettingsMessage);
    return E_UNEXPECTED;
  }
  if (!cell->camera) {
    if (const HRESULT hr = OpenCamera(*cell); FAILED(hr)) return hr;
  }
  camera = cell->camera;
  return S_OK;
}

void Disconnect() {
  HZLXCAMERA camera = nullptr;
  if (FAILED(GetCamera(camera))) return;
  LPITEMIDLIST computer = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
    const unique_cotaskmem computerList(computer);
    if (const unique_cotaskmem junction = FindCameraJunction(computer)) {
      SHChangeNotify(SHCNE_RMDIR, SHCNF_IDLIST, junction.get(), nullptr);
      for (int i = 0; i < kMaxCloses && ZlxSucceeded(ZlxCloseCamera(camera)); ++i) {
      }
      InterlockedExchange(&g_openCount, 0);
      ThreadCell()->camera = nullptr;
      SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, computer, nullptr);
    }
  }
  LeaveWorkingFolder();
}

void CheckConnection(ZLXRESULT result) {
  if (IsConnectionClassFailure(result)) Disconnect();
}

bool CameraCallSucceeded(ZLXRESULT result) {
  if (ZlxSucceeded(result)) return true;
  ShowCameraError(MessageOwner(), result);
  CheckConnection(result);
  return false;
}

void ResetOpenCount() { InterlockedExchange(&g_openCount, 0); }

void CloseThreadCamera() {
  ThreadCamera *cell = ThreadCell();
  if (cell && cell->camera) {
    for (LONG i = InterlockedExchange(&g_openCount, 0); i > 0; --i) ZlxCloseCamera(cell->camera);
    cell->camera = nullptr;
  }
  InterlockedExchange(&g_openCount, 0);
  FreeThreadCell();
}

}  // namespace camfolder
