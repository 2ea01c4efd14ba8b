// Initialisation, opening and closing cameras, and the cancel-dialog
// parameters of an API handle.
#include <memory>

#include "api_handle.h"
#include "camapi.h"
#include "channel_names.h"
#include "library_state.h"
#include "shared_memory.h"
#include "win_raii.h"
#include "zl1_socket_device.h"

using camapi::g_cameraOpen;
using camapi::IsInitialized;

namespace {

constexpr DWORD kLanguageJapanese = 1;
constexpr DWORD kLanguageEnglish = 8;

// Without cancel-dialog parameters a caller waits for the camera without asking.
const tagZLXCANCELDLGPARAM kWaitWithoutAsking = {0, INFINITE, ""};

struct OpenParts {
  std::unique_ptr<ZLXCAMERA_> handle;
  std::unique_ptr<CLogicalDevice> device;
  std::unique_ptr<CSharedMemory> block;
  std::unique_ptr<CallGuard> guard;
};

}  // namespace

ZLXAPI ZlxInitialize(DWORD version, DWORD language) {
  if (IsInitialized()) return ZLX_OK;
  const short major = static_cast<short>(HIWORD(version));
  if (major != 1 && major != 2) return ZLX_E_VERSION;
  if (language != kLanguageJapanese && language != kLanguageEnglish) return ZLX_E_LANGUAGE;
  camapi::SetLanguage(language);
  return ZLX_OK;
}

ZLXAPI ZlxOpenCamera(HZLXCAMERA *camera, tagZLXMODEL *model, DWORD connectionKind, DWORD,
                     tagZLXCANCELDLGPARAM *cancelDlgParam, const char *address) {
  if (!IsInitialized()) return ZLX_E_NOT_INITIALIZED;
  if (!camera || !model) return ZLX_E_INVALID_PARAMETER;
  *camera = nullptr;

  OpenParts parts;
  parts.handle.reset(new (std::nothrow) ZLXCAMERA_{});
  if (!parts.handle) return ZLX_E_NO_MEMORY;
  if (model->model != 1 && model->model != 2) return ZLX_E_MODEL;
  if (connectionKind != ZLX_CONNECTION_TCPIP) return ZLX_E_CONNECTION_KIND;
  parts.device.reset(new (std::nothrow) CZl1SocketDevice);
  if (!parts.device) return ZLX_E_NO_MEMORY;

  tagZLXCONNECTIONDATA data{};
  if (const ZLXRESULT r = parts.device->_ZlxGetConnection(const_cast<char *>(address), &data)) return r;
  parts.block.reset(new (std::nothrow) CSharedMemory);
  if (!parts.block || !parts.block->Create(data.blockName, PAGE_READWRITE, data.blockSize)) return ZLX_E_NO_MEMORY;
  auto *info = static_cast<tagZLXCONNECTIONINFO *>(parts.block->Lock(true));
  if (!info) return ZLX_E_NO_MEMORY;

  const tagZLXCANCELDLGPARAM &wait = cancelDlgParam ? *cancelDlgParam : kWaitWithoutAsking;
  const auto mutexName = FunctionCallMutexName(data.blockName);
  if (mutexName)
    parts.guard.reset(new (std::nothrow) CallGuard(camapi::ModuleInstance(), WindowFrom32(wait.owner),
                                                   wait.caption, wait.waitTime, mutexName->c_str()));
  if (!parts.guard || !parts.guard->Valid()) return ZLX_E_NO_MEMORY;  // the block unlocks as it closes

  const int32_t previousCount = info->openCount++;
  ZLXRESULT result;
  if (previousCount > 0) {
    // The camera is open somewhere: join its link without asking the link
    // host, and learn the model the camera reported to the first open, so
    // that every client names the camera alike.
    result = info->opened ? parts.device->_ZlxSetConnection(info, parts.block.get())
                          : ZLXRESULT{ZLX_E_INVALID_PARAMETER};
    if (ZlxSucceeded(result) && (info->model.model == 1 || info->model.model == 2)) *model = info->model;
  } else {
    result = ZLX_E_WAIT_DECLINED;
    if (parts.guard->Acquire()) {
      result = parts.device->_ZlxOpenCamera(model, const_cast<char *>(address), parts.block.get(), info);
      parts.guard->Release();
    }
    info->recordSize = data.blockSize;
    info->opened = 1;
    info->cancelDlgParam = wait;
    info->model = *model;
  }
  if (!ZlxSucceeded(result)) {
    // A failed open holds no link: take its count back so that the next open
    // connects instead of joining a link that does not exist.
    if (--info->openCount <= 0) {
      info->openCount = 0;
      info->opened = 0;
    }
  }
  parts.block->Unlock();
  if (parts.device->GetConnectionInfo() == parts.block.get()) parts.block.release();
  if (!ZlxSucceeded(result)) return result;

  parts.handle->guard = parts.guard.release();
  parts.handle->device = parts.device.release();
  *camera = parts.handle.release();
  g_cameraOpen = true;
  return ZLX_OK;
}

ZLXAPI ZlxCloseCamera(HZLXCAMERA camera) {
  if (!IsInitialized()) return ZLX_E_NOT_INITIALIZED;
  if (!camera) return ZLX_E_INVALID_PARAMETER;
  if (!g_cameraOpen) return ZLX_E_NOT_CONNECTED;

  CSharedMemory *block = camera->device->GetConnectionInfo();
  if (!block) {
    ZLXRESULT result = ZLX_E_WAIT_DECLINED;
    if (camera->guard->Acquire()) {
      result = camera->device->_ZlxCloseCamera();
      camera->guard->Release();
    }
    g_cameraOpen = false;
    return result;
  }
  auto *info = static_cast<tagZLXCONNECTIONINFO *>(block->Lock(true));
  if (!info) return ZLX_E_NO_MEMORY;
  if (info->openCount <= 0) {
    info->openCount = 0;
    block->Unlock();
    g_cameraOpen = false;
    return ZLX_E_NOT_CONNECTED;
  }
  if (--info->openCount > 0) {
    // Other handles keep the link; this handle stays usable as it is.
    block->Unlock();
    return ZLX_OK;
  }
  ZLXRESULT result = ZLX_E_WAIT_DECLINED;
  if (camera->guard->Acquire()) {
    result = camera->device->_ZlxCloseCamera();
    camera->guard->Release();
  }
  info->opened = 0;
  block->Unlock();
  delete camera->device;  // closes this process's handles of the block
  delete camera->guard;
  delete camera;
  g_cameraOpen = false;
  return result;
}

ZLXAPI ZlxGetCancelDlgParam(HZLXCAMERA camera, tagZLXCANCELDLGPARAM *param) {
  if (!IsInitialized()) return ZLX_E_NOT_INITIALIZED;
  if (!camera) return ZLX_E_INVALID_PARAMETER;
  HWND owner = nullptr;
  DWORD waitTime = 0;
  const ZLXRESULT result = camera->guard->GetParams(param ? &owner : nullptr, param ? &waitTime : nullptr,
                                                    param ? param->caption : nullptr);
  if (param) {
    param->owner = WindowTo32(owner);
    param->waitTime = waitTime;
  }
  return result;
}

ZLXAPI ZlxSetCancelDlgParam(HZLXCAMERA camera, tagZLXCANCELDLGPARAM *param) {
  if (!IsInitialized()) return ZLX_E_NOT_INITIALIZED;
  if (!camera || !param) return ZLX_E_INVALID_PARAMETER;
  return camera->guard->SetParams(WindowFrom32(param->owner), param->waitTime, param->caption);
}
