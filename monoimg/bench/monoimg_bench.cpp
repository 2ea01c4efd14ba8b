// Times every operation of the engine on a text page next to its nearest
// Leptonica equivalent (and the plain copy next to memcpy), then prints the
// ratios of one run: ours / theirs, below 1 means faster.
#include <benchmark/benchmark.h>
#include <leptonica/allheaders.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "monoimg/monoimg.h"
#include "monoimg/simd.h"
#include "text_page.h"

namespace {

constexpr int W = TextPage::kWidth;
constexpr int H = TextPage::kHeight;

const TextPage& page() {
  static const TextPage p = make_text_page();
  return p;
}

// The page as a Leptonica image: 32-bit words whose most significant bit is
// the leftmost pixel.
PIX* page_pix() {
  static PIX* pix = [] {
    PIX* p = pixCreate(W, H, 1);
    l_uint32* words = pixGetData(p);
    const int wpl = pixGetWpl(p);
    for (int y = 0; y < H; ++y)
      for (int k = 0; k < wpl; ++k) {
        l_uint32 word = 0;
        for (int b = 0; b < 4; ++b) {
          const int index = 4 * k + b;
          word = word << 8 | (index < TextPage::kStride ? page().bytes[y * TextPage::kStride + index] : 0);
        }
        words[y * wpl + k] = word;
      }
    return p;
  }();
  return pix;
}

std::vector<uint8_t> blank(size_t bytes) { return std::vector<uint8_t>(bytes, 0); }

// ---- plain copy and merge ----

void BM_memcpy_page(benchmark::State& state) {
  auto dst = blank(page().bytes.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), page().bytes.data(), dst.size());
    benchmark::DoNotOptimize(dst.data());
  }
}

void BM_ours_blit(benchmark::State& state) {
  const int shift = static_cast<int>(state.range(0)), rop = static_cast<int>(state.range(1));
  auto dst = blank(page().bytes.size());
  for (auto _ : state) {
    MlxBitBlt(dst.data(), W, H, shift, 0, page().bytes.data(), W, H, 0, 0, W - shift, H, rop);
    benchmark::DoNotOptimize(dst.data());
  }
}

void BM_lept_blit(benchmark::State& state) {
  const int shift = static_cast<int>(state.range(0));
  const int op = state.range(1) == 1 ? (PIX_SRC | PIX_DST) : PIX_SRC;
  PIX* dst = pixCreate(W, H, 1);
  for (auto _ : state) pixRasterop(dst, shift, 0, W - shift, H, op, page_pix(), 0, 0);
  pixDestroy(&dst);
}

// ---- inversion ----

void BM_ours_invert(benchmark::State& state) {
  auto image = page().bytes;
  for (auto _ : state) {
    MlxRop(image.data(), W, H, 3, 0, W - 6, H, MLX_ROP_INVERT, 0);
    benchmark::DoNotOptimize(image.data());
  }
}

void BM_lept_invert(benchmark::State& state) {
  PIX* image = pixCopy(nullptr, page_pix());
  for (auto _ : state) pixRasterop(image, 3, 0, W - 6, H, PIX_NOT(PIX_DST), nullptr, 0, 0);
  pixDestroy(&image);
}

// ---- rotation ----

void BM_ours_rotate(benchmark::State& state) {
  const int angle = static_cast<int>(state.range(0));
  const bool quarter = angle != 180;
  const int dw = quarter ? H : W, dh = quarter ? W : H;
  auto dst = blank(static_cast<size_t>((dw + 7) / 8) * dh);
  for (auto _ : state) {
    MlxBltRot(dst.data(), dw, dh, 0, 0, page().bytes.data(), W, H, 0, 0, W, H, 0, angle);
    benchmark::DoNotOptimize(dst.data());
  }
}

void BM_lept_rotate(benchmark::State& state) {
  const int angle = static_cast<int>(state.range(0));
  for (auto _ : state) {
    // Leptonica's direction 1 is clockwise: our 270.
    PIX* out = angle == 180 ? pixRotate180(nullptr, page_pix()) : pixRotate90(page_pix(), angle == 90 ? -1 : 1);
    pixDestroy(&out);
  }
}

// ---- zoom ----

void BM_ours_zoom(benchmark::State& state) {
  const uint32_t num = static_cast<uint32_t>(state.range(0)), den = static_cast<uint32_t>(state.range(1));
  const int dw = W * num / den, dh = H * num / den;
  auto dst = blank(static_cast<size_t>((dw + 7) / 8) * dh);
  for (auto _ : state) {
    MlxBltZoom(dst.data(), dw, dh, 0, 0, page().bytes.data(), W, H, 0, 0, W, H, num, den, num, den, 0);
    benchmark::DoNotOptimize(dst.data());
  }
}

void BM_lept_zoom(benchmark::State& state) {
  const float factor = static_cast<float>(state.range(0)) / static_cast<float>(state.range(1));
  for (auto _ : state) {
    PIX* out = pixScaleBinary(page_pix(), factor, factor);
    pixDestroy(&out);
  }
}

// ---- gray ----

void BM_ours_gray(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  const uint32_t den = mode == 1 ? 2 : 4;
  const int dw = W / den, dh = H / den;
  const size_t rowBytes = mode >= 3 ? dw : (dw + 1) / 2;
  auto dst = blank(rowBytes * dh);
  for (auto _ : state) {
    MlxZoomToGray(dst.data(), dw, dh, 0, 0, page().bytes.data(), W, H, 0, 0, W, H, 1, den, 1, den, 0, mode);
    benchmark::DoNotOptimize(dst.data());
  }
}

void BM_lept_gray(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  for (auto _ : state) {
    PIX* out = mode == 1 ? pixScaleToGray2(page_pix()) : pixScaleToGray4(page_pix());
    pixDestroy(&out);
  }
}

BENCHMARK(BM_memcpy_page);
BENCHMARK(BM_ours_blit)->ArgNames({"shift", "rop"})->Args({0, 0})->Args({0, 1})->Args({3, 0})->Args({3, 1});
BENCHMARK(BM_lept_blit)->ArgNames({"shift", "rop"})->Args({0, 0})->Args({0, 1})->Args({3, 0})->Args({3, 1});
BENCHMARK(BM_ours_invert);
BENCHMARK(BM_lept_invert);
BENCHMARK(BM_ours_rotate)->ArgName("angle")->Arg(90)->Arg(270)->Arg(180);
BENCHMARK(BM_lept_rotate)->ArgName("angle")->Arg(90)->Arg(270)->Arg(180);
BENCHMARK(BM_ours_zoom)->ArgNames({"num", "den"})->Args({1, 3})->Args({3, 1});
BENCHMARK(BM_lept_zoom)->ArgNames({"num", "den"})->Args({1, 3})->Args({3, 1});
BENCHMARK(BM_ours_gray)->ArgName("mode")->Arg(1)->Arg(3);
BENCHMARK(BM_lept_gray)->ArgName("mode")->Arg(1)->Arg(3);

// Console output plus, at the end, each of our timings divided by its
// counterpart's, in real time and in CPU time (the latter is steadier when
// other work shares the processor).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nours / reference (below 1.00 means ours is faster), inner loops on %s\n",
                monoimg::simd() == monoimg::Simd::Avx2 ? "AVX2" : "SSE2");
    std::printf("  %-28s %-13s %5s %5s\n", "", "", "real", "cpu");
    for (const auto& [name, time] : times_) {
      if (name.rfind("BM_ours_", 0) != 0) continue;
      const std::string rest = name.substr(8);
      const std::string lept = "BM_lept_" + rest;
      if (times_.count(lept)) print(rest, "vs Leptonica", time, times_[lept]);
      if (rest == "blit/shift:0/rop:0" && times_.count("BM_memcpy_page"))
        print(rest, "vs memcpy", time, times_["BM_memcpy_page"]);
    }
  }

 private:
  struct Times {
    double real, cpu;
  };
  static void print(const std::string& name, const char* against, Times ours, Times theirs) {
    std::printf("  %-28s %-13s %5.2f %5.2f\n", name.c_str(), against, ours.real / theirs.real, ours.cpu / theirs.cpu);
  }

  std::map<std::string, Times> times_;
};

// Takes --simd=sse2 or --simd=avx2 out of the arguments and makes the inner
// loops use that instruction set; without it they use the best one here.
bool choose_simd(int& argc, char** argv) {
  int kept = 1;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--simd=sse2" || arg == "--simd=avx2") {
      if (!monoimg::use_simd(arg == "--simd=avx2" ? monoimg::Simd::Avx2 : monoimg::Simd::Sse2)) {
        std::fprintf(stderr, "%s: this processor cannot run it\n", argv[i]);
        ok = false;
      }
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  setMsgSeverity(L_SEVERITY_NONE);
  if (!choose_simd(argc, argv)) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
