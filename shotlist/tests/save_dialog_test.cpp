// The save dialog through SaveListFile: the checks of OK in their order, the
// overwrite question and the write, driven from a test thread.
#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <functional>

#include "dialog_fixture.h"
#include "shotlist/shotlist.h"
#include "shared/win_raii.h"

namespace {

namespace fs = std::filesystem;

const std::string kSaveDialog = "Save Shoot Planner file";
constexpr int kPathCombo = 1001, kSelectTypedPath = 1003, kTitleEdit = 1005, kNameEdit = 1006, kFolderEdit = 1007;
constexpr int kTree = 1000;

const std::string kMessage8 = "No folder. Select folder.";
const std::string kMessage9 = "No Shoot Planner title input. Input title.";
const std::string kMessage7 = "No file name. Input file name.";
const std::string kMessage11 = "\\,/,:,*,?,\"\",<,>,| not allowed for file name.";
const std::string kMessage14 = "Only characters in ASCII code allowed for Shoot Planner file name.";
const std::string kMessage18 =
    "Failed to save Shoot Planner file. \nWrite protect setting enabled or insufficient memory on disk.\n"
    "Check computer configuration.\n";

std::string Message10(const std::string &name) {
  return "Shoot Planner file name Error  '" + name +
         "'. \nUse file name format: Up to 8 characters + .lst\nExtension '.lst' automatically added when file "
         "name input.";
}

class SaveDialogTest : public DialogTest {
 protected:
  // Runs SaveListFile with the cut titles while `script` drives the dialog
  // found open; returns the export's result, the path in `saved`.
  int Save(const std::function<void(HWND dialog)> &script, std::string &saved,
           const std::vector<std::wstring> &cuts = {L"Boats", L"Quay"}) {
    StringArray titles(cuts);
    char path[MAX_PATH + 8] = "garbage";
    int result = 0;
    {
      DialogDriver driver([&] {
        if (HWND dialog = WaitForDialog(kSaveDialog)) script(dialog);
      });
      result = SaveListFile(titles.Variant(), path);
    }
    saved = path;
    return result;
  }

  // Selects the test folder in the tree, as typing it into the (hidden) path box does.
  void SelectTestFolder(HWND dialog) {
    SetControlText(dialog, kPathCombo, Folder());
    Press(dialog, kSelectTypedPath);
    EXPECT_TRUE(Eventually([&] { return WindowText(GetDlgItem(dialog, kFolderEdit)) == Folder(); }));
  }

  // Types title and file name and presses OK.
  void Submit(HWND dialog, const std::string &title, const std::string &name) {
    SetControlText(dialog, kTitleEdit, title);
    SetControlText(dialog, kNameEdit, name);
    Press(dialog, IDOK);
  }

  // The names in the test folder, sorted: a save leaves no temporary file behind.
  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The message box that OK shows, and where the focus goes after it.
  void ExpectRefused(HWND dialog, const std::string &message, int focusId) {
    EXPECT_EQ(AnswerMessageBox(kToolkit), message);
    EXPECT_TRUE(DialogOpen(kSaveDialog));
    EXPECT_TRUE(Eventually([&] { return FocusOf(dialog) == GetDlgItem(dialog, focusId); })) << message;
  }
};

TEST_F(SaveDialogTest, OkChecksFolderTitleAndNameInTurnAndSavesTheCuts) {
  std::string saved;
  const int result = Save(
      [&](HWND dialog) {
        EXPECT_EQ(WindowText(GetDlgItem(dialog, kFolderEdit)), "");  // My Computer: no file-system folder
        Submit(dialog, "Harbour trip", "TRIP");
        ExpectRefused(dialog, kMessage8, kTree);
        SelectTestFolder(dialog);
        Submit(dialog, "", "");
        ExpectRefused(dialog, kMessage9, kTitleEdit);
        Submit(dialog, "Harbour trip", "");
        ExpectRefused(dialog, kMessage7, kNameEdit);
        Submit(dialog, "Harbour trip", "a:longname9");  // the colon is found before the length
        ExpectRefused(dialog, kMessage11, kNameEdit);
        Submit(dialog, "Harbour trip", "longname9");
        ExpectRefused(dialog, Message10("longname9.lst"), kNameEdit);
        Submit(dialog, "Harbour trip", "\x82\x60");  // a full-width letter in code page 932
        ExpectRefused(dialog, kMessage14, kNameEdit);
        Submit(dialog, "Harbour trip, the long way round", "TRIP");
      },
      saved, {L"Boats", L"", L"Quay at dawn and dusk"});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(saved, Path("TRIP.lst"));
  // The title is cut to 16 bytes and the cuts to 12 by the writer; the empty cut is left out.
  EXPECT_EQ(ReadAll(Path("TRIP.lst")), "[LIST TITLE]\r\ntitle=Harbour trip, th\r\n[Boats]\r\n[Quay at dawn]\r\n");
}

TEST_F(SaveDialogTest, KeepsAGivenExtensionAndATrailingBlank) {
  for (const auto &[typed, stored] : {std::pair{"trip.LST", "trip.LST"}, std::pair{"TOWN ", "TOWN .lst"}}) {
    std::string saved;
    const int result = Save(
        [&](HWND dialog) {
          SelectTestFolder(dialog);
          Submit(dialog, "Trip", typed);
        },
        saved);
    EXPECT_EQ(result, 1) << typed;
    EXPECT_EQ(saved, Path(stored));
    WIN32_FIND_DATAA found{};
    const unique_find search(FindFirstFileA(saved.c_str(), &found));
    ASSERT_TRUE(search) << saved;
    EXPECT_EQ(std::string(found.cFileName), stored);  // the name as typed, not folded
  }
}

TEST_F(SaveDialogTest, AsksBeforeOverwritingAnExistingFile) {
  const std::string existing = Write("KEEP.lst", "old contents");
  std::string saved;
  const int result = Save(
      [&](HWND dialog) {
        SelectTestFolder(dialog);
        Submit(dialog, "New", "KEEP");
        EXPECT_EQ(AnswerMessageBox(kToolkit, IDNO), existing + "\nFile already exists. \n\n overwrite OK ?");
        EXPECT_TRUE(Eventually([&] { return FocusOf(dialog) == GetDlgItem(dialog, kNameEdit); }));
        EXPECT_EQ(ReadAll(existing), "old contents");
        Press(dialog, IDOK);
        EXPECT_EQ(AnswerMessageBox(kToolkit, IDYES), existing + "\nFile already exists. \n\n overwrite OK ?");
      },
      saved);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(saved, existing);
  EXPECT_EQ(ReadAll(existing), "[LIST TITLE]\r\ntitle=New\r\n[Boats]\r\n[Quay]\r\n");
  EXPECT_EQ(FileNames(), std::vector<std::string>{"KEEP.lst"});
}

// The host takes the saved path in a buffer of MAX_PATH bytes. In a folder
// so deep that the list's path would not fit, OK refuses at once, without
// first asking whether to overwrite the file already there.
TEST_F(SaveDialogTest, APathTooLongForTheHostIsRefusedBeforeAnyOverwriteQuestion) {
  fs::path deep = folder_;
  while (deep.string().size() < MAX_PATH - 13) {  // with "\LONGPATH.lst" at least MAX_PATH bytes
    deep /= std::string(std::clamp<size_t>(MAX_PATH - 14 - deep.string().size(), 1, 40), 'd');
  }
  fs::create_directories(deep);
  const fs::path existing = deep / "LONGPATH.lst";
  std::ofstream(existing, std::ios::binary) << "old contents";
  std::string saved;
  const int result = Save(
      [&](HWND dialog) {
        SetControlText(dialog, kPathCombo, deep.string());
        Press(dialog, kSelectTypedPath);
        ASSERT_TRUE(Eventually([&] { return WindowText(GetDlgItem(dialog, kFolderEdit)) == deep.string(); }));
        Submit(dialog, "New", "LONGPATH");
        ExpectRefused(dialog, kMessage18, kTree);
        Press(dialog, IDCANCEL);
      },
      saved);
  EXPECT_EQ(result, 2);
  std::ifstream in(existing, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old contents");
  EXPECT_EQ(std::distance(fs::directory_iterator(deep), {}), 1);
}

// The new list is written in full before the old one can be replaced: when
// replacing fails after "Yes", the old file stays as it was and nothing else
// is left in the folder.
TEST_F(SaveDialogTest, AFailedOverwriteKeepsTheOldFileAndTheDialogStaysOpen) {
  // Another program holds one file open; the other is write-protected.
  const std::string busy = Write("BUSY.lst", "old contents");
  const std::string locked = Write("LOCKED.lst", "locked contents");
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  std::string saved;
  const int result = Save(
      [&](HWND dialog) {
        SelectTestFolder(dialog);
        for (const char *name : {"BUSY", "LOCKED"}) {
          Submit(dialog, "New", name);
          AnswerMessageBox(kToolkit, IDYES);  // overwrite
          ExpectRefused(dialog, kMessage18, kTree);
        }
        Press(dialog, IDCANCEL);
      },
      saved);
  CloseHandle(holder);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(saved, "");
  EXPECT_EQ(ReadAll(busy), "old contents");
  EXPECT_EQ(ReadAll(locked), "locked contents");
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"BUSY.lst", "LOCKED.lst"}));
}

// The host's cut titles are read in the system code page (1252 here) whatever
// C locale the host has set, and the library leaves that locale alone.
TEST_F(SaveDialogTest, CutTitlesAreReadInTheSystemCodePageAndTheHostsLocaleStays) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
  std::setlocale(LC_ALL, "C");
  std::string saved;
  const int result = Save(
      [&](HWND dialog) {
        SelectTestFolder(dialog);
        Submit(dialog, "Menu", "CAFE");
      },
      saved, {L"Caf\u00E9 \u20AC"});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ReadAll(Path("CAFE.lst")), "[LIST TITLE]\r\ntitle=Menu\r\n[Caf\xE9 \x80]\r\n");
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

TEST_F(SaveDialogTest, ASingleStringInsteadOfAnArrayShowsNothing) {
  VARIANT single;
  VariantInit(&single);
  single.vt = VT_BSTR;
  single.bstrVal = SysAllocString(L"Boats");
  char path[MAX_PATH] = "unchanged";
  int result = -1;
  bool sawWindow = true;
  {
    DialogDriver driver([] {});
    result = SaveListFile(&single, path);
    Sleep(200);
    sawWindow = driver.SawWindow();
  }
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(sawWindow);
  EXPECT_STREQ(path, "unchanged");
  VariantClear(&single);
}

}  // namespace
