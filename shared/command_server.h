// The link host's end of the command channel: the information block that
// tells clients where to post, the command block of the command being served,
// and variable-length results handed to the client as a duplicated mapping.
#pragma once

#include <windows.h>

#include <cstdint>

#include "shared_memory.h"
#include "zlx_result.h"

// The 8-byte information block: process identifier and command window.
class InfoBlock {
 public:
  // Creates the block for the device key and writes this process's identifier
  // and the window into it. Kept until Close or destruction.
  bool Publish(const char *deviceKey, HWND window);
  void Close() { block_.Close(); }

 private:
  CSharedMemory block_;
};

// The command block of one command, opened and locked for writing on the
// thread that serves it.
class CommandBlock {
 public:
  CommandBlock() = default;
  CommandBlock(const CommandBlock &) = delete;
  CommandBlock &operator=(const CommandBlock &) = delete;
  ~CommandBlock();

  // Opens and locks the block and takes the client's completion event out
  // of it; false when there is no block or no event in it.
  bool Open(const char *deviceKey);
  // The parameter area and the bytes it really has: the block may have been
  // created smaller than a command's layout needs.
  uint8_t *Params() const { return params_; }
  size_t ParamsCapacity() const { return capacity_; }
  // True when the area holds at least size bytes.
  bool Holds(size_t size) const { return params_ && size <= capacity_; }

  void WriteResult(ZLXRESULT result);
  // Unlocks and closes the block; the completion event stays with this object.
  void Release();
  // Takes the client's completion event (this process's duplicate) out of the
  // object, for a thread that answers after the block is released.
  HANDLE TakeCompletionEvent();
  // Writes the result, releases the block, then signals the client's event
  // and closes this process's duplicate of it.
  void Complete(ZLXRESULT result);

 private:
  CSharedMemory block_;
  uint8_t *header_ = nullptr;
  uint8_t *params_ = nullptr;
  size_t capacity_ = 0;
  HANDLE event_ = nullptr;
};

// What a failure to hand over a result is reported as.
enum class ResultKind {
  List,      // drive and directory lists: 0xFF4A, 0xFF87 or 0xFFFF by step
  Contents,  // received file, thumbnail, configuration: always 0xFF87
};

// Puts length bytes into a new paging-file mapping and duplicates it into the
// client process; mapping receives the client's handle value (zero for an
// empty result, which needs no mapping).
ZLXRESULT HandResultToClient(DWORD clientProcessId, const void *data, uint32_t length, ResultKind kind,
                             uint32_t &mapping);
