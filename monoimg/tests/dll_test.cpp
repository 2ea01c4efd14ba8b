// monoimg.dll as a caller sees it: every export resolves by name and by its
// ordinal to the same function, and the DLL gives the same results as the
// engine linked statically and as the reference model.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "export_calls.h"
#include "monoimg/monoimg.h"
#include "reference_model.h"
#include "unix_paths.h"
#include "test_images.h"

namespace {

using namespace testimg;

struct Export {
  const char* name;
  WORD ordinal;
};

const Export kExports[] = {
    {"MlxBitBltToDIB", 9}, {"MlxBitBlt", 10},     {"MlxBltRotLeft", 11}, {"MlxBltRotRight", 12},
    {"MlxBltRot180", 13},  {"MlxBltRot", 14},     {"MlxBltZoom", 15},    {"MlxBltZoomRot", 16},
    {"MlxRop", 20},        {"MlxZoomToGray", 21}, {"MlxDIBBlt", 30},     {"MlxDIBRot", 34},
    {"MlxDIBZoom", 35},    {"MlxDIBZoomRot", 36}, {"MlxDIBRop", 40},     {"MlxDIBZoomToGray", 41},
};

class MonoimgDll : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("monoimg.dll");
    ASSERT_NE(module_, nullptr) << "LoadLibrary failed: " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  // The export `linked` names, resolved by ordinal or by name in turn.
  template <typename F>
  F resolve(F, const char* name, WORD ordinal) {
    const bool byName = ++lookups_ % 2 == 0;
    FARPROC p = byName ? GetProcAddress(module_, name) : GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<F>(reinterpret_cast<void*>(p));
  }
  // The export at this ordinal, typed as the linked function.
  template <typename F>
  F byOrdinal(F, uint32_t ordinal) {
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal))));
  }
  HMODULE module_ = nullptr;
  int lookups_ = 0;
};

TEST_F(MonoimgDll, EveryExportResolvesByNameAndOrdinal) {
  for (const Export& e : kExports) {
    FARPROC named = GetProcAddress(module_, e.name);
    FARPROC numbered = GetProcAddress(module_, MAKEINTRESOURCEA(e.ordinal));
    ASSERT_NE(named, nullptr) << e.name;
    EXPECT_EQ(named, numbered) << e.name << " @" << e.ordinal;
  }
  // The ordinals in between are empty.
  for (WORD ordinal : {1, 8, 17, 19, 22, 29, 31, 33, 37, 39, 42})
    EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
}

// The DLL's exports and the engine linked into this test give the same
// results and pixels on the same calls.
TEST_F(MonoimgDll, ExportsMatchTheLinkedEngine) {
  ForEachExportCall([&](uint32_t ordinal, auto linked, const std::vector<uint8_t> &, std::vector<uint8_t> dst,
                        auto... args) {
    const auto fromDll = byOrdinal(linked, ordinal);
    ASSERT_NE(fromDll, nullptr) << ordinal;
    std::vector<uint8_t> other = dst;
    EXPECT_EQ(fromDll(dst.data(), args...), linked(other.data(), args...)) << "@" << ordinal;
    EXPECT_TRUE(dst == other) << "@" << ordinal;
  });
}

TEST_F(MonoimgDll, ExportsMatchTheModel) {
  auto zoomRot = resolve(&MlxBltZoomRot, "MlxBltZoomRot", 16);
  std::mt19937 rng(32);
  for (int round = 0; round < 20; ++round) {
    Picture src = random_picture(rng, pick(rng, 1, 120), pick(rng, 1, 40));
    Picture dst = random_picture(rng, 150, 150), expected = dst;
    const ref::Args a{expected.data(), 150, 150, pick(rng, -9, 100), pick(rng, -9, 100), src.data(), src.width,
                      src.height, pick(rng, -2, 9), pick(rng, -2, 9), pick(rng, 1, 120), pick(rng, 1, 40)};
    const ref::Ratios r{uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)), uint32_t(pick(rng, 1, 3)),
                        uint32_t(pick(rng, 1, 3))};
    const int32_t angle = (round % 4) * 90;
    ASSERT_EQ(zoomRot(dst.data(), 150, 150, int32_t(a.dstX), int32_t(a.dstY), src.data(), int32_t(src.width),
                      int32_t(src.height), int32_t(a.srcX), int32_t(a.srcY), int32_t(a.width), int32_t(a.height),
                      r.xNum, r.xDen, r.yNum, r.yDen, 1, angle),
              ref::zoom_rotate(a, r, 1, angle));
    EXPECT_EQ(dst.bytes, expected.bytes) << "round " << round;
  }
}

// The records the native library's run wrote (see export_calls_main.cpp).
std::vector<CallRecord> NativeRecords() {
  const std::string file = "/tmp/monoimg-native-" + std::to_string(GetCurrentProcessId()) + ".bin";
  ChildProcess native("/bin/sh -c \"" MONOIMG_EXPORT_CALLS " >" + file + ".part && mv " + file + ".part " + file +
                      "\"");
  for (int waited = 0; waited < 60000 && GetFileAttributesA(WindowsPath(file).c_str()) == INVALID_FILE_ATTRIBUTES;
       waited += 50)
    Sleep(50);
  const std::string bytes = ReadFileBytes(WindowsPath(file));
  DeleteFileA(WindowsPath(file).c_str());
  std::vector<CallRecord> records;
  size_t at = 0;
  const auto word = [&](uint32_t &value) {
    if (bytes.size() - at < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
    at += 4;
    return true;
  };
  for (CallRecord r; at < bytes.size();) {
    uint32_t result, size;
    if (!word(r.ordinal) || !word(r.digest) || !word(result) || !word(size) || bytes.size() - at < size) {
      ADD_FAILURE() << "the native record at byte " << at << " is cut short";
      break;
    }
    r.result = int32_t(result);
    r.dst.assign(bytes.begin() + at, bytes.begin() + at + size);
    at += size;
    records.push_back(r);
  }
  return records;
}

// The same calls on the same inputs give the native library's results, byte
// for byte: on a 32-bit build this proves its arithmetic against the 64-bit one.
TEST_F(MonoimgDll, ExportsByOrdinalGiveTheNativeLibrarysResults) {
  const std::vector<CallRecord> records = NativeRecords();
  size_t call = 0;
  ForEachExportCall([&](uint32_t ordinal, auto linked, const std::vector<uint8_t> &src, std::vector<uint8_t> dst,
                        auto... args) {
    const size_t index = call++;
    ASSERT_LT(index, records.size()) << "the native run made fewer calls";
    const CallRecord &native = records[index];
    ASSERT_EQ(native.ordinal, ordinal) << "call " << index;
    ASSERT_EQ(native.digest, InputDigest(src, dst, args...)) << "call " << index << ": other inputs";
    const auto fromDll = byOrdinal(linked, ordinal);
    ASSERT_NE(fromDll, nullptr) << ordinal;
    EXPECT_EQ(fromDll(dst.data(), args...), native.result) << "call " << index << " @" << ordinal;
    EXPECT_TRUE(dst == native.dst) << "call " << index << " @" << ordinal;
  });
  EXPECT_EQ(call, records.size());
  EXPECT_GT(call, 0u);
}

}  // namespace
