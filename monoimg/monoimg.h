// Public interface of the bi-level image engine: operations on 1-bit images
// held in caller-owned buffers. Plain images have byte-aligned rows stored top
// row first; the "DIB" exports take bottom-up bitmaps with rows padded to 32
// bits. Pixel x of a row is bit (7 - x % 8) of byte x / 8; a set bit is black.
#ifndef MONOIMG_MONOIMG_H
#define MONOIMG_MONOIMG_H

#include <stdint.h>

#if defined(_WIN32)
#define MLX_CALL __stdcall
#else
#define MLX_CALL
#endif

// Windows exports come from the module definition file with fixed ordinals.
#if defined(__GNUC__) && !defined(_WIN32)
#define MLX_EXPORT __attribute__((visibility("default")))
#else
#define MLX_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Result codes.
enum {
  MLX_OK = 0,
  MLX_BAD_ARGUMENT = 10000,
  MLX_NO_MEMORY = 10001,
  MLX_STRIP_TOO_WIDE = -1
};

// Raster operations: MLX_ROP_OR merges (dst |= src), any other value of the
// blit family copies; MLX_ROP_INVERT is the only operation of MlxRop.
enum { MLX_ROP_COPY = 0, MLX_ROP_OR = 1, MLX_ROP_INVERT = 2 };

MLX_EXPORT int32_t MLX_CALL MlxBitBlt(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                      int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                      int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                      int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxDIBBlt(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                      int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                      int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                      int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxBitBltToDIB(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                           int32_t dstX, int32_t dstY, const uint8_t* src,
                                           int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                           int32_t srcY, int32_t width, int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxRop(uint8_t* image, int32_t width, int32_t height, int32_t x, int32_t y,
                                   int32_t rectWidth, int32_t rectHeight, int32_t rop, int32_t reserved);
MLX_EXPORT int32_t MLX_CALL MlxDIBRop(uint8_t* image, int32_t width, int32_t height, int32_t x,
                                      int32_t y, int32_t rectWidth, int32_t rectHeight, int32_t rop,
                                      int32_t reserved);

MLX_EXPORT int32_t MLX_CALL MlxBltZoom(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                       int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                       int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                       int32_t height, uint32_t xNum, uint32_t xDen, uint32_t yNum,
                                       uint32_t yDen, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxDIBZoom(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                       int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                       int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                       int32_t height, uint32_t xNum, uint32_t xDen, uint32_t yNum,
                                       uint32_t yDen, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxZoomToGray(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                          int32_t dstX, int32_t dstY, const uint8_t* src,
                                          int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                          int32_t srcY, int32_t width, int32_t height, uint32_t xNum,
                                          uint32_t xDen, uint32_t yNum, uint32_t yDen,
                                          int32_t reserved, int32_t mode);
MLX_EXPORT int32_t MLX_CALL MlxDIBZoomToGray(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                             int32_t dstX, int32_t dstY, const uint8_t* src,
                                             int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                             int32_t srcY, int32_t width, int32_t height,
                                             uint32_t xNum, uint32_t xDen, uint32_t yNum,
                                             uint32_t yDen, int32_t reserved, int32_t mode);

MLX_EXPORT int32_t MLX_CALL MlxBltRotLeft(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                          int32_t dstX, int32_t dstY, const uint8_t* src,
                                          int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                          int32_t srcY, int32_t width, int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxBltRotRight(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                           int32_t dstX, int32_t dstY, const uint8_t* src,
                                           int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                           int32_t srcY, int32_t width, int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxBltRot180(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                         int32_t dstX, int32_t dstY, const uint8_t* src,
                                         int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                         int32_t srcY, int32_t width, int32_t height, int32_t rop);
MLX_EXPORT int32_t MLX_CALL MlxBltRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                      int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                      int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                      int32_t height, int32_t rop, int32_t angle);
MLX_EXPORT int32_t MLX_CALL MlxDIBRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight, int32_t dstX,
                                      int32_t dstY, const uint8_t* src, int32_t srcWidth,
                                      int32_t srcHeight, int32_t srcX, int32_t srcY, int32_t width,
                                      int32_t height, int32_t rop, int32_t angle);
MLX_EXPORT int32_t MLX_CALL MlxBltZoomRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                          int32_t dstX, int32_t dstY, const uint8_t* src,
                                          int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                          int32_t srcY, int32_t width, int32_t height, uint32_t xNum,
                                          uint32_t xDen, uint32_t yNum, uint32_t yDen, int32_t rop,
                                          int32_t angle);
MLX_EXPORT int32_t MLX_CALL MlxDIBZoomRot(uint8_t* dst, int32_t dstWidth, int32_t dstHeight,
                                          int32_t dstX, int32_t dstY, const uint8_t* src,
                                          int32_t srcWidth, int32_t srcHeight, int32_t srcX,
                                          int32_t srcY, int32_t width, int32_t height, uint32_t xNum,
                                          uint32_t xDen, uint32_t yNum, uint32_t yDen, int32_t rop,
                                          int32_t angle);

#ifdef __cplusplus
}
#endif

#endif
