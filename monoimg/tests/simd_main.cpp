// Test entry point that runs every test once for each instruction set the
// engine's inner loops can use on this machine (SSE2, then AVX2 where the
// processor has it), so that each vector path meets the same checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "monoimg/simd.h"

namespace {

// Switches the engine to the next instruction set before each repetition.
class EachSimdLevel : public ::testing::Environment {
 public:
  explicit EachSimdLevel(std::vector<monoimg::Simd> levels) : levels_(std::move(levels)) {}
  void SetUp() override {
    const monoimg::Simd level = levels_[next_++ % levels_.size()];
    monoimg::use_simd(level);
    std::printf("Inner loops on %s\n", level == monoimg::Simd::Avx2 ? "AVX2" : "SSE2");
  }

 private:
  std::vector<monoimg::Simd> levels_;
  size_t next_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::vector<monoimg::Simd> levels{monoimg::Simd::Sse2};
  if (monoimg::simd_available(monoimg::Simd::Avx2))
    levels.push_back(monoimg::Simd::Avx2);
  else
    std::printf("AVX2 not available here: inner loops tested on SSE2 only\n");
  // An explicit --gtest_repeat is left as given.
  if (GTEST_FLAG_GET(repeat) == 1) GTEST_FLAG_SET(repeat, static_cast<int>(levels.size()));
  GTEST_FLAG_SET(recreate_environments_when_repeating, true);
  ::testing::AddGlobalTestEnvironment(new EachSimdLevel(levels));
  return RUN_ALL_TESTS();
}
