// CameraLink: the camera file operations of the link host on one ZLtp link.
//
// How to use it: keep one CameraLink for the process (it owns the
// connection). The dispatcher calls one method per command with the fields of
// the command's parameter area (shared/command_layout.h) and writes the
// returned ZLXRESULT at offset 4 of the block; outputs are written only
// through the reference parameters. Examples:
//   273 OpenCamera(p.address, p.model, p.protocolVersion)
//   290 GetDriveList(p.clientProcessId, p.count, p.mapping)
//   306 EraseDirectory(p.path, p.options, p.stoppedAt, p.count)
//   309/310 CopyOrMoveDirectory(code == 310, p.source, p.destination, p.options)
//   311 GetDirectoryList(p.clientProcessId, p.path, p.kind, p.count, p.mapping)
// Strings from the block are passed as fixed fields with their size, so a
// field without its terminator is refused instead of read past its end.
// Bulk transfers use Connection() for the data packets.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zltp_connection.h"
#include "zltp_listing.h"
#include "zlx_records.h"
#include "zlx_result.h"

// Flags of erase directory.
constexpr uint32_t kEraseKeepAttributes = 0x2;
constexpr uint32_t kEraseForce = 0x20000000;       // no attribute reset below, files erased with mode 2
constexpr uint32_t kEraseNoRecursion = 0x40000000;  // stop at a non-empty directory

class CameraLink {
 public:
  // Text fields of the command block: a pointer and the field's size.
  struct Text {
    const char *chars;
    size_t field;
    template <size_t N>
    Text(const char (&array)[N]) : chars(array), field(N) {}
    Text(const char *text, size_t size) : chars(text), field(size) {}
  };

  ZLXRESULT OpenCamera(Text address, uint32_t &model, uint32_t &protocolVersion);
  ZLXRESULT CloseCamera();
  ZLXRESULT FormatDrive(uint8_t drive);
  ZLXRESULT GetDriveList(uint32_t clientProcessId, uint8_t &count, uint32_t &mapping);
  ZLXRESULT GetDriveCapacity(uint8_t drive, uint32_t &value);
  ZLXRESULT GetDriveFree(uint8_t drive, uint32_t &value);
  ZLXRESULT MakeDirectory(Text parent, Text name);
  ZLXRESULT EraseDirectory(Text path, uint32_t flags, char (&stoppedAt)[128], uint32_t &count);
  ZLXRESULT RenameDirectory(Text path, Text newName, uint32_t flags);
  ZLXRESULT SetAttribute(Text path, uint8_t attribute);  // directories and files alike
  ZLXRESULT CopyOrMoveDirectory(bool move, Text source, Text destination, uint32_t flags);
  ZLXRESULT GetDirectoryList(uint32_t clientProcessId, Text path, uint8_t kind, uint32_t &count,
                             uint32_t &mapping);
  ZLXRESULT GetDirectoryInfo(Text path, tagZLXDIRINFO &info);
  // count (optional) receives the count of the camera's last erase reply.
  ZLXRESULT EraseFile(Text path, uint32_t mode, uint16_t *count = nullptr);
  ZLXRESULT RenameFile(Text path, Text newName, uint32_t flags);
  ZLXRESULT CopyOrMoveFile(bool move, Text source, Text destination, uint32_t flags);
  ZLXRESULT GetFileInfo(Text path, tagZLXFILEINFO &info);
  ZLXRESULT QueryStampSize(tagZLXSTAMPSIZE &sizes);

  // The records behind the two list results, without a result mapping.
  ZLXRESULT ListDrives(std::vector<tagZLXDRIVELISTENTRY> &drives);
  ZLXRESULT List(Text path, uint8_t kind, std::vector<tagZLXFILEINFO> &entries);

  zltp::ZltpConnection &Connection() { return connection_; }

 private:
  ZLXRESULT Request(uint32_t opcode, const std::vector<uint8_t> &payload, void *reply = nullptr,
                    uint32_t capacity = 0, uint32_t *replyLength = nullptr, DWORD timeout = 30000);
  ZLXRESULT RenameEntry(uint32_t opcode, Text path, Text newName, uint32_t flags);
  ZLXRESULT CopyOrMoveEntry(uint32_t opcode, Text source, Text destination, uint32_t flags);
  ZLXRESULT RemoveOneDirectory(const std::string &path, uint32_t flags);
  ZLXRESULT EraseTree(const std::string &path, uint32_t flags, char (&stoppedAt)[128], uint32_t &count);

  zltp::ZltpConnection connection_;
};
