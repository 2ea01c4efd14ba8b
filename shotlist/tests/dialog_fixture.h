// Fixture of the dialog tests: a folder of the test's own on drive C:, whose
// folders the shell tree shows under their own names. The tests call the
// exports of shotlist.dll directly.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialog_driver.h"

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Writes the bytes into the test folder; returns the full path.
  std::string Write(const std::string &name, const std::string &bytes);
  std::string Path(const std::string &name) const { return (folder_ / name).string(); }
  std::string Folder() const { return folder_.string(); }
  static std::string ReadAll(const std::string &path);

  std::filesystem::path folder_;
};

// A one-dimensional SAFEARRAY of BSTR inside a VARIANT.
class StringArray {
 public:
  explicit StringArray(const std::vector<std::wstring> &values);
  ~StringArray();
  StringArray(const StringArray &) = delete;
  StringArray &operator=(const StringArray &) = delete;
  VARIANT *Variant() { return &variant_; }

 private:
  VARIANT variant_;
};

// Polls until the condition holds; false after the time-out.
template <typename Condition>
bool Eventually(Condition condition, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// Caption of the library's message boxes.
inline const std::string kToolkit = "Shoot Planner Toolkit";
