#include "camera_session.h"

#include <cstring>

namespace {

constexpr DWORD kApiVersion = 0x10000;
constexpr DWORD kLanguage = 8;
constexpr DWORD kRequestedModel = 1;
// How long a command waits for another user of the camera before asking
// whether to go on waiting.
constexpr DWORD kGuardWaitMs = 10000;
constexpr char kCaption[] = "camctl";

}  // namespace

CameraSession::~CameraSession() {
  if (camera_) ZlxCloseCamera(camera_);
}

ZLXRESULT CameraSession::Open(const std::string &address) {
  const ZLXRESULT initialised = ZlxInitialize(kApiVersion, kLanguage);
  if (!ZlxSucceeded(initialised)) return initialised;
  tagZLXCANCELDLGPARAM cancel{};
  cancel.owner = 0;
  cancel.waitTime = kGuardWaitMs;
  std::strncpy(cancel.caption, kCaption, sizeof cancel.caption - 1);
  model_ = tagZLXMODEL{kRequestedModel, 0};
  return ZlxOpenCamera(&camera_, &model_, ZLX_CONNECTION_TCPIP, 0, &cancel, address.c_str());
}
