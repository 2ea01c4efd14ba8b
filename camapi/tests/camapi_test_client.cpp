// A second client process for the camera API tests:
//   camapi_test_client ADDRESS WAIT-MS CAPTION [drives | model]
// opens the camera (joining an open link) asking for model 1, optionally
// lists the drives, and closes it again. The exit code is the first failing
// result, else 0; with "model", the model and protocol version the open
// reported (model * 16 + version).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camapi.h"

int main(int argc, char **argv) {
  if (argc < 4) return 2;
  if (ZLXRESULT r = ZlxInitialize(0x10000, 8)) return static_cast<int>(r);
  tagZLXCANCELDLGPARAM wait{};
  wait.waitTime = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
  std::strncpy(wait.caption, argv[3], sizeof wait.caption - 1);
  tagZLXMODEL model{1, 0};
  HZLXCAMERA camera = nullptr;
  ZLXRESULT result = ZlxOpenCamera(&camera, &model, 1, 0, &wait, argv[1]);
  if (result) return static_cast<int>(result);
  const bool reportModel = argc > 4 && std::strcmp(argv[4], "model") == 0;
  if (argc > 4 && std::strcmp(argv[4], "drives") == 0) {
    DWORD count = 0;
    HGLOBAL list = nullptr;
    result = ZlxGetDriveList(camera, &count, &list);
    if (list) GlobalFree(list);
    std::printf("drives %lu\n", count);
  }
  const ZLXRESULT closed = ZlxCloseCamera(camera);
  if (reportModel && !closed) return static_cast<int>(model.model * 16 + model.protocolVersion);
  return static_cast<int>(result ? result : closed);
}
