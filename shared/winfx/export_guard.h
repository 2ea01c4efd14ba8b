// Exception frame for the body of a DLL export: no C++ exception may cross
// into the host program, whatever its language or runtime. Any exception the
// body throws (out of memory, file or resource errors) becomes the export's
// failure result.
//
// Structured exceptions (access violations and the like) are not caught:
// mingw's GCC offers no __try/__except, and unwinding C++ frames from a
// hand-made SEH handler would skip their destructors.
#pragma once

#include <utility>

template <typename Result, typename Body>
Result RunExport(Result failure, Body &&body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

// For exports without a result: exceptions end the body silently.
template <typename Body>
void RunExport(Body &&body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}
