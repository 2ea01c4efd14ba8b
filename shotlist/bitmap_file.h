// Layout of the 24-bit device-independent bitmaps this library makes (40-byte
// header, no colour table) and the file header of a ".bmp" file holding one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint32_t kDibHeaderSize = 40;
constexpr size_t kBitmapFileHeaderSize = 14;

// Bytes per pixel row; rows are padded to a multiple of 4 bytes.
uint32_t DibStride(uint32_t width, uint16_t bitsPerPixel);

// The header of an uncompressed bottom-up bitmap without colour table.
std::array<uint8_t, kDibHeaderSize> DibHeader(uint32_t width, uint32_t height, uint16_t bitsPerPixel);

// The file header for such a bitmap of `dibSize` bytes (header and pixels).
std::array<uint8_t, kBitmapFileHeaderSize> BitmapFileHeader(uint32_t dibSize);
