// Commands understood by the channel test server besides the real 274 and 290.
#pragma once

#include <cstdint>

enum TestCommand : uint32_t {
  kEcho = 0x7001,         // params: u32 size, bytes; adds 1 to every byte after the size
  kDetailWord = 0x7002,   // like kEcho, answered with the high half 0xABCD
  kErrorAfterWrite = 0x7003,  // scribbles over the params, answers 0xFE07
  kSlowEcho = 0x7004,     // params: u32 size, u32 milliseconds to sleep first; then kEcho
  kServedCount = 0x7005,  // params: u32 out, the number of commands served before
  kDieWhileServing = 0x7006,  // the server exits without answering
  kBusyAfterAnswer = 0x7007,  // params: u32 milliseconds the server stays busy after answering
  kHandleCount = 0x7008,      // params: u32 out, the handles the server's process holds
};

constexpr uint8_t kScribble = 0xEE;
