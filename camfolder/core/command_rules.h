// What the camera commands decide without the camera: the name of a new
// folder, whether a file is a camera configuration, and how an entry that
// stops a delete is named to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// "NEW00001" to "NEW99999": the lowest number whose name no entry of the
// folder has (names compared without regard to case); nullopt when all are
// taken. So NEW00002 follows NEW00001 and NEW00003 when they exist.
std::optional<std::string> NewFolderName(const std::vector<std::string> &entries);

// Whether a file's bytes can be a configuration of one of the models, given
// their short names ("K20", "K10"): at least two bytes longer than the
// first name, and its first four bytes those of one of the names with the
// terminator after it.
bool IsCameraConfiguration(std::span<const uint8_t> bytes, std::string_view firstModel, std::string_view secondModel);

// The name a delete question shows for an entry the camera protects: the
// text after the next-to-last "/" of its path ("A/R.TXT" of "0:/A/R.TXT",
// "SUB/" of "0:/A/SUB/").
std::string ProtectedEntryText(std::string_view path);
