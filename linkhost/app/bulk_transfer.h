// The three bulk exchanges with the camera: receive a body (file, thumbnail,
// configuration) into a result mapping for the client, send a body, send a
// stamp. Cancel takes effect between packets.
#pragma once

#include <cstdint>

#include "camera_link.h"
#include "dispatch.h"

ZLXRESULT Receive(zltp::ZltpConnection &connection, uint32_t opcode, uint32_t clientProcessId, CameraLink::Text name,
                  const TransferContext &transfer, uint32_t &mapping, uint32_t &size);
ZLXRESULT Send(zltp::ZltpConnection &connection, CameraLink::Text name, const TransferContext &transfer,
               const uint8_t *body, uint32_t length, uint32_t flags);
ZLXRESULT SendStamp(zltp::ZltpConnection &connection, const TransferContext &transfer, uint16_t kind,
                    CameraLink::Text name, const uint32_t (&sizes)[ZLX_STAMP_PARTS], const uint8_t *body);
