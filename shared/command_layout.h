// The command block and the parameter area of every command, as the client
// and the link host lay them out. Kernel handles in these areas are 32-bit
// values valid in the process named by the command.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zlx_records.h"

// Window messages of the link host.
constexpr uint32_t kCommandMessage = 0x8001;         // WM_APP + 1, second parameter the code
constexpr uint32_t kTransferDoneMessage = 0x8002;    // WM_APP + 2, private to the link host
constexpr uint32_t kDefaultCommandTimeout = 86400000; // 24 hours

constexpr size_t kCommandHeaderSize = 8;             // event handle, result code
constexpr size_t kChannelPathField = 128;            // a path of at most 127 characters

enum CommandCode : uint32_t {
  CMD_OPEN_CAMERA = 273,
  CMD_CLOSE_CAMERA = 274,
  CMD_FORMAT_DRIVE = 289,
  CMD_GET_DRIVE_LIST = 290,
  CMD_GET_DRIVE_CAPACITY = 291,
  CMD_GET_DRIVE_FREE = 292,
  CMD_CREATE_DIRECTORY = 305,
  CMD_ERASE_DIRECTORY = 306,
  CMD_RENAME_DIRECTORY = 307,
  CMD_SET_DIRECTORY_ATTRIBUTE = 308,
  CMD_COPY_DIRECTORY = 309,
  CMD_MOVE_DIRECTORY = 310,
  CMD_GET_DIRECTORY_LIST = 311,
  CMD_GET_DIRECTORY_INFO = 312,
  CMD_ERASE_FILE = 321,
  CMD_RENAME_FILE = 322,
  CMD_SET_FILE_ATTRIBUTE = 323,
  CMD_COPY_FILE = 324,
  CMD_MOVE_FILE = 325,
  CMD_GET_FILE_INFO = 326,
  CMD_RECEIVE_FILE = 337,
  CMD_SEND_FILE = 338,
  CMD_RECEIVE_THUMBNAIL = 339,
  CMD_QUERY_STAMP_SIZE = 353,
  CMD_SEND_STAMP = 354,
  CMD_GET_CONFIGURATION = 369,
  CMD_SET_CONFIGURATION = 370,
};

#pragma pack(push, 4)

struct CommandBlockHeader {
  uint32_t completionEvent;  // valid in the link host's process
  uint32_t result;
};

struct ProgressFields {
  uint32_t owner;
  uint32_t current;
  uint32_t total;
};

struct OpenCameraParams {            // 273
  char address[16];
  uint32_t model;
  uint32_t protocolVersion;
};

struct FormatDriveParams {           // 289
  uint8_t drive;
};

struct GetDriveListParams {          // 290
  uint32_t clientProcessId;
  uint8_t count;
  uint8_t unused[3];
  uint32_t mapping;
};

struct DriveValueParams {            // 291, 292
  uint8_t drive;
  uint8_t unused[3];
  uint32_t value;
};

struct CreateDirectoryParams {       // 305
  char parent[kChannelPathField];
  char name[13];
};

struct EraseDirectoryParams {        // 306
  char path[kChannelPathField];
  uint32_t options;
  char stoppedAt[kChannelPathField];
  uint32_t count;
};

struct RenameParams {                // 307, 322
  char path[kChannelPathField];
  char newName[16];
  uint32_t options;
};

struct SetAttributeParams {          // 308, 323
  char path[kChannelPathField];
  uint8_t attribute;
};

struct CopyMoveParams {              // 309, 310, 324, 325
  char source[kChannelPathField];
  char destination[kChannelPathField];
  uint32_t options;
};

struct GetDirectoryListParams {      // 311
  uint32_t clientProcessId;
  char path[kChannelPathField];
  uint8_t kind;
  uint8_t unused[3];
  uint32_t count;
  uint32_t mapping;
};

struct GetDirectoryInfoParams {      // 312
  char path[kChannelPathField];
  tagZLXDIRINFO info;
};

struct EraseFileParams {             // 321
  char path[kChannelPathField];
  uint32_t options;
};

struct GetFileInfoParams {           // 326
  char path[kChannelPathField];
  tagZLXFILEINFO info;
};

struct ReceiveParams {               // 337, 339
  uint32_t clientProcessId;
  char path[kChannelPathField];
  uint16_t mode;
  uint8_t unused[2];
  ProgressFields progress;
  uint32_t mapping;
  uint32_t length;
};

struct SendFileHeader {              // 338: the data bytes follow, then 4 unused bytes
  char path[kChannelPathField];
  uint32_t length;
  uint16_t mode;
  uint8_t unused[2];
  ProgressFields progress;
  uint32_t writeOption;
};

struct QueryStampSizeParams {        // 353
  tagZLXSTAMPSIZE sizes;
};

struct SendStampHeader {             // 354: the parts follow, then 4 unused bytes
  uint16_t number;
  char name[18];
  uint32_t lengths[ZLX_STAMP_PARTS];
  uint16_t mode;
  uint8_t unused[2];
  ProgressFields progress;
};

struct GetConfigurationParams {      // 369
  uint32_t clientProcessId;
  uint16_t mode;
  uint8_t unused[2];
  ProgressFields progress;
  uint32_t mapping;
  uint32_t length;
};

struct SetConfigurationHeader {      // 370: the data bytes follow, then 136 unused bytes
  uint32_t length;
  uint16_t mode;
  uint8_t unused[2];
  ProgressFields progress;
};

#pragma pack(pop)

// Trailing bytes after the data of the commands that carry contents.
constexpr size_t kSendFileTrailer = 4;
constexpr size_t kSendStampTrailer = 4;
constexpr size_t kSetConfigurationTrailer = 136;

static_assert(sizeof(CommandBlockHeader) == kCommandHeaderSize);
static_assert(sizeof(OpenCameraParams) == 24 && offsetof(OpenCameraParams, model) == 16);
static_assert(sizeof(FormatDriveParams) == 1);
static_assert(sizeof(GetDriveListParams) == 12 && offsetof(GetDriveListParams, mapping) == 8);
static_assert(sizeof(DriveValueParams) == 8 && offsetof(DriveValueParams, value) == 4);
static_assert(sizeof(CreateDirectoryParams) == 141);
static_assert(sizeof(EraseDirectoryParams) == 264 && offsetof(EraseDirectoryParams, stoppedAt) == 132 &&
              offsetof(EraseDirectoryParams, count) == 260);
static_assert(sizeof(RenameParams) == 148 && offsetof(RenameParams, options) == 144);
static_assert(sizeof(SetAttributeParams) == 129);
static_assert(sizeof(CopyMoveParams) == 260 && offsetof(CopyMoveParams, options) == 256);
static_assert(sizeof(GetDirectoryListParams) == 144 && offsetof(GetDirectoryListParams, kind) == 132 &&
              offsetof(GetDirectoryListParams, count) == 136 && offsetof(GetDirectoryListParams, mapping) == 140);
static_assert(sizeof(GetDirectoryInfoParams) == 440);
static_assert(sizeof(EraseFileParams) == 132);
static_assert(sizeof(GetFileInfoParams) == 432);
static_assert(sizeof(ReceiveParams) == 156 && offsetof(ReceiveParams, mode) == 132 &&
              offsetof(ReceiveParams, progress) == 136 && offsetof(ReceiveParams, mapping) == 148 &&
              offsetof(ReceiveParams, length) == 152);
static_assert(sizeof(SendFileHeader) == 152 && offsetof(SendFileHeader, length) == 128 &&
              offsetof(SendFileHeader, mode) == 132 && offsetof(SendFileHeader, progress) == 136 &&
              offsetof(SendFileHeader, writeOption) == 148);
static_assert(sizeof(QueryStampSizeParams) == 64);
static_assert(sizeof(SendStampHeader) == 68 && offsetof(SendStampHeader, name) == 2 &&
              offsetof(SendStampHeader, lengths) == 20 && offsetof(SendStampHeader, mode) == 52 &&
              offsetof(SendStampHeader, progress) == 56);
static_assert(sizeof(GetConfigurationParams) == 28 && offsetof(GetConfigurationParams, mode) == 4 &&
              offsetof(GetConfigurationParams, progress) == 8 && offsetof(GetConfigurationParams, mapping) == 20 &&
              offsetof(GetConfigurationParams, length) == 24);
static_assert(sizeof(SetConfigurationHeader) == 20 && offsetof(SetConfigurationHeader, progress) == 8);
