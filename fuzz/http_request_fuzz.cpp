// What an HTTP client sends through the virtual server: the scanner that
// finds the end of a request, fed in chunks of any size.
#include "fuzz_input.h"
#include "link/http_request_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  vserver::HttpRequestScanner scanner;
  uint64_t fed = 0;
  while (input.Left() > 0) {
    const size_t chunk = 1 + input.Byte() % 256;
    const std::vector<uint8_t> bytes = input.Bytes(chunk);
    scanner.Feed(bytes.data(), bytes.size());
    fed += bytes.size();
    if (scanner.Received() != fed) __builtin_trap();
    if (scanner.RequestComplete() && !scanner.HeaderComplete()) __builtin_trap();
    if (scanner.HeaderComplete() && scanner.HeaderBytes() > fed) __builtin_trap();
    if (scanner.RequestComplete()) {
      scanner.Reset();
      fed = 0;
    }
  }
  return 0;
}
