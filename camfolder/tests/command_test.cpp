// The camera folder's commands run against camsim, with every question,
// message and file dialog they show answered by the test: new folder,
// format, delete with the camera's protected entries, rename, saving and
// restoring the configuration, disconnect and properties.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "camapi.h"
#include "child_process.h"
#include "command_fixture.h"
#include "items/camera_connection.h"
#include "items/module_strings.h"
#include "menus/context_menus.h"
#include "resource_ids.h"

namespace {

constexpr uint32_t kReadOnly = 0x01;

// A string of the camera folder's table formatted with one value, as the
// dialogs show it.
template <typename Value>
std::string Formatted(unsigned id, Value value) {
  char text[1024];
  std::snprintf(text, sizeof text, CameraFolderString(id).c_str(), value);
  return text;
}

std::string Message(unsigned id) { return CameraFolderString(id); }

size_t Count(const std::string &text, const std::string &what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// A dialog's caption as stored, whatever the system's code page.
void ExpectCaption(const DialogScript::Shown &shown, const char *utf8) { EXPECT_EQ(shown.caption, utf8); }

std::string LocalFolder() {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "lumo_command_test";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadLocal(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteLocal(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file name field of a common file dialog.
HWND FileNameField(HWND dialog) {
  for (const int id : {0x47C, 0x480}) {  // cmb13, edt1
    if (HWND field = GetDlgItem(dialog, id)) return field;
  }
  return nullptr;
}

// A file dialog answered with this file; what its name field first held is
// kept.
struct FileChoice {
  std::string path;  // in UTF-8
  std::string offered;
  std::function<void(HWND, size_t)> Action() {
    return [this](HWND dialog, size_t index) {
      if (index != 0) return;
      HWND field = FileNameField(dialog);
      if (!field) return;
      offered = WindowTextUtf8(field);
      SetWindowTextW(field, WideFromUtf8(path).c_str());
    };
  }
};

// The configuration the camera holds now.
std::string CameraConfiguration() {
  HZLXCAMERA camera = nullptr;
  if (camfolder::GetCamera(camera) != S_OK) return "(no camera)";
  tagZLXCONFIGDATA data{};
  tagZLXPROGRESSPARAM progress{};
  if (ZlxGetConfiguration(camera, &data, 0, &progress) != 0 || !data.data) return "(not read)";
  const unique_hglobal block(static_cast<HGLOBAL>(data.data));
  const global_lock bytes(block.get());
  return std::string(static_cast<const char *>(bytes.get()), data.length);
}

class CameraCommands : public CommandFixture {
 protected:
  static void SetUpTestSuite() {
    StartCamera("127.26.0.2", kConfiguration);
    // The camera folder's DLL opens the camera first, as in the shell; the
    // objects linked into the test join its link.
    Items({}, {"0:/"});
  }
  static void TearDownTestSuite() { StopCamera(); }
  void SetUp() override { OwnerRefreshed(); }

  static ComPtr<IContextMenu> FolderMenu(const std::vector<std::string> &path) {
    const unique_cotaskmem list = FolderList(path);
    ComPtr<IContextMenu> menu;
    camfolder::CreateFolderMenu(BindPath(root_, path).Get(), static_cast<PCIDLIST_ABSOLUTE>(list.get()),
                                IID_PPV_ARGS(&menu));
    return menu;
  }

  static inline const std::string kConfiguration{"K20\0\x01\x02 camera settings\xFF\x80", 22};
};

TEST_F(CameraCommands, NewFolderTakesTheFirstFreeNumber) {
  // From the folder's own menu: NEW00001 and NEW00003 leave NEW00002 free.
  EXPECT_EQ(Invoke(FolderMenu({"0:/", "NEWA/"}).Get(), IDM_NEW_FOLDER, owner_), S_OK);
  EXPECT_TRUE(CameraHas("/d0/NEWA/NEW00002"));
  EXPECT_FALSE(CameraHas("/d0/NEWA/NEW00004"));
  EXPECT_TRUE(OwnerRefreshed());
  // From an item's menu, in the item's folder: after NEW00001 and NEW00002.
  EXPECT_EQ(Invoke(ItemMenu({"0:/", "NEWB/"}, {"NEW00001"}).Get(), IDM_NEW_FOLDER, owner_), S_OK);
  EXPECT_TRUE(CameraHas("/d0/NEWB/NEW00003"));
  EXPECT_TRUE(OwnerRefreshed());

  // Numbers taken far above leave the lowest one free.
  card_->MakeFolder("/d0/NEWC");
  card_->MakeFolder("/d0/NEWC/NEW99999");
  card_->MakeFolder("/d0/NEWC/new00001");
  EXPECT_EQ(Invoke(FolderMenu({"0:/", "NEWC/"}).Get(), IDM_NEW_FOLDER, owner_), S_OK);
  EXPECT_TRUE(CameraHas("/d0/NEWC/NEW00002"));

  // Every number taken: the user is told, and nothing is made.
  card_->MakeFolder("/d0/FULL");
  RunShell("cd '" + card_->Unix("/d0/FULL") + "' && seq -f NEW%05g 1 99999 | xargs mkdir");
  DialogScript script({IDOK});
  EXPECT_EQ(Invoke(FolderMenu({"0:/", "FULL/"}).Get(), IDM_NEW_FOLDER, owner_), E_FAIL);
  const auto shown = script.Finish();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "これ以上ディレクトリを作成することができません。");
  EXPECT_FALSE(CameraHas("/d0/FULL/NEW100000"));
  RunShell("rm -rf '" + card_->Unix("/d0/FULL") + "'");
}

TEST_F(CameraCommands, FormatAsksAndRefusesTheInternalMemory) {
  const std::string label = camfolder::DriveLabel(1).value_or("?");
  const ComPtr<IContextMenu> card = ItemMenu({}, {"1:/"});
  {
    DialogScript script({IDCANCEL});
    EXPECT_EQ(Invoke(card.Get(), IDM_FORMAT, owner_), S_FALSE);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_FORMAT_QUESTION, label.c_str()));
    EXPECT_EQ(shown[0].caption, Formatted(IDS_FORMAT_CAPTION, label.c_str()));
    EXPECT_TRUE(CameraHas("/d1/CF.TXT"));
    EXPECT_FALSE(OwnerRefreshed());
  }
  {
    DialogScript script({IDOK});
    EXPECT_EQ(Invoke(card.Get(), IDM_FORMAT, owner_), S_OK);
    EXPECT_EQ(script.Finish().size(), 1u);
    EXPECT_FALSE(CameraHas("/d1/CF.TXT"));
    EXPECT_TRUE(OwnerRefreshed());
  }
  card_->MakeFile("/d1/CF.TXT", "cf");
  {
    // Drive 0 by its command number (the item is grayed in the menu): the
    // message, no question, nothing erased.
    DialogScript script({IDOK});
    EXPECT_EQ(Invoke(ItemMenu({}, {"0:/"}).Get(), IDM_FORMAT, owner_), E_INVALIDARG);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Message(20010));
    EXPECT_TRUE(CameraHas("/d0/MEMO.TXT"));
  }
}

TEST_F(CameraCommands, DeleteAsksAboutTheItemWithItsName) {
  card_->MakeFile("/d0/ASK.TXT", "ask");
  card_->MakeFolder("/d0/ASKF");
  card_->MakeFile("/d0/ASKF/IN.TXT", "in");
  {
    DialogScript script({IDNO});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ASK.TXT"}).Get(), IDM_DELETE, owner_), S_FALSE);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_DELETE_FOLDER + 2, "ASK.TXT"));
    ExpectCaption(shown[0], "ファイルの削除の確認");
    EXPECT_TRUE(CameraHas("/d0/ASK.TXT"));
  }
  {
    DialogScript script({IDCANCEL, IDYES});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ASKF", "ASK.TXT"}).Get(), IDM_DELETE, owner_), S_FALSE);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_DELETE_SEVERAL, 2));
    ExpectCaption(shown[0], "複数ファイルの削除の確認");
    EXPECT_TRUE(CameraHas("/d0/ASK.TXT"));
    EXPECT_TRUE(CameraHas("/d0/ASKF/IN.TXT"));
  }
  {
    DialogScript script({IDYES});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ASKF"}).Get(), IDM_DELETE, owner_), S_OK);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_DELETE_FOLDER, "ASKF"));
    ExpectCaption(shown[0], "フォルダの削除の確認");
    EXPECT_FALSE(CameraHas("/d0/ASKF"));
    EXPECT_TRUE(OwnerRefreshed());
  }
  {
    DialogScript script({IDYES});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ASK.TXT"}).Get(), IDM_DELETE, owner_), S_OK);
    EXPECT_EQ(script.Finish().size(), 1u);
    EXPECT_FALSE(CameraHas("/d0/ASK.TXT"));
  }
}

TEST_F(CameraCommands, DeleteMeetsReadOnlyEntries) {
  // One read-only file: asked once, with the read-only text, then erased.
  card_->MakeFile("/d0/RO.TXT", "read-only");
  SetCameraAttributes("0:/RO.TXT", kReadOnly);
  {
    DialogScript script({IDYES, IDYES});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"RO.TXT"}).Get(), IDM_DELETE, owner_), S_OK);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_DELETE_FOLDER + 3, "RO.TXT"));
    EXPECT_FALSE(CameraHas("/d0/RO.TXT"));
  }
  // Several items, a folder holding a read-only file: the question names
  // that file; no keeps the folder and the rest goes.
  card_->MakeFolder("/d0/ROF");
  card_->MakeFile("/d0/ROF/KEEP.TXT", "keep");
  card_->MakeFile("/d0/PLAIN.TXT", "plain");
  SetCameraAttributes("0:/ROF/KEEP.TXT", kReadOnly);
  {
    DialogScript script({IDYES, IDNO});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ROF", "PLAIN.TXT"}).Get(), IDM_DELETE, owner_), S_OK);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, Formatted(IDS_DELETE_SEVERAL, 2));
    EXPECT_EQ(shown[1].text, Formatted(IDS_DELETE_FOLDER + 1, "ROF/KEEP.TXT"));
    ExpectCaption(shown[1], "フォルダの削除の確認");
    EXPECT_TRUE(CameraHas("/d0/ROF/KEEP.TXT"));
    EXPECT_FALSE(CameraHas("/d0/PLAIN.TXT"));
  }
  // Yes to the same question erases the file and then the folder.
  {
    DialogScript script({IDYES});
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ROF"}).Get(), IDM_DELETE, owner_), S_OK);
    script.Finish();
    EXPECT_FALSE(CameraHas("/d0/ROF"));
  }
  // Several items: cancel keeps everything; "delete all" erases the
  // read-only entries too, without asking about each.
  card_->MakeFolder("/d0/ROA");
  card_->MakeFile("/d0/ROA/KEEP.TXT", "keep");
  card_->MakeFile("/d0/RO2.TXT", "read-only");
  SetCameraAttributes("0:/ROA/KEEP.TXT", kReadOnly);
  SetCameraAttributes("0:/RO2.TXT", kReadOnly);
  for (const int answer : {IDCANCEL, IDC_DELETE_ALL}) {
    DialogScript script({answer}, [](HWND dialog, size_t) { ScreenshotForReview(dialog, "delete-several"); });
    EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ROA", "RO2.TXT"}).Get(), IDM_DELETE, owner_),
              answer == IDCANCEL ? S_FALSE : S_OK);
    EXPECT_EQ(script.Finish().size(), 1u);
    EXPECT_EQ(CameraHas("/d0/ROA/KEEP.TXT"), answer == IDCANCEL);
    EXPECT_EQ(CameraHas("/d0/RO2.TXT"), answer == IDCANCEL);
  }
}

// A read-only entry is cleared right before its erase and gets its bit back
// when that erase fails: here the entry turns into a folder while the user
// is asked about it, so the camera cannot erase it as a file.
TEST_F(CameraCommands, DeleteSetsBackTheBitOfWhatStays) {
  card_->MakeFolder("/d0/ROT");
  card_->MakeFile("/d0/ROT/KEEP.TXT", "keep");
  card_->MakeFile("/d0/OTHER.TXT", "other");
  SetCameraAttributes("0:/ROT/KEEP.TXT", kReadOnly);
  DialogScript script({IDYES, IDYES, IDOK}, [](HWND, size_t index) {
    if (index == 1) RunShell("rm '" + card_->Unix("/d0/ROT/KEEP.TXT") + "' && mkdir '" +
                             card_->Unix("/d0/ROT/KEEP.TXT") + "'");
  });
  EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"ROT", "OTHER.TXT"}).Get(), IDM_DELETE, owner_), E_UNEXPECTED);
  const auto shown = script.Finish();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1].text, Formatted(IDS_DELETE_FOLDER + 1, "ROT/KEEP.TXT"));
  EXPECT_EQ(shown[2].text, Message(20007));
  EXPECT_EQ(CameraAttributes("0:/ROT/KEEP.TXT/") & kReadOnly, kReadOnly);
  EXPECT_TRUE(CameraHas("/d0/OTHER.TXT"));
}

// A program on the camera runs on the PC when opened: never without asking.
TEST_F(CameraCommands, OpeningAProgramAsksFirst) {
  card_->MakeFile("/d0/RUN.EXE", "MZ not really");
  const size_t fetches = Count(camsim_->Log(), "op A0000000");
  DialogScript script({IDNO}, [](HWND dialog, size_t) { ScreenshotForReview(dialog, "open-program"); });
  EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"RUN.EXE"}).Get(), IDM_OPEN_FILE, owner_), S_OK);
  const auto shown = script.Finish();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, Formatted(20025, "RUN.EXE"));
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), fetches);
}

TEST_F(CameraCommands, DeleteStopsAtAFailureAndSaysSo) {
  card_->MakeFolder("/d0/FAIL");
  for (const char *name : {"A.TXT", "B.TXT", "C.TXT"}) card_->MakeFile(std::string("/d0/FAIL/") + name, name);
  const ComPtr<IContextMenu> menu = ItemMenu({"0:/", "FAIL/"}, {"A.TXT", "B.TXT", "C.TXT"});
  // B.TXT goes away while the question is open: its erase fails.
  DialogScript script({IDYES}, [](HWND, size_t index) {
    if (index == 0) DeleteFileA(card_->Windows("/d0/FAIL/B.TXT").c_str());
  });
  EXPECT_EQ(Invoke(menu.Get(), IDM_DELETE, owner_), E_UNEXPECTED);
  const auto shown = script.Finish();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, Message(20007));
  EXPECT_FALSE(CameraHas("/d0/FAIL/A.TXT"));
  EXPECT_TRUE(CameraHas("/d0/FAIL/C.TXT"));
  // What did go is shown gone.
  EXPECT_TRUE(OwnerRefreshed());
}

TEST_F(CameraCommands, SaveAndRestoreTheConfiguration) {
  const std::string folder = LocalFolder();
  const std::string saved = folder + "\\saved.bak";
  DeleteFileA(saved.c_str());
  // Another shell thread joins the open link; the name still follows the
  // model the camera reported.
  OnShellThread([] { Enumerate(BindPath(BindCameraRoot().Get(), {"0:/"}).Get()); });
  {
    FileChoice choice{saved, ""};
    DialogScript script({IDOK}, choice.Action());
    EXPECT_EQ(Invoke(ItemMenu({}, {"0:/"}).Get(), IDM_SAVE_CONFIG, owner_), S_OK);
    script.Finish();
    EXPECT_EQ(choice.offered, Message(IDS_CONFIG_FILE_K20));
    EXPECT_EQ(choice.offered, "LumoK20.bak");
    EXPECT_EQ(ReadLocal(saved), kConfiguration);
  }
  {
    // Closing the dialog saves nothing.
    const std::string unchosen = folder + "\\unchosen.bak";
    DeleteFileA(unchosen.c_str());
    FileChoice choice{unchosen, ""};
    DialogScript script({IDCANCEL}, choice.Action());
    EXPECT_EQ(Invoke(FolderMenu({}).Get(), IDM_SAVE_CONFIG, owner_), S_FALSE);
    script.Finish();
    EXPECT_EQ(GetFileAttributesA(unchosen.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  {
    // A name with a character the system's code page cannot hold is refused,
    // never written under a name with a stand-in for it.
    const std::string korean = folder + "\\\xED\x95\x9C.bak";  // U+D55C
    FileChoice choice{korean, ""};
    DialogScript script({IDOK, IDOK}, choice.Action());
    EXPECT_EQ(Invoke(FolderMenu({}).Get(), IDM_SAVE_CONFIG, owner_), E_FAIL);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "不正な名前です。");
    EXPECT_EQ(GetFileAttributesW(WideFromUtf8(korean).c_str()), INVALID_FILE_ATTRIBUTES);
  }

  // Another configuration goes to the camera byte for byte, and the saved
  // one brings the first back.
  const std::string other = folder + "\\other.bak";
  const std::string otherBytes("K20\0other\0\xFE settings", 20);
  WriteLocal(other, otherBytes);
  for (const auto &[path, bytes] : {std::pair{other, otherBytes}, std::pair{saved, kConfiguration}}) {
    FileChoice choice{path, ""};
    DialogScript script({IDOK}, choice.Action());
    EXPECT_EQ(Invoke(ItemMenu({}, {"0:/"}).Get(), IDM_RESTORE_CONFIG, owner_), S_OK);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, Message(IDS_RESTORE_TITLE));
    EXPECT_EQ(CameraConfiguration(), bytes);
  }

  // Files that are no configuration are refused before anything is sent.
  const std::string foreign = folder + "\\picture.bak";
  for (const std::string &bytes : {std::string("GIF89a\x01\x00", 8), std::string("K20", 3), std::string("K2")}) {
    WriteLocal(foreign, bytes);
    FileChoice choice{foreign, ""};
    DialogScript script({IDOK, IDOK}, choice.Action());
    EXPECT_EQ(Invoke(FolderMenu({}).Get(), IDM_RESTORE_CONFIG, owner_), E_FAIL);
    const auto shown = script.Finish();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, Message(20022));
    EXPECT_EQ(CameraConfiguration(), kConfiguration);
  }
}

TEST_F(CameraCommands, RenameDisconnectAndProperties) {
  // Rename hands the F2 key to the window with the focus (the view).
  const unique_hwnd focus(CreateWindowA("STATIC", "focus", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr));
  SetForegroundWindow(focus.get());
  SetFocus(focus.get());
  EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"MEMO.TXT"}).Get(), IDM_RENAME, owner_), S_OK);
  bool f2 = false;
  MSG message{};
  for (int i = 0; i < 40 && !f2; ++i) {
    while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
      if (message.wParam == VK_F2) f2 = true;
    if (!f2) Sleep(25);
  }
  EXPECT_TRUE(f2);
  EXPECT_TRUE(CameraHas("/d0/MEMO.TXT"));

  // After a disconnect the next command reaches the camera again.
  EXPECT_EQ(InvokeVerb(ItemMenu({}, {"0:/"}).Get(), "disconnect", owner_), S_OK);
  card_->MakeFolder("/d0/AGAIN");
  EXPECT_EQ(Invoke(ItemMenu({"0:/"}, {"AGAIN"}).Get(), IDM_NEW_FOLDER, owner_), S_OK);
  EXPECT_TRUE(CameraHas("/d0/NEW00001"));

  // The drive's sheet opens and closes with Cancel.
  DialogScript script({IDCANCEL});
  EXPECT_TRUE(SUCCEEDED(InvokeVerb(ItemMenu({}, {"1:/"}).Get(), "properties", owner_)));
  EXPECT_EQ(script.Finish().size(), 1u);
}

// Disconnecting in the shell ends the link that the camera's other clients
// share: a program in the middle of a transfer is told so and ends; neither
// it nor the shell waits forever, and both reach the camera again after.
TEST_F(CameraCommands, DisconnectWhileAnotherProgramTransfers) {
  constexpr int kFiles = 1500;
  card_->MakeFolder("/d0/BUSY");
  for (int i = 0; i < kFiles; ++i)
    card_->MakeFile("/d0/BUSY/F" + std::to_string(10000 + i) + ".BIN", Pattern(20000, static_cast<uint8_t>(i)));
  const std::string target = card_->Windows("/busy-copy");  // beside the card's drives
  ChildProcess transfer("camctl.exe --address 127.26.0.2 get 0:/BUSY/ \"" + target + "\"");
  const auto arrived = [&] {
    WIN32_FIND_DATAA found;
    const unique_find search(FindFirstFileA((target + "\\*.BIN").c_str(), &found));
    int count = 0;
    if (search) do ++count; while (FindNextFileA(search.get(), &found));
    return count;
  };
  for (int i = 0; i < 400 && arrived() < 20; ++i) Sleep(50);
  ASSERT_GE(arrived(), 20);

  EXPECT_EQ(InvokeVerb(ItemMenu({}, {"0:/"}).Get(), "disconnect", owner_), S_OK);
  const DWORD ended = transfer.Wait(120000);
  EXPECT_NE(ended, STILL_ACTIVE) << "the other program still waits";
  EXPECT_LT(arrived(), kFiles) << "the transfer went on after the disconnect";

  EXPECT_EQ(RunProgram("camctl.exe --address 127.26.0.2 ls 0:/BUSY/F10000.BIN"), 0u);
  EXPECT_EQ(Invoke(FolderMenu({"0:/", "BUSY/"}).Get(), IDM_NEW_FOLDER, owner_), S_OK);
  EXPECT_TRUE(CameraHas("/d0/BUSY/NEW00001"));
  RunShell("rm -rf '" + card_->Unix("/d0/BUSY") + "' '" + card_->Unix("/busy-copy") + "'");
}

// A K10 names its backup after itself.
class K10Commands : public CommandFixture {
 protected:
  static void SetUpTestSuite() {
    StartCamera("127.26.0.3", std::string("K10\0k10", 7), {"--model", "2"});
    Items({}, {"0:/"});
  }
  static void TearDownTestSuite() { StopCamera(); }
};

TEST_F(K10Commands, SaveOffersTheK10Name) {
  const std::string saved = LocalFolder() + "\\k10.bak";
  DeleteFileA(saved.c_str());
  FileChoice choice{saved, ""};
  DialogScript script({IDOK}, choice.Action());
  EXPECT_EQ(Invoke(ItemMenu({}, {"0:/"}).Get(), IDM_SAVE_CONFIG, owner_), S_OK);
  script.Finish();
  EXPECT_EQ(choice.offered, "LumoK10.bak");
  EXPECT_EQ(ReadLocal(saved), std::string("K10\0k10", 7));
}

}  // namespace
