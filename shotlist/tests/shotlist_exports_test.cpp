// shotlist.dll called as a host calls it: loaded with LoadLibrary, resolved
// with GetProcAddress, strings passed as real VARIANTs holding SAFEARRAYs.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <set>

#include "shotlist/shotlist.h"
#include "test_pictures.h"

namespace {

namespace fs = std::filesystem;

// A one-dimensional SAFEARRAY of BSTR; null entries stay null strings.
struct BstrArray {
  explicit BstrArray(const std::vector<const wchar_t *> &values, LONG lowerBound = 0) {
    SAFEARRAYBOUND bound{ULONG(values.size()), lowerBound};
    array = SafeArrayCreate(VT_BSTR, 1, &bound);
    for (size_t i = 0; i < values.size(); ++i) {
      if (values[i]) static_cast<BSTR *>(array->pvData)[i] = SysAllocString(values[i]);
    }
  }
  ~BstrArray() { SafeArrayDestroy(array); }
  VARIANT Variant(bool byReference) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_BSTR | (byReference ? VT_BYREF : 0);
    if (byReference) v.pparray = &array;
    else v.parray = array;
    return v;
  }
  BSTR At(size_t i) const { return static_cast<BSTR *>(array->pvData)[i]; }
  std::wstring Text(size_t i) const { return At(i) ? At(i) : L"<null>"; }  // up to the first terminator
  SAFEARRAY *array;
};

class ShotlistExports : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    library_ = LoadLibraryA("shotlist.dll");
  }
  static void TearDownTestSuite() {
    FreeLibrary(library_);
    CoUninitialize();
  }
  void SetUp() override {
    ASSERT_NE(library_, nullptr);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    tempFolder_ = fs::canonical(temp);
    folder_ = tempFolder_ / ("shotlist_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    for (const std::string &bitmap : bitmaps_) DeleteFileA(bitmap.c_str());
  }

  template <typename Function>
  Function *Export(const char *name) {
    return reinterpret_cast<Function *>(reinterpret_cast<void *>(GetProcAddress(library_, name)));
  }
  std::string Write(const std::string &name, const Bytes &bytes) {
    WriteFileBytes((folder_ / name).string(), bytes);
    return (folder_ / name).string();
  }
  std::string WriteList(const std::string &text, const std::string &name = "list.lst") {
    return Write(name, Bytes(text.begin(), text.end()));
  }
  size_t BitmapsInTempFolder() {
    size_t count = 0;
    for (const auto &entry : fs::directory_iterator(tempFolder_)) {
      count += entry.path().filename().string().rfind("~GI", 0) == 0 && entry.path().extension() == ".BMP";
    }
    return count;
  }
  // Converts with CreateBMPFromJPGFile and reads the bitmap back; the test
  // deletes its bitmaps when it ends.
  BitmapImage Convert(const std::string &picture, int &width, int &height) {
    char bitmapPath[MAX_PATH + 1] = {};
    if (Export<decltype(CreateBMPFromJPGFile)>("CreateBMPFromJPGFile")(picture.c_str(), &width, &height,
                                                                        bitmapPath) != 1) {
      return {};
    }
    const fs::path written(bitmapPath);
    EXPECT_EQ(fs::canonical(written.parent_path()), tempFolder_);
    EXPECT_EQ(written.filename().string().rfind("~GI", 0), 0u) << bitmapPath;
    EXPECT_EQ(written.extension().string(), ".BMP");
    bitmaps_.insert(bitmapPath);
    return ReadBitmapFile(bitmapPath);
  }

  static inline HMODULE library_ = nullptr;
  fs::path tempFolder_, folder_;
  std::set<std::string> bitmaps_;
};

TEST_F(ShotlistExports, ExportsThirteenFunctionsByNameAndOrdinal) {
  const char *names[] = {"ShowImageListDlg", "ShowCommonFileDlg", "CreateBMPFromJPGFile", "FilterDllMsg",
                         "ProcessDllIdle",   "SelectListFileDlg", "SelectCutNameDlg",     "GetListTitle",
                         "GetCutTitleCount", "GetCutTitleArray",  "GetImageFileName",     "SaveListFile",
                         "ConvertCutName"};
  for (WORD ordinal = 1; ordinal <= 13; ++ordinal) {
    FARPROC byName = GetProcAddress(library_, names[ordinal - 1]);
    ASSERT_NE(byName, nullptr) << names[ordinal - 1];
    EXPECT_EQ(byName, GetProcAddress(library_, MAKEINTRESOURCEA(ordinal))) << names[ordinal - 1];
  }
}

TEST_F(ShotlistExports, StringTableHoldsTheLibrarysTexts) {
  const auto text = [](UINT id) {
    char buffer[512] = "";
    LoadStringA(library_, id, buffer, sizeof buffer);
    return std::string(buffer);
  };
  EXPECT_EQ(text(1), "MS Sans Serif");
  EXPECT_EQ(text(3), "*.lst");
  EXPECT_EQ(text(4), "[LIST TITLE]");  // the key words the readers compare with
  EXPECT_EQ(text(5), "title=");
  EXPECT_EQ(text(6), "Shoot Planner Toolkit");
  EXPECT_EQ(text(11), "\\,/,:,*,?,\"\",<,>,| not allowed for file name.");
  EXPECT_EQ(text(17), "%1\nFile already exists. \n\n overwrite OK ?");
  for (UINT id = 1; id <= 18; ++id) EXPECT_FALSE(text(id).empty()) << id;
}

TEST_F(ShotlistExports, ReadsListTitleAndCutTitles) {
  const std::string list = WriteList("[LIST TITLE]\r\ntitle=Harbour\r\n[Boats]\r\nIMG_1.JPG\r\n[Quay]\r\n[]\r\n");
  char title[2048] = "garbage";
  EXPECT_EQ(Export<decltype(GetListTitle)>("GetListTitle")(list.c_str(), title), 1);
  EXPECT_STREQ(title, "Harbour");
  EXPECT_EQ(Export<decltype(GetCutTitleCount)>("GetCutTitleCount")(list.c_str()), 3);
  const std::string missing = (folder_ / "missing.lst").string();
  EXPECT_EQ(Export<decltype(GetListTitle)>("GetListTitle")(missing.c_str(), title), 1);
  EXPECT_STREQ(title, "");
  EXPECT_EQ(Export<decltype(GetCutTitleCount)>("GetCutTitleCount")(missing.c_str()), 0);

  auto getArray = Export<decltype(GetCutTitleArray)>("GetCutTitleArray");
  for (bool byReference : {false, true}) {
    BstrArray titles({L"..........", L"xy", L"keep", L"untouched", nullptr}, 1);
    VARIANT variant = titles.Variant(byReference);
    ASSERT_EQ(getArray(list.c_str(), &variant), 1);
    EXPECT_EQ(titles.Text(0), L"Boats");
    EXPECT_EQ(SysStringLen(titles.At(0)), 10u);  // the caller's string keeps its length
    EXPECT_EQ(titles.Text(1), L"Qu");            // cut to the two characters the string holds
    EXPECT_EQ(titles.Text(2), L"");
    EXPECT_EQ(titles.Text(3), L"untouched");  // no fourth title
  }
  BstrArray withNull({nullptr, L"..."});
  VARIANT variant = withNull.Variant(false);
  EXPECT_EQ(getArray(list.c_str(), &variant), 1);
  EXPECT_EQ(withNull.Text(1), L"Qua");
}

TEST_F(ShotlistExports, RefusesVariantsThatAreNotOneDimensionalStringArrays) {
  auto getArray = Export<decltype(GetCutTitleArray)>("GetCutTitleArray");
  const std::string list = WriteList("[LIST TITLE]\r\n[Boats]\r\n");
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_BSTR;
  variant.bstrVal = SysAllocString(L".....");
  EXPECT_EQ(getArray(list.c_str(), &variant), 0);
  EXPECT_STREQ(variant.bstrVal, L".....");
  VariantClear(&variant);

  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  SAFEARRAY *matrix = SafeArrayCreate(VT_BSTR, 2, bounds);
  SAFEARRAY *numbers = SafeArrayCreateVector(VT_I4, 0, 2);
  for (SAFEARRAY *array : {matrix, numbers}) {  // the second claims strings but holds numbers
    variant.vt = VT_ARRAY | VT_BSTR;
    variant.parray = array;
    EXPECT_EQ(getArray(list.c_str(), &variant), 0);
  }
  SafeArrayDestroy(matrix);
  SafeArrayDestroy(numbers);
  variant.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
  variant.pparray = nullptr;
  EXPECT_EQ(getArray(list.c_str(), &variant), 0);
  EXPECT_EQ(getArray(list.c_str(), nullptr), 0);
}

TEST_F(ShotlistExports, ConvertsCutNamesAndTitlesInTheSystemCodePage) {
  auto convert = Export<decltype(ConvertCutName)>("ConvertCutName");
  char converted[64] = {};
  EXPECT_EQ(convert("A title of exactly thirty char", converted), 1);
  EXPECT_STREQ(converted, "A title of e");
  EXPECT_EQ(convert("\xB6\xDE", converted), 1);
  const bool japanese = GetSystemDefaultLangID() == 0x0411;
  EXPECT_STREQ(converted, japanese ? "\x83\x4B" : "\xB6\xDE");

  // A title in the system code page reaches the host as the same characters,
  // whatever C locale the host has set; the library leaves that locale alone.
  std::setlocale(LC_ALL, "C");
  const bool japaneseCodePage = GetACP() == 932;
  const std::string list =
      WriteList(std::string("[LIST TITLE]\r\n") + (japaneseCodePage ? "[\x83\x4B]" : "[Caf\xE9 \x80]"));
  BstrArray titles({L"......"});
  VARIANT variant = titles.Variant(false);
  ASSERT_EQ(Export<decltype(GetCutTitleArray)>("GetCutTitleArray")(list.c_str(), &variant), 1);
  EXPECT_EQ(titles.Text(0), japaneseCodePage ? L"\u30AC" : L"Caf\u00E9 \u20AC");
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

TEST_F(ShotlistExports, ScalesAndTurnsPicturesByTheSizeRules) {
  const std::string landscape = Write("land.jpg", EncodeJpeg(1280, 960, kRed, kBlue));
  const std::string portrait = Write("portrait.JPE", EncodeJpeg(960, 1280, kRed, kBlue));
  const std::string small = Write("small.jpeg", EncodeJpeg(600, 400, kRed, kBlue));
  const std::string turned = Write("turned.jpg", WithExif(EncodeJpeg(1280, 960, kRed, kBlue), 6));
  const std::string upright = Write("upright.jpg", WithExif(EncodeJpeg(1280, 960, kRed, kBlue), 1));
  struct Case {
    const std::string &picture;
    int requestedWidth, requestedHeight, width, height;
    int redX, redY;  // where the red corner of the stored picture shows
  };
  const Case cases[] = {
      {landscape, 0, 0, 640, 480, 100, 100},       {landscape, 200, 0, 200, 150, 30, 30},
      {portrait, 200, 0, 150, 200, 30, 30},        {landscape, 2000, 2000, 1280, 960, 200, 200},
      {small, 0, 0, 600, 400, 100, 100},           {turned, 0, 0, 480, 640, 380, 100},
      {landscape, 200, 100, 133, 100, 20, 20},     // without Exif: fitted into the box asked for
      // With Exif: decoded at 1/8 for the fitted 133 x 100, turned, then
      // fitted into the square of the longer side asked for.
      {upright, 200, 100, 160, 120, 20, 20},       {turned, 200, 100, 120, 160, 95, 20},
      {turned, 640, 480, 480, 640, 380, 100},
  };
  // Whatever the route, the size reported is that of the bitmap written, never
  // the size asked for (2000 x 2000, or 200 x 100 for a picture without Exif).
  for (const Case &c : cases) {
    int width = c.requestedWidth, height = c.requestedHeight;
    const BitmapImage image = Convert(c.picture, width, height);
    ASSERT_TRUE(image.valid) << c.picture;
    EXPECT_EQ(width, c.width) << c.picture << " " << c.requestedWidth;
    EXPECT_EQ(height, c.height) << c.picture << " " << c.requestedWidth;
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_TRUE(image.IsNear(c.redX, c.redY, kRed)) << c.picture;
    EXPECT_TRUE(image.IsNear(c.width - 1 - c.redX, c.height - 1 - c.redY, kBlue)) << c.picture;
  }
  EXPECT_EQ(bitmaps_.size(), std::size(cases));  // every bitmap got a file of its own
}

TEST_F(ShotlistExports, RefusesWhatIsNotAReadableJpeg) {
  const Bytes jpeg = EncodeJpeg(64, 48, kRed, kBlue);
  auto convert = Export<decltype(CreateBMPFromJPGFile)>("CreateBMPFromJPGFile");
  const size_t before = BitmapsInTempFolder();
  char bitmapPath[MAX_PATH + 1] = "unchanged";
  int width = 7, height = 9;
  for (const std::string &picture : {Write("picture.png", jpeg), std::string("Z:\\no\\such\\folder\\x.png"),
                                     (folder_ / "missing.jpg").string(),
                                     Write("broken.jpg", Bytes(jpeg.begin(), jpeg.begin() + 200)),
                                     Write("text.jpg", Bytes{'h', 'e', 'l', 'l', 'o'})}) {
    EXPECT_EQ(convert(picture.c_str(), &width, &height, bitmapPath), 0) << picture;
  }
  EXPECT_EQ(convert(nullptr, &width, &height, bitmapPath), 0);
  EXPECT_STREQ(bitmapPath, "unchanged");
  EXPECT_EQ(width, 7);
  EXPECT_EQ(BitmapsInTempFolder(), before);
}

}  // namespace
