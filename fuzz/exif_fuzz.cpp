// A picture file's contents as the shot list's conversion reads them: the
// Exif segment with its orientation and embedded thumbnail.
#include <span>

#include "exif_info.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> file = input.Rest();
  const auto info = ReadExifInfo(std::span<const uint8_t>(file.data(), file.size()));
  if (!info) return 0;
  const auto &thumbnail = info->thumbnail;
  if (!thumbnail.empty()) {
    if (thumbnail.data() < file.data() || thumbnail.data() + thumbnail.size() > file.data() + file.size())
      __builtin_trap();
    uint8_t sum = 0;
    for (uint8_t b : thumbnail) sum += b;
    Use(sum);
  }
  Use(info->orientation);
  return 0;
}
