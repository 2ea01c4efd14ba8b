// The property sheets opened as the "properties" command opens them: the
// chooser is given the full lists of camera items bound through the shell
// from a camsim card, and each sheet is read, clicked, applied and closed
// from a thread of the test. What the sheets write is checked on the camera
// (camsim's log and its kept attributes) and in the stored settings.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>

#include "camapi.h"
#include "core/connection_settings.h"
#include "items/camera_connection.h"
#include "items/module_state.h"
#include "message_box_watcher.h"
#include "resource_ids.h"
#include "sheet_driver.h"
#include "sheets/property_pages.h"
#include "sheets/property_sheets.h"
#include "shell_fixture.h"
#include "window_text.h"

namespace {

using camfolder::ShowProperties;

// The camera root: the junction alone, no camera item.
const std::vector<std::vector<std::string>> kCameraRoot = {std::vector<std::string>{}};

// A string of camfolder.dll filled like the sheets fill it.
std::string Formatted(unsigned id, ...) {
  const std::string format = CameraFolderString(id);
  char text[1024];
  va_list arguments;
  va_start(arguments, id);
  std::vsnprintf(text, sizeof text, format.c_str(), arguments);
  va_end(arguments);
  return text;
}

std::string Bytes(const char *grouped) { return grouped + CameraFolderString(IDS_SIZE_UNIT); }

std::string ShellTypeName(const wchar_t *name, DWORD attributes) {
  SHFILEINFOW info{};
  SHGetFileInfoW(name, attributes, &info, sizeof info, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
  return Utf8(info.szTypeName);
}

size_t Count(const std::string &text, const std::string &what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

std::string StoredSetting(const char *name) {
  char value[64] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection", name, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return "(none)";
  return value;
}

// What a drive read from a sheet, checked on the test's thread.
struct PageTexts {
  std::string caption;
  std::map<int, std::string> texts;
  std::map<int, LRESULT> checks;
  std::map<int, bool> enabled;
};

PageTexts Read(const Sheet &sheet, std::initializer_list<int> texts, std::initializer_list<int> boxes = {}) {
  PageTexts read;
  read.caption = sheet.Caption();
  for (const int id : texts) read.texts[id] = sheet.Text(id);
  for (const int id : boxes) {
    read.checks[id] = sheet.Check(id);
    read.enabled[id] = sheet.Enabled(id);
  }
  return read;
}

// Drive 0 reports more free space than capacity; drive 1 a quarter free.
// 0:/DCIM/100LUMO01 holds two pictures and SUB1 with a file and DEEP with
// another; 0:/SINGLE and 0:/MARK are changed by the attribute tests.
class PropertySheets : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
    module_ = LoadLibraryA("camfolder.dll");
    ASSERT_TRUE(module_);
    camfolder::SetModuleInstance(module_);
    ASSERT_TRUE(camfolder::CreateThreadSlots());
    card_ = new CameraCard;
    for (const char *folder : {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO01", "/d0/DCIM/100LUMO01/SUB1",
                               "/d0/DCIM/100LUMO01/SUB1/DEEP", "/d0/SINGLE", "/d0/SINGLE/SDIR", "/d0/MARK",
                               "/d0/MARK/FOLDER1", "/d1"})
      card_->MakeFolder(folder);
    card_->MakeFile("/d0/DCIM/100LUMO01/LUMO0001.JPG", Pattern(100000, 1));
    card_->MakeFile("/d0/DCIM/100LUMO01/LUMO0002.JPG", Pattern(3000, 2));
    card_->MakeFile("/d0/DCIM/100LUMO01/SUB1/A.TXT", Pattern(10, 3));
    card_->MakeFile("/d0/DCIM/100LUMO01/SUB1/DEEP/B.TXT", Pattern(20, 4));
    card_->MakeFile("/d0/SINGLE/S.JPG", Pattern(700, 5));
    card_->MakeFile("/d0/MARK/ONE.JPG", Pattern(800, 6));
    card_->MakeFile("/d0/MARK/TWO.JPG", Pattern(900, 7));
    card_->MakeFile("/d1/CF.TXT", "cf");
    camsim_ = new CamsimProcess;
    // An address of its own, apart from the other camera folder tests.
    address_ = "127.25.0.1";
    StartCamsim();
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
    owner_ = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }

  static void TearDownTestSuite() {
    if (owner_) DestroyWindow(owner_);
    camfolder::CloseThreadCamera();
    for (HWND host = nullptr; (host = FindWindowExA(nullptr, host, "ZL1_ZLtpProxyServer", nullptr));)
      PostMessageA(host, WM_CLOSE, 0, 0);
    delete camsim_;
    delete card_;
    ZlxSetConnectionInfo("LAN", "127.0.0.1");
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }

  static void StartCamsim() {
    std::string error;
    ASSERT_TRUE(camsim_->Start(address_, {"-v", "--drive", "0=" + card_->Unix("/d0"), "--drive",
                                          "1=" + card_->Unix("/d1"), "--capacity", "0=8000000", "--free",
                                          "0=9000000", "--capacity", "1=64000000", "--free", "1=16000000"},
                               error))
        << error;
  }

  void TearDown() override {
    // Each test leaves the stored settings as the suite needs them.
    ZlxSetConnectionInfo("LAN", address_.c_str());
    MSG message;
    while (PeekMessageA(&message, owner_, 0, 0, PM_REMOVE)) {
    }
  }

  // The full list of the object reached from the camera root through the
  // children with these names (in-folder names or parsing names).
  static unique_cotaskmem FullList(const std::vector<std::string> &names) {
    PIDLIST_ABSOLUTE root = nullptr;
    if (FAILED(SHParseDisplayName(kCameraRootName, nullptr, &root, 0, nullptr))) return unique_cotaskmem();
    unique_cotaskmem list(root);
    ComPtr<IShellFolder> folder = BindCameraRoot();
    for (size_t i = 0; i < names.size(); ++i) {
      const Child child = Find(folder.Get(), names[i]);
      if (!child.list) return unique_cotaskmem();
      list.reset(ILCombine(static_cast<PCIDLIST_ABSOLUTE>(list.get()), child.get()));
      if (i + 1 < names.size()) folder = BindChild(folder.Get(), child.get());
    }
    return list;
  }

  // Shows the properties of the objects while the drive works the sheet.
  static HRESULT Properties(const std::vector<std::vector<std::string>> &objects,
                            std::function<void(Sheet &)> drive, bool *changed = nullptr) {
    std::vector<unique_cotaskmem> lists;
    std::vector<PCIDLIST_ABSOLUTE> items;
    for (const auto &names : objects) {
      lists.push_back(FullList(names));
      items.push_back(static_cast<PCIDLIST_ABSOLUTE>(lists.back().get()));
      if (!items.back()) return E_UNEXPECTED;
    }
    SheetDriver driver(std::move(drive));
    const HRESULT hr = ShowProperties(owner_, items, changed);
    return driver.Seen() ? hr : E_ABORT;
  }

  // Whether the owner was told to read its folder again.
  static bool OwnerRefreshed() {
    MSG message{};
    bool refreshed = false;
    while (PeekMessageA(&message, owner_, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
      if (message.wParam == VK_F5 && message.lParam == 1) refreshed = true;
    return refreshed;
  }

  // The attributes camsim keeps for a folder ("/" at the end) or a file.
  static uint32_t CameraAttributes(const std::string &path) {
    HZLXCAMERA camera = nullptr;
    tagZLXDIRINFO folder{};
    tagZLXFILEINFO file{};
    if (FAILED(camfolder::GetCamera(camera))) return 0xFFFFFFFF;
    if (path.back() == '/') return ZlxSucceeded(ZlxGetDirectoryInfo(camera, path.c_str(), &folder)) ? folder.attributes : 0xFFFFFFFF;
    return ZlxSucceeded(ZlxGetFileInfo(camera, path.c_str(), &file)) ? file.attributes : 0xFFFFFFFF;
  }

  static inline HMODULE module_ = nullptr;
  static inline CameraCard *card_ = nullptr;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline std::string address_;
  static inline HWND owner_ = nullptr;
};

// Two drives: a page each, named after its drive. Drive 0 reports more free
// space than it holds: no space is used, rather than almost 4 GB.
TEST_F(PropertySheets, DrivesShowTheirSpaceAsNumbersAndSizes) {
  PageTexts internal, cf;
  std::string firstTab, secondTab;
  int pages = 0;
  bool changed = true;
  const std::initializer_list<int> texts = {IDC_ITEM_TYPE,  IDC_DRIVE_LABEL, IDC_FILE_SYSTEM,    IDC_USED_BYTES,
                                            IDC_USED_SIZE,  IDC_FREE_BYTES,  IDC_FREE_SIZE,      IDC_CAPACITY_BYTES,
                                            IDC_CAPACITY_SIZE};
  ASSERT_EQ(Properties({{"0:/"}, {"1:/"}},
                       [&](Sheet &sheet) {
                         pages = sheet.PageCount();
                         firstTab = sheet.TabText(0);
                         secondTab = sheet.TabText(1);
                         internal = Read(sheet, texts);
                         sheet.Screenshot("drives");
                         sheet.SelectPage(1);
                         Sleep(200);
                         cf = Read(sheet, texts);
                         sheet.Screenshot("drive");
                         sheet.Ok();
                       },
                       &changed),
            S_OK);
  EXPECT_FALSE(changed);  // the pages change nothing
  EXPECT_FALSE(OwnerRefreshed());
  const std::string internalLabel = CameraFolderString(IDS_DRIVE_NAME) + " (0:)";
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(firstTab, internalLabel);
  EXPECT_EQ(secondTab, "CF (1:)");
  EXPECT_NE(internal.caption.find(Formatted(IDS_AND_MORE, internalLabel.c_str())), std::string::npos);
  EXPECT_EQ(internal.texts[IDC_ITEM_TYPE], CameraFolderString(IDS_DRIVE_NAME));
  EXPECT_EQ(internal.texts[IDC_USED_BYTES], Bytes("0"));
  EXPECT_EQ(internal.texts[IDC_USED_SIZE], "0" + CameraFolderString(IDS_SIZE_UNIT));
  EXPECT_EQ(internal.texts[IDC_FREE_SIZE], "8.58MB");
  EXPECT_EQ(cf.texts[IDC_ITEM_TYPE], "CF");
  EXPECT_EQ(cf.texts[IDC_DRIVE_LABEL], "CF (1:)");
  EXPECT_EQ(cf.texts[IDC_FILE_SYSTEM], "");
  EXPECT_EQ(cf.texts[IDC_USED_BYTES], Bytes("48,000,000"));
  EXPECT_EQ(cf.texts[IDC_USED_SIZE], "45.7MB");
  EXPECT_EQ(cf.texts[IDC_FREE_BYTES], Bytes("16,000,000"));
  EXPECT_EQ(cf.texts[IDC_FREE_SIZE], "15.2MB");
  EXPECT_EQ(cf.texts[IDC_CAPACITY_BYTES], Bytes("64,000,000"));
  EXPECT_EQ(cf.texts[IDC_CAPACITY_SIZE], "61.0MB");
  // The stored texts read as stored whatever the system's code page; the
  // caption's words around the name are the system's own.
  EXPECT_EQ(internal.texts[IDC_ITEM_TYPE], "内蔵メモリ");
  EXPECT_EQ(cf.texts[IDC_USED_BYTES], "48,000,000 バイト");
  if (JapaneseSystem()) {
    EXPECT_EQ(internal.caption, "内蔵メモリ (0:), ...のプロパティ");
  }
}

TEST_F(PropertySheets, AFolderCountsItsWholeTree) {
  PageTexts page;
  HICON icon = nullptr;
  ASSERT_EQ(Properties({{"0:/", "DCIM/", "100LUMO01/"}},
                       [&](Sheet &sheet) {
                         page = Read(sheet,
                                     {IDC_ITEM_NAME, IDC_ITEM_SHORT_NAME, IDC_ITEM_TYPE, IDC_ITEM_LOCATION,
                                      IDC_ITEM_SIZE, IDC_ITEM_COUNTS, IDC_ITEM_DATE},
                                     {IDC_READ_ONLY, IDC_HIDDEN, IDC_ARCHIVE, IDC_SYSTEM});
                         icon = reinterpret_cast<HICON>(SendMessageA(sheet.Control(IDC_ITEM_ICON), STM_GETICON, 0, 0));
                         sheet.Screenshot("folder");
                         sheet.Ok();
                       }),
            S_OK);
  EXPECT_NE(page.caption.find("100LUMO01"), std::string::npos) << page.caption;
  EXPECT_EQ(page.texts[IDC_ITEM_NAME], "100LUMO01");
  EXPECT_EQ(page.texts[IDC_ITEM_SHORT_NAME], "100LUMO01");
  EXPECT_EQ(page.texts[IDC_ITEM_LOCATION], "0:/DCIM/");
  EXPECT_EQ(page.texts[IDC_ITEM_TYPE], ShellTypeName(L"100LUMO01", FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_NE(icon, nullptr);
  // Two pictures, SUB1's file and DEEP's: 100000 + 3000 + 10 + 20 bytes.
  EXPECT_EQ(page.texts[IDC_ITEM_SIZE], Formatted(IDS_SIZE_LINE, "100KB", "103,030"));
  EXPECT_EQ(page.texts[IDC_ITEM_COUNTS], Formatted(IDS_COUNTS_LINE, "4", "2"));
  EXPECT_NE(page.texts[IDC_ITEM_DATE], CameraFolderString(IDS_UNKNOWN));
  EXPECT_EQ(page.checks[IDC_READ_ONLY], BST_UNCHECKED);
  EXPECT_EQ(page.checks[IDC_ARCHIVE], BST_UNCHECKED);
  EXPECT_TRUE(page.enabled[IDC_READ_ONLY] && page.enabled[IDC_ARCHIVE]);
  EXPECT_FALSE(page.enabled[IDC_HIDDEN] || page.enabled[IDC_SYSTEM]);
  EXPECT_EQ(page.texts[IDC_ITEM_SIZE], "100KB (103,030 バイト)");
  EXPECT_EQ(page.texts[IDC_ITEM_COUNTS], "ファイル数 : 4、 フォルダ数 : 2");
  if (JapaneseSystem()) {
    EXPECT_NE(page.texts[IDC_ITEM_DATE].find("年"), std::string::npos) << page.texts[IDC_ITEM_DATE];
  }
}

TEST_F(PropertySheets, AFileShowsItsOneTime) {
  PageTexts page;
  ASSERT_EQ(Properties({{"0:/", "DCIM/", "100LUMO01/", "LUMO0002.JPG"}},
                       [&](Sheet &sheet) {
                         page = Read(sheet,
                                     {IDC_ITEM_NAME, IDC_ITEM_TYPE, IDC_ITEM_LOCATION, IDC_ITEM_SIZE, IDC_ITEM_DATE,
                                      IDC_ITEM_MODIFIED, IDC_ITEM_ACCESSED},
                                     {IDC_READ_ONLY, IDC_HIDDEN, IDC_ARCHIVE, IDC_SYSTEM});
                         sheet.Screenshot("file");
                         sheet.Cancel();
                       }),
            S_OK);
  EXPECT_NE(page.caption.find("LUMO0002.JPG"), std::string::npos) << page.caption;
  EXPECT_EQ(page.texts[IDC_ITEM_NAME], "LUMO0002.JPG");
  EXPECT_EQ(page.texts[IDC_ITEM_LOCATION], "0:/DCIM/100LUMO01/");
  EXPECT_EQ(page.texts[IDC_ITEM_TYPE], ShellTypeName(L"LUMO0002.JPG", 0));
  EXPECT_EQ(page.texts[IDC_ITEM_SIZE], Formatted(IDS_SIZE_LINE, "2.92KB", "3,000"));
  // The camera keeps one time: created and accessed are unknown.
  EXPECT_EQ(page.texts[IDC_ITEM_DATE], CameraFolderString(IDS_UNKNOWN));
  EXPECT_EQ(page.texts[IDC_ITEM_ACCESSED], CameraFolderString(IDS_UNKNOWN));
  EXPECT_NE(page.texts[IDC_ITEM_MODIFIED], CameraFolderString(IDS_UNKNOWN));
  EXPECT_EQ(page.checks[IDC_ARCHIVE], BST_CHECKED);  // camsim's files carry the archive bit
  EXPECT_EQ(page.checks[IDC_READ_ONLY], BST_UNCHECKED);
  EXPECT_FALSE(page.enabled[IDC_HIDDEN] || page.enabled[IDC_SYSTEM]);
  EXPECT_EQ(page.texts[IDC_ITEM_DATE], "(不明)");
}

TEST_F(PropertySheets, OneFolderAndTwoPicturesTogether) {
  PageTexts page;
  ASSERT_EQ(Properties({{"0:/", "DCIM/", "100LUMO01/", "SUB1/"},
                        {"0:/", "DCIM/", "100LUMO01/", "LUMO0001.JPG"},
                        {"0:/", "DCIM/", "100LUMO01/", "LUMO0002.JPG"}},
                       [&](Sheet &sheet) {
                         page = Read(sheet, {IDC_ITEM_TYPE, IDC_ITEM_LOCATION, IDC_ITEM_SIZE, IDC_ITEM_COUNTS},
                                     {IDC_READ_ONLY, IDC_ARCHIVE});
                         sheet.Screenshot("several");
                         sheet.Cancel();
                       }),
            S_OK);
  EXPECT_NE(page.caption.find(Formatted(IDS_AND_MORE, "SUB1")), std::string::npos) << page.caption;
  EXPECT_EQ(page.texts[IDC_ITEM_TYPE], CameraFolderString(IDS_SEVERAL_TYPES));
  EXPECT_EQ(page.texts[IDC_ITEM_LOCATION], Formatted(IDS_ALL_OF, "0:/DCIM/100LUMO01/"));
  // The two pictures and SUB1 with its tree: A.TXT and DEEP with B.TXT.
  EXPECT_EQ(page.texts[IDC_ITEM_COUNTS], Formatted(IDS_COUNTS_LINE, "4", "2"));
  EXPECT_EQ(page.texts[IDC_ITEM_SIZE], Formatted(IDS_SIZE_LINE, "100KB", "103,030"));
  EXPECT_EQ(page.checks[IDC_ARCHIVE], BST_INDETERMINATE);  // the files have it, the folder not
  EXPECT_EQ(page.checks[IDC_READ_ONLY], BST_UNCHECKED);
  EXPECT_EQ(page.texts[IDC_ITEM_TYPE], "複数の種類");
  EXPECT_EQ(page.texts[IDC_ITEM_LOCATION], "すべて 0:/DCIM/100LUMO01/");
}

// A click marks the page changed; OK writes the boxes to the camera and the
// owner is told to refresh. Without a click nothing is written.
TEST_F(PropertySheets, AttributeChangesOfOneItemAreWritten) {
  const size_t before = Count(camsim_->Log(), " attribute ");
  bool changed = true;
  ASSERT_EQ(Properties({{"0:/", "SINGLE/", "S.JPG"}}, [](Sheet &sheet) { sheet.Ok(); }, &changed), S_OK);
  EXPECT_FALSE(changed);
  EXPECT_FALSE(OwnerRefreshed());
  EXPECT_EQ(Count(camsim_->Log(), " attribute "), before);

  bool applyBefore = true, applyAfter = false;
  ASSERT_EQ(Properties({{"0:/", "SINGLE/", "S.JPG"}},
                       [&](Sheet &sheet) {
                         applyBefore = sheet.ApplyEnabled();
                         sheet.Click(IDC_READ_ONLY);
                         applyAfter = sheet.ApplyEnabled();
                         sheet.Ok();
                       },
                       &changed),
            S_OK);
  EXPECT_FALSE(applyBefore);
  EXPECT_TRUE(applyAfter);
  EXPECT_TRUE(changed);
  EXPECT_TRUE(OwnerRefreshed());
  EXPECT_NE(camsim_->Log().find("0:/SINGLE/S.JPG attribute 33 "), std::string::npos);  // read-only + archive
  EXPECT_EQ(CameraAttributes("0:/SINGLE/S.JPG"), 0x21u);

  // A folder through the folder call: archive applied, then cleared again
  // by a second click before OK.
  std::string applied;
  ASSERT_EQ(Properties({{"0:/", "SINGLE/", "SDIR/"}},
                       [&](Sheet &sheet) {
                         sheet.Click(IDC_ARCHIVE);
                         PropSheet_Apply(sheet.Window());
                         applied = camsim_->Log();
                         sheet.Click(IDC_ARCHIVE);
                         sheet.Ok();
                       }),
            S_OK);
  EXPECT_NE(applied.find("0:/SINGLE/SDIR/ attribute 32 "), std::string::npos);
  EXPECT_NE(camsim_->Log().find("0:/SINGLE/SDIR/ attribute 0 "), std::string::npos);
  EXPECT_EQ(CameraAttributes("0:/SINGLE/SDIR/"), 0x10u);
}

// Three items, one of them read-only: the read-only box is indeterminate,
// and a change of another box leaves every item's read-only bit as it was.
TEST_F(PropertySheets, AnIndeterminateBoxKeepsEachItemsBit) {
  HZLXCAMERA camera = nullptr;
  ASSERT_EQ(camfolder::GetCamera(camera), S_OK);
  ASSERT_EQ(ZlxSetFileAttribute(camera, "0:/MARK/ONE.JPG", 0x21), 0u);
  const std::vector<std::vector<std::string>> items = {
      {"0:/", "MARK/", "FOLDER1/"}, {"0:/", "MARK/", "ONE.JPG"}, {"0:/", "MARK/", "TWO.JPG"}};
  std::vector<LRESULT> states;
  bool changed = false;
  ASSERT_EQ(Properties(items,
                       [&](Sheet &sheet) {
                         states.push_back(sheet.Check(IDC_READ_ONLY));
                         sheet.Click(IDC_HIDDEN);
                         states.push_back(sheet.Check(IDC_HIDDEN));
                         sheet.Screenshot("several-changed");
                         sheet.Ok();
                       },
                       &changed),
            S_OK);
  EXPECT_EQ(states, (std::vector<LRESULT>{BST_INDETERMINATE, BST_CHECKED}));
  EXPECT_TRUE(changed);
  EXPECT_TRUE(OwnerRefreshed());
  // Hidden added everywhere; read-only and archive kept item by item.
  EXPECT_EQ(CameraAttributes("0:/MARK/FOLDER1/"), 0x12u);
  EXPECT_EQ(CameraAttributes("0:/MARK/ONE.JPG"), 0x23u);
  EXPECT_EQ(CameraAttributes("0:/MARK/TWO.JPG"), 0x22u);

  // A click takes the indeterminate box to checked, the next to unchecked;
  // it never goes back to indeterminate.
  states.clear();
  ASSERT_EQ(Properties(items,
                       [&](Sheet &sheet) {
                         for (int click = 0; click < 2; ++click) {
                           sheet.Click(IDC_READ_ONLY);
                           states.push_back(sheet.Check(IDC_READ_ONLY));
                         }
                         sheet.Ok();
                       }),
            S_OK);
  EXPECT_EQ(states, (std::vector<LRESULT>{BST_CHECKED, BST_UNCHECKED}));
  EXPECT_EQ(CameraAttributes("0:/MARK/ONE.JPG"), 0x22u);
  EXPECT_EQ(CameraAttributes("0:/MARK/TWO.JPG"), 0x22u);
}

// The camera root: the connection page. USB and the COM ports take the
// loopback address and grey it; LAN gives it back to the user; OK stores
// what the camera API reads, Cancel nothing.
TEST_F(PropertySheets, TheConnectionPageStoresDeviceAndAddress) {
  struct Seen {
    std::string caption;
    LRESULT device = -1;
    DWORD address = 0;
    bool enabled = false;
  };
  const auto look = [](Sheet &sheet) {
    Seen seen{sheet.Caption(), SendMessageA(sheet.Control(IDC_DEVICE), CB_GETCURSEL, 0, 0)};
    SendMessageA(sheet.Control(IDC_ADDRESS), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&seen.address));
    seen.enabled = sheet.Enabled(IDC_ADDRESS);
    return seen;
  };
  Seen lan, usb, lanAgain, com3;
  bool changed = false;
  ASSERT_EQ(Properties(kCameraRoot,
                       [&](Sheet &sheet) {
                         lan = look(sheet);
                         sheet.Screenshot("connection");
                         sheet.Choose(IDC_DEVICE, 0);
                         usb = look(sheet);
                         sheet.Screenshot("connection-usb");
                         sheet.Choose(IDC_DEVICE, 1);
                         lanAgain = look(sheet);
                         SendMessageA(sheet.Control(IDC_ADDRESS), IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 1, 2, 3));
                         sheet.Ok();
                       },
                       &changed),
            S_OK);
  EXPECT_NE(lan.caption.find(CameraFolderString(IDS_CAMERA_NAME)), std::string::npos) << lan.caption;
  EXPECT_EQ(lan.device, 1);
  EXPECT_EQ(FormatIpAddress(lan.address), address_);
  EXPECT_TRUE(lan.enabled);
  EXPECT_EQ(usb.device, 0);
  EXPECT_EQ(usb.address, 0x7F000001u);
  EXPECT_FALSE(usb.enabled);
  EXPECT_EQ(lanAgain.address, 0x7F000001u);
  EXPECT_TRUE(lanAgain.enabled);
  EXPECT_TRUE(changed);
  EXPECT_TRUE(OwnerRefreshed());
  EXPECT_EQ(StoredSetting("Device"), "LAN");
  EXPECT_EQ(StoredSetting("IPAddress"), "10.1.2.3");
  if (JapaneseSystem()) {
    EXPECT_EQ(lan.caption, "Lumoのプロパティ");
  }

  ASSERT_EQ(Properties(kCameraRoot,
                       [&](Sheet &sheet) {
                         sheet.Choose(IDC_DEVICE, 4);
                         com3 = look(sheet);
                         sheet.Ok();
                       }),
            S_OK);
  EXPECT_FALSE(com3.enabled);
  EXPECT_EQ(StoredSetting("Device"), "COM3");
  EXPECT_EQ(StoredSetting("IPAddress"), "127.0.0.1");
  EXPECT_EQ(camfolder::CurrentSettings().device, 4);

  ASSERT_EQ(Properties(kCameraRoot,
                       [&](Sheet &sheet) {
                         sheet.Choose(IDC_DEVICE, 0);
                         sheet.Cancel();
                       },
                       &changed),
            S_OK);
  EXPECT_FALSE(changed);
  EXPECT_EQ(StoredSetting("Device"), "COM3");
}

// Older shells have no IP address control: the page reads the address the
// user types, and keeps the sheet open on one no address can hold.
TEST_F(PropertySheets, TheAddressTypedIntoAPlainField) {
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", "10.20.3.4"), 0u);
  std::string shown;
  bool openAfterBadAddress = false;
  bool changed = false;
  SheetDriver driver([&](Sheet &sheet) {
    shown = sheet.Text(IDC_ADDRESS);
    sheet.Screenshot("connection-edit");
    sheet.SetText(IDC_ADDRESS, "192.168.1.300");
    sheet.Ok();
    Sleep(500);
    openAfterBadAddress = IsWindowVisible(sheet.Window()) != FALSE;
    sheet.SetText(IDC_ADDRESS, " 192 . 168 . 1 ");
    sheet.Ok();
  });
  EXPECT_GT(camfolder::ShowConnectionSheet(owner_, camfolder::AddressField::kPlainEdit, changed), 0);
  ASSERT_TRUE(driver.Seen());
  EXPECT_EQ(shown, "10  .  20  .  3   .  4  ");
  EXPECT_TRUE(openAfterBadAddress);
  EXPECT_TRUE(changed);
  EXPECT_EQ(StoredSetting("IPAddress"), "192.168.1.0");
}

// The page as the junction's extension hands it to the shell's own sheet.
TEST_F(PropertySheets, TheConnectionPageInAnotherSheet) {
  bool changed = false;
  HPROPSHEETPAGE pages[] = {camfolder::CreateConnectionPage(camfolder::AddressField::kIpControl, &changed).release()};
  ASSERT_TRUE(pages[0]);
  PROPSHEETHEADERA sheet{sizeof sheet};
  sheet.hwndParent = owner_;
  sheet.pszCaption = "Shell";
  sheet.nPages = 1;
  sheet.phpage = pages;
  std::string tab;
  SheetDriver driver([&](Sheet &shown) {
    tab = shown.TabText(0);
    shown.Choose(IDC_DEVICE, 0);
    shown.Ok();
  });
  PropertySheetA(&sheet);
  ASSERT_TRUE(driver.Seen());
  EXPECT_TRUE(changed);
  EXPECT_EQ(StoredSetting("Device"), "USB");
  EXPECT_EQ(tab, "接続設定");  // the page's own title, whatever the sheet's character set
}

TEST_F(PropertySheets, ItemsOfOtherKindsAreRefused) {
  EXPECT_EQ(ShowProperties(owner_, {}), E_INVALIDARG);
  // A camera item of another version, and the camera root among others.
  const unique_cotaskmem file = FullList({"0:/", "DCIM/", "100LUMO01/", "LUMO0002.JPG"});
  ASSERT_TRUE(file);
  const auto *bytes = static_cast<const uint8_t *>(file.get());
  std::vector<uint8_t> other(bytes, bytes + ILGetSize(static_cast<PCIDLIST_ABSOLUTE>(file.get())));
  other[other.size() - 2 - 556 + 2] = 1;  // the last item's version
  const unique_cotaskmem otherList = TaskCopy(other);
  PCIDLIST_ABSOLUTE one[] = {static_cast<PCIDLIST_ABSOLUTE>(otherList.get())};
  EXPECT_EQ(ShowProperties(owner_, one), E_INVALIDARG);
  const unique_cotaskmem root = FullList({});
  PCIDLIST_ABSOLUTE mixed[] = {static_cast<PCIDLIST_ABSOLUTE>(file.get()), static_cast<PCIDLIST_ABSOLUTE>(root.get())};
  EXPECT_EQ(ShowProperties(owner_, mixed), E_INVALIDARG);
  EXPECT_FALSE(FindSheet());
}

// Last: a camera failure while gathering ends the command before any sheet
// opens.
TEST_F(PropertySheets, ACameraFailureOpensNoSheet) {
  const unique_cotaskmem folder = FullList({"0:/", "DCIM/", "100LUMO01/"});
  ASSERT_TRUE(folder);
  camsim_->Stop();
  PCIDLIST_ABSOLUTE items[] = {static_cast<PCIDLIST_ABSOLUTE>(folder.get())};
  MessageBoxWatcher box;
  EXPECT_EQ(ShowProperties(owner_, items), E_FAIL);
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), CameraFolderString(20002));
  EXPECT_FALSE(FindSheet());
  StartCamsim();
}

}  // namespace
