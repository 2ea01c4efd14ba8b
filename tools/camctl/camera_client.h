// The camera operations camctl uses, over an open API handle, with the
// global memory the API returns copied into containers and freed at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "camapi.h"

// How a transfer is shown: mode 0 silently, mode 3 with the link host's
// progress dialog showing "current / total".
struct TransferView {
  WORD mode = ZLX_TRANSFER_NO_DIALOG;
  tagZLXPROGRESSPARAM progress{};
};
TransferView MakeTransferView(bool dialog, uint32_t current, uint32_t total);

constexpr DWORD kListFiles = 1;
constexpr DWORD kListFolders = 2;
constexpr DWORD kListAll = 3;

// Write options of a send: refuse an existing name, or replace it.
constexpr DWORD kWriteRefuseExisting = 4;
constexpr DWORD kWriteReplace = 1;

ZLXRESULT GetDriveList(HZLXCAMERA camera, std::vector<tagZLXDRIVELISTENTRY> &drives);
ZLXRESULT ListFolder(HZLXCAMERA camera, const std::string &folder, DWORD selector,
                     std::vector<tagZLXFILEINFO> &entries);
// The entry of a file or folder, found in its parent's listing; a drive root
// is a folder. An item that is not there gives 0xFE07.
ZLXRESULT FindItem(HZLXCAMERA camera, const std::string &path, tagZLXFILEINFO &entry);
ZLXRESULT ReceiveContents(HZLXCAMERA camera, const std::string &path, bool thumbnail, TransferView view,
                          std::vector<uint8_t> &contents);
ZLXRESULT SendContents(HZLXCAMERA camera, const std::string &path, const std::vector<uint8_t> &contents,
                       TransferView view, DWORD writeOption);
ZLXRESULT ReceiveConfiguration(HZLXCAMERA camera, TransferView view, std::vector<uint8_t> &contents);
ZLXRESULT SendConfiguration(HZLXCAMERA camera, const std::vector<uint8_t> &contents, TransferView view);
