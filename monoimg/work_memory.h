// Per-call work memory from the C runtime heap, released on every path.
#ifndef MONOIMG_WORK_MEMORY_H
#define MONOIMG_WORK_MEMORY_H

#include <cstdint>
#include <cstdlib>

namespace monoimg {

class WorkMemory {
 public:
  // Takes `bytes` zeroed bytes; ok() is false when the heap cannot supply them
  // or the size does not fit the address space.
  explicit WorkMemory(std::int64_t bytes) {
    if (bytes >= 0 && static_cast<std::uint64_t>(bytes) < SIZE_MAX / 2)
      data_ = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(bytes) + 1, 1));
  }
  ~WorkMemory() { std::free(data_); }
  WorkMemory(const WorkMemory&) = delete;
  WorkMemory& operator=(const WorkMemory&) = delete;

  bool ok() const { return data_ != nullptr; }
  std::uint8_t* data() const { return data_; }

 private:
  std::uint8_t* data_ = nullptr;
};

}  // namespace monoimg

#endif
