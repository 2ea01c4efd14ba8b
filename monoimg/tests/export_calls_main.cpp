// Writes the native library's outcome of every call of ForEachExportCall to
// standard output, for the Windows test to compare monoimg.dll against:
// per call the ordinal, input digest, result and destination size (each
// 32-bit little-endian), then the destination's bytes.
#include <cstdio>

#include "export_calls.h"

namespace {

void Put(uint32_t value) {
  const unsigned char bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  std::fwrite(bytes, 1, 4, stdout);
}

}  // namespace

int main() {
  testimg::ForEachExportCall([](uint32_t ordinal, auto function, const std::vector<uint8_t> &src,
                                std::vector<uint8_t> dst, auto... args) {
    Put(ordinal);
    Put(testimg::InputDigest(src, dst, args...));
    Put(uint32_t(function(dst.data(), args...)));
    Put(uint32_t(dst.size()));
    std::fwrite(dst.data(), 1, dst.size(), stdout);
  });
  return std::fflush(stdout) == 0 ? 0 : 1;
}
