// The listing flag that every generic request carries in header byte 14.
#pragma once

#include <cstdint>

// Low byte of the REG_DWORD "ViewAllDirectory" under the current user's
// "SOFTWARE\VEMLO\ZLXSDK\Connection"; 0 when the key or value is missing or
// of another type.
uint8_t ViewAllDirectoryByte();
