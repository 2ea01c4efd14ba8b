#include "core/camera_messages.h"

namespace {

struct MessageEntry {
  uint16_t code;
  int message;
  MessageIcon icon;
};

constexpr MessageIcon W = MessageIcon::kWarning;
constexpr MessageIcon E = MessageIcon::kError;

constexpr MessageEntry kMessages[] = {
    {0x8F07, 20014, W}, {0x8F09, 20015, W}, {0x8F11, 20010, W}, {0x8F45, 20018, W}, {0x8F48, 20006, E},
    {0x8F9B, 20002, W}, {0xFF4B, 20002, W}, {0x8FFD, 20000, E}, {0x8FFE, 20001, E}, {0xFE08, 20017, W},
    {0xFE09, 20013, W}, {0xFE0F, 20011, W}, {0xFE11, 20008, W}, {0xFE12, 20009, W}, {0xFE15, 20016, W},
    {0xFF45, 20012, W}, {0xFF48, 20005, E}, {0xFF68, 20003, W}, {0xFF87, 20004, E},
};

}  // namespace

CameraMessage MessageForResult(uint32_t result) {
  if (result >= 20000 && result <= 29999) return {static_cast<int>(result), W, 0};
  const uint16_t code = static_cast<uint16_t>(result & 0xFFFF);
  switch (code) {
    case 0x0000:
    case 0x8F61:  // the user chose not to wait for the camera
    case 0xFF61:  // the user cancelled the transfer
      return {0, W, 0};
    case 0xFE07:  // not found: the caller decides what to say
      return {0, W, 20007};
  }
  for (const MessageEntry &entry : kMessages)
    if (entry.code == code) return {entry.message, entry.icon, 0};
  return {kInternalErrorMessage, E, 0};
}

uint32_t OpenFailureShown(uint32_t result) {
  switch (result & 0xFFFF) {
    case 0x8F48:
    case 0x8F9B:
    case 0x8FFD:
    case 0x8FFE:
    case 0xFF48:
    case 0xFF4A:
    case 0xFF68:
    case 0xFF87:
      return result;
    case 0x8F61:  // the user declined to wait
      return 0;
  }
  return 0xFFFF;
}

bool IsConnectionClassFailure(uint32_t result) {
  switch (result & 0xFFFF) {
    case 0x8F48:
    case 0x8F9B:
    case 0xFF48:
    case 0xFF4B:
    case 0xFF68:
      return true;
  }
  return false;
}
