// The camera address as the user types it into the plain address field of
// older shells: up to four decimal numbers separated by ".", blanks around
// them allowed (the field is filled as "192 .  168 .  0   .  5  "), missing
// parts 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The address, first part in the most significant byte; nullopt for a part
// above 255, a fifth part, or any other character.
std::optional<uint32_t> ParseAddressText(std::string_view text);
