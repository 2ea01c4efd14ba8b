// Fixed-layout records that cross the camera API, the device interface and
// the command channel. Integers are little-endian, strings are zero-terminated
// 8-bit ANSI in fixed fields.
//
// Handle widths: the 32-bit product lays every field out as 32 bits. On 64-bit
// Windows the handles of movable global memory (an in-process pointer) widen to
// pointer size, which moves the fields after them: tagZLXDATAINFO, the
// configuration descriptor and the stamp parts. Window handles stay 32-bit in
// every record because Windows keeps their values within 32 bits, and kernel
// handles that cross processes travel as 32-bit values in the command channel.
#pragma once

#include <cstddef>
#include <cstdint>

// Handle of movable global memory (HGLOBAL on Windows).
typedef void *ZLXGLOBAL;
// A window handle stored in 32 bits (HWND values fit on every Windows).
typedef uint32_t ZLXHWND32;

constexpr int ZLX_PATH_MAX = 127;   // characters in a camera path
constexpr int ZLX_NAME_MAX = 12;    // characters in a single name (8.3)
constexpr int ZLX_TEXT_FIELD = 260; // the fixed string fields
constexpr uint32_t ZLX_ATTR_DIRECTORY = 0x10;

#pragma pack(push, 4)

struct tagZLXMODEL {
  uint32_t model;            // asked for (1 or 2), then as the camera reports it
  uint32_t protocolVersion;  // agreed with the camera, 1 or 2
};

// Cancel-dialog parameters: how a call waits for another user of the camera.
struct tagZLXCANCELDLGPARAM {
  ZLXHWND32 owner;
  uint32_t waitTime;          // milliseconds before the question is asked (again)
  char caption[ZLX_TEXT_FIELD];
};

struct tagZLXCONNECTIONDATA {
  uint32_t blockSize;         // 552
  char blockName[ZLX_TEXT_FIELD];
};

struct tagZLXCONNECTIONINFO {
  uint32_t recordSize;        // 552
  int32_t openCount;
  tagZLXMODEL model;
  tagZLXCANCELDLGPARAM cancelDlgParam;
  uint32_t opened;
  uint32_t commandTimeout;    // 86,400,000 ms
  char deviceKey[ZLX_TEXT_FIELD];
};

// Progress parameters of the link host's transfer dialog ("%d / %d").
struct tagZLXPROGRESSPARAM {
  ZLXHWND32 owner;
  uint32_t current;
  uint32_t total;
};

struct tagZLXDRIVEINFO {
  uint32_t capacity;
  uint32_t freeSpace;
};

struct tagZLXDRIVELISTENTRY {
  uint32_t number;            // 0, 1 or 2
  char name[ZLX_TEXT_FIELD];
  uint32_t present;
};

// The C library's broken-down time, field for field.
struct tagZLXTIME {
  int32_t sec, min, hour, mday, mon, year, wday, yday, isdst;
};

struct tagZLXFILEINFO {
  char name[ZLX_TEXT_FIELD];
  uint32_t attributes;
  uint32_t size;
  tagZLXTIME time;
};

struct tagZLXDIRINFO {
  char path[ZLX_TEXT_FIELD];
  uint32_t attributes;
  tagZLXTIME time;
  uint32_t subdirectories;
  uint32_t files;
  uint32_t totalFileSize;
};

#pragma pack(pop)

// Records holding global-memory handles keep natural alignment so that the
// pointer-sized handle is aligned on 64-bit Windows.
struct tagZLXDATAINFO {
  char path[ZLX_TEXT_FIELD];
  ZLXGLOBAL data;
  uint32_t length;
};

struct tagZLXCONFIGDATA {
  ZLXGLOBAL data;
  uint32_t length;
};

struct tagZLXSTAMPPART {
  ZLXGLOBAL data;
  uint32_t length;            // zero: the part is empty
};

constexpr int ZLX_STAMP_PARTS = 8;

struct tagZLXSTAMP {
  uint16_t number;
  uint8_t unused[2];
  char name[20];              // at most 16 characters
  tagZLXSTAMPPART parts[ZLX_STAMP_PARTS];
};

#pragma pack(push, 2)
struct tagZLXSTAMPSIZEENTRY {
  uint16_t value1;
  uint16_t value2;
  uint32_t value3;
};
#pragma pack(pop)

struct tagZLXSTAMPSIZE {
  tagZLXSTAMPSIZEENTRY entries[ZLX_STAMP_PARTS];
};

// Layouts shared by every build.
static_assert(sizeof(tagZLXMODEL) == 8);
static_assert(sizeof(tagZLXCANCELDLGPARAM) == 268);
static_assert(offsetof(tagZLXCANCELDLGPARAM, waitTime) == 4);
static_assert(offsetof(tagZLXCANCELDLGPARAM, caption) == 8);
static_assert(sizeof(tagZLXCONNECTIONDATA) == 264);
static_assert(offsetof(tagZLXCONNECTIONDATA, blockName) == 4);
static_assert(sizeof(tagZLXCONNECTIONINFO) == 552);
static_assert(offsetof(tagZLXCONNECTIONINFO, openCount) == 4);
static_assert(offsetof(tagZLXCONNECTIONINFO, model) == 8);
static_assert(offsetof(tagZLXCONNECTIONINFO, cancelDlgParam) == 16);
static_assert(offsetof(tagZLXCONNECTIONINFO, opened) == 284);
static_assert(offsetof(tagZLXCONNECTIONINFO, commandTimeout) == 288);
static_assert(offsetof(tagZLXCONNECTIONINFO, deviceKey) == 292);
static_assert(sizeof(tagZLXPROGRESSPARAM) == 12);
static_assert(sizeof(tagZLXDRIVEINFO) == 8);
static_assert(sizeof(tagZLXDRIVELISTENTRY) == 268);
static_assert(offsetof(tagZLXDRIVELISTENTRY, name) == 4);
static_assert(offsetof(tagZLXDRIVELISTENTRY, present) == 264);
static_assert(sizeof(tagZLXTIME) == 36);
static_assert(sizeof(tagZLXFILEINFO) == 304);
static_assert(offsetof(tagZLXFILEINFO, attributes) == 260);
static_assert(offsetof(tagZLXFILEINFO, size) == 264);
static_assert(offsetof(tagZLXFILEINFO, time) == 268);
static_assert(sizeof(tagZLXDIRINFO) == 312);
static_assert(offsetof(tagZLXDIRINFO, attributes) == 260);
static_assert(offsetof(tagZLXDIRINFO, time) == 264);
static_assert(offsetof(tagZLXDIRINFO, subdirectories) == 300);
static_assert(offsetof(tagZLXDIRINFO, files) == 304);
static_assert(offsetof(tagZLXDIRINFO, totalFileSize) == 308);
static_assert(sizeof(tagZLXSTAMPSIZEENTRY) == 8);
static_assert(sizeof(tagZLXSTAMPSIZE) == 64);
static_assert(offsetof(tagZLXSTAMP, name) == 4);
static_assert(offsetof(tagZLXSTAMP, parts) == 24);

#if UINTPTR_MAX == 0xFFFFFFFFu
// The 32-bit product: every field 32 bits wide.
static_assert(sizeof(tagZLXDATAINFO) == 268);
static_assert(offsetof(tagZLXDATAINFO, data) == 260);
static_assert(offsetof(tagZLXDATAINFO, length) == 264);
static_assert(sizeof(tagZLXCONFIGDATA) == 8);
static_assert(sizeof(tagZLXSTAMPPART) == 8);
static_assert(sizeof(tagZLXSTAMP) == 88);
#else
// 64-bit: the global-memory handles take 8 aligned bytes.
static_assert(sizeof(tagZLXDATAINFO) == 280);
static_assert(offsetof(tagZLXDATAINFO, data) == 264);
static_assert(offsetof(tagZLXDATAINFO, length) == 272);
static_assert(sizeof(tagZLXCONFIGDATA) == 16);
static_assert(sizeof(tagZLXSTAMPPART) == 16);
static_assert(sizeof(tagZLXSTAMP) == 152);
#endif
