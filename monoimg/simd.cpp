#include "simd.h"

#include <atomic>

#include "kernels.h"

namespace monoimg {
namespace {

// GCC's check covers the operating system's saving of the AVX registers too.
bool has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

std::atomic<Simd>& level() {
  static std::atomic<Simd> current{has_avx2() ? Simd::Avx2 : Simd::Sse2};
  return current;
}

}  // namespace

Simd simd() { return level().load(std::memory_order_relaxed); }

bool simd_available(Simd level) { return level == Simd::Sse2 || has_avx2(); }

bool use_simd(Simd wanted) {
  if (!simd_available(wanted)) return false;
  level().store(wanted, std::memory_order_relaxed);
  return true;
}

const Kernels& kernels() { return simd() == Simd::Avx2 ? kAvx2Kernels : kSse2Kernels; }

}  // namespace monoimg
