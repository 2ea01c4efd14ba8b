// Helpers of the fuzz targets: the input taken apart from its front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

  size_t Left() const { return size_ - at_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t Le32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= uint32_t{Byte()} << (8 * i);
    return value;
  }
  // The next n bytes (fewer at the end) in a buffer of exactly that size, so
  // that the sanitizer sees every read past it.
  std::vector<uint8_t> Bytes(size_t n) {
    if (n > Left()) n = Left();
    std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
  }
  std::vector<uint8_t> Rest() { return Bytes(Left()); }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t at_ = 0;
};

// Keeps a computed value alive so that reads of checked data are not dropped.
template <typename T>
inline void Use(const T &value) {
  asm volatile("" : : "r"(&value) : "memory");
}
