#include "dialog_fixture.h"

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

void DialogTest::SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

void DialogTest::TearDownTestSuite() { CoUninitialize(); }

void DialogTest::SetUp() {
  folder_ = fs::path("C:\\lumo_shotlist") / testing::UnitTest::GetInstance()->current_test_info()->name();
  fs::remove_all(folder_);
  fs::create_directories(folder_);
}

void DialogTest::TearDown() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
  fs::remove(folder_.parent_path(), ignored);  // when no other test's folder is left
}

std::string DialogTest::Write(const std::string &name, const std::string &bytes) {
  std::ofstream(folder_ / name, std::ios::binary) << bytes;
  return Path(name);
}

std::string DialogTest::ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

StringArray::StringArray(const std::vector<std::wstring> &values) {
  VariantInit(&variant_);
  SAFEARRAY *array = SafeArrayCreateVector(VT_BSTR, 0, ULONG(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    static_cast<BSTR *>(array->pvData)[i] = SysAllocString(values[i].c_str());
  }
  variant_.vt = VT_ARRAY | VT_BSTR;
  variant_.parray = array;
}

StringArray::~StringArray() { VariantClear(&variant_); }
