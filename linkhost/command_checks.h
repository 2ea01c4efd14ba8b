// Checks of a command block's parameter area, made before an operation uses
// it. The area lies in memory that a client can still write to while the link
// host serves it: every fixed header is copied out once, the copy is checked,
// and only the copy is used afterwards. Portable code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "command_layout.h"

// The transfer mode and progress parameters of the six transfer commands.
struct TransferCommand {
  bool isTransfer = false;
  bool valid = false;  // the area holds the command's fixed fields
  uint16_t mode = 0;
  ProgressFields progress{};
};

TransferCommand DescribeTransfer(uint32_t code, const uint8_t *area, size_t capacity);

// The text of a fixed field of size bytes: none when it is missing, has no
// terminator inside its field, or is longer than limit.
std::optional<std::string> FieldText(const char *chars, size_t field, size_t limit);

// A send command (338, 354, 370): its copied header and where its contents
// lie in the area.
template <typename Header>
struct SendCommandArea {
  Header header;
  const uint8_t *contents;
  uint32_t length;  // the header's data length, or the stamp's total
};

// None when the area is too small for the header and the contents it names.
std::optional<SendCommandArea<SendFileHeader>> CheckSendFile(const uint8_t *area, size_t capacity);
std::optional<SendCommandArea<SetConfigurationHeader>> CheckSetConfiguration(const uint8_t *area, size_t capacity);
// Also none when the eight part lengths add up to more than 32 bits.
std::optional<SendCommandArea<SendStampHeader>> CheckSendStamp(const uint8_t *area, size_t capacity);
