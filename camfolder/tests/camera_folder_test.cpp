// The camera folder through COM as the shell uses it: registered with
// camreg, bound from its parsing name under My Computer, enumerating a
// camsim card, naming, comparing, renaming, and what happens when the
// camera goes away.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "camapi.h"
#include "core/camera_item.h"
#include "message_box_watcher.h"
#include "shell_fixture.h"
#include "unix_paths.h"

namespace {

constexpr SHCONTF kBoth = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
constexpr CLSID kFolderClass = {0x5B7C0E21, 0x4A93, 0x4D6B, {0x8F, 0x12, 0x3C, 0x9A, 0x7E, 0x4D, 0x2B, 0x60}};
constexpr CLSID kExtensionClass = {0x9E3A6F14, 0x2C58, 0x47B1, {0xA0, 0xD9, 0x6B, 0x1E, 0x8C, 0x7F, 0x3A, 0x25}};
constexpr size_t kPictureSize = 100000;

short CompareOrder(HRESULT hr) { return static_cast<short>(HRESULT_CODE(hr)); }

size_t Count(const std::string &text, const std::string &what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

std::vector<std::string> Names(const std::vector<Child> &children) {
  std::vector<std::string> names;
  for (const Child &child : children) names.push_back(child.name);
  return names;
}

// Drive 0: DCIM/100LUMO01 with two pictures, a file to rename and a folder
// without sub-folders; EMPTY; MEMO.TXT. Drive 1: files only. Drive 2 absent.
class CameraFolder : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
    card_ = new CameraCard;
    for (const char *folder : {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO01", "/d0/DCIM/100LUMO01/SUB1", "/d0/EMPTY", "/d1"})
      card_->MakeFolder(folder);
    card_->MakeFile("/d0/DCIM/100LUMO01/LUMO0001.JPG", Pattern(kPictureSize, 1));
    card_->MakeFile("/d0/DCIM/100LUMO01/LUMO0002.JPG", Pattern(3000, 2));
    card_->MakeFile("/d0/DCIM/100LUMO01/RENAME.JPG", Pattern(10, 3));
    card_->MakeFile("/d0/MEMO.TXT", "memo");
    card_->MakeFolder("/d0/DCIM/SWAP");
    card_->MakeFile("/d0/DCIM/SWAP/X1.JPG", Pattern(500, 11));
    card_->MakeFile("/d0/DCIM/SWAP/X2.JPG", Pattern(600, 12));
    card_->MakeFile("/d1/ONLY.TXT", "only");
    camsim_ = new CamsimProcess;
    address_ = CamsimProcess::NextAddress();
    StartCamsim();
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
    // Left from an earlier session: the first use empties the working folder.
    CreateDirectoryA(LocalWorkingFolder().c_str(), nullptr);
    CreateDirectoryA((LocalWorkingFolder() + "\\STALE").c_str(), nullptr);
    WriteFileBytes(LocalWorkingFolder() + "\\STALE\\OLD.JPG", "old");
    SetFileAttributesA((LocalWorkingFolder() + "\\STALE\\OLD.JPG").c_str(), FILE_ATTRIBUTE_READONLY);
    // The part of another process that still uses the working folder.
    CreateDirectoryA(HeldPart().c_str(), nullptr);
    WriteFileBytes(HeldPart() + "\\OPENED.JPG", "in use");
    held_ = new unique_file(CreateFileA((HeldPart() + "\\in-use.lock").c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0, nullptr));
    root_ = BindCameraRoot().Detach();
    ASSERT_TRUE(root_) << "the shell did not bind the camera root";
  }

  static void TearDownTestSuite() {
    if (root_) root_->Release();
    root_ = nullptr;
    CloseLinkHosts();
    delete camsim_;
    delete card_;
    delete held_;
    for (const char *file : {"\\OPENED.JPG", "\\in-use.lock"}) DeleteFileA((HeldPart() + file).c_str());
    RemoveDirectoryA(HeldPart().c_str());
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }

  static std::string HeldPart() { return LocalWorkingFolder() + "\\P4000000000-0"; }

  static void StartCamsim() {
    std::string error;
    ASSERT_TRUE(camsim_->Start(address_, {"-v", "--drive", "0=" + card_->Unix("/d0"), "--drive",
                                          "1=" + card_->Unix("/d1"), "--capacity", "1=64000000"},
                               error))
        << error;
  }

  using CanUnloadNow = HRESULT(WINAPI *)();
  using GetClassObject = HRESULT(WINAPI *)(REFCLSID, REFIID, void **);
  template <typename Function>
  static Function Export(const char *name) {
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("camfolder.dll"), name)));
  }

  static ComPtr<IShellFolder> Pictures() { return BindPath(root_, {"0:/", "DCIM/", "100LUMO01/"}); }

  static inline CameraCard *card_ = nullptr;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline std::string address_;
  static inline IShellFolder *root_ = nullptr;
  static inline unique_file *held_ = nullptr;
};

// The Japanese run compares the texts themselves: it must really be one.
TEST_F(CameraFolder, AJapaneseRunHasTheJapaneseCodePage) {
  const char *language = std::getenv("LANG");
  if (language && std::strncmp(language, "ja", 2) == 0) {
    EXPECT_TRUE(JapaneseSystem());
  }
}

TEST_F(CameraFolder, RootListsThePresentDrivesWithTheirLabels) {
  const std::vector<Child> drives = Enumerate(root_);
  ASSERT_EQ(drives.size(), 2u);  // drive 2 is absent
  EXPECT_EQ(NameOf(root_, drives[0].get(), SHGDN_FORPARSING), "0:/");
  EXPECT_EQ(NameOf(root_, drives[1].get(), SHGDN_FORPARSING), "1:/");
  EXPECT_EQ(NameOf(root_, drives[1].get(), SHGDN_NORMAL), "CF (1:)");
  // A name in the shell's ANSI calls: the stored label in the system's code page.
  EXPECT_EQ(NameOf(root_, drives[0].get(), SHGDN_NORMAL), Ansi("内蔵メモリ (0:)"));
  // The drive's item carries its capacity.
  CameraItem drive;
  std::memcpy(&drive, drives[1].get(), sizeof drive);
  EXPECT_EQ(drive.size, 64000000u);
  EXPECT_EQ(drive.kind, 1u);
  EXPECT_EQ(drive.attributes, 0x10u);
}

TEST_F(CameraFolder, FoldersFilesOrBoth) {
  const ComPtr<IShellFolder> drive = BindChild(root_, Enumerate(root_)[0].get());
  ASSERT_TRUE(drive);
  EXPECT_EQ(Names(Enumerate(drive.Get(), SHCONTF_FOLDERS)), (std::vector<std::string>{"DCIM", "EMPTY"}));
  EXPECT_EQ(Names(Enumerate(drive.Get(), SHCONTF_NONFOLDERS)), std::vector<std::string>{"MEMO.TXT"});
  EXPECT_EQ(Enumerate(drive.Get(), kBoth).size(), 3u);

  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  EXPECT_EQ(Names(Enumerate(pictures.Get(), SHCONTF_FOLDERS)), std::vector<std::string>{"SUB1"});
  const std::vector<Child> files = Enumerate(pictures.Get(), SHCONTF_NONFOLDERS);
  ASSERT_EQ(files.size(), 3u);
  CameraItem picture;
  std::memcpy(&picture, files[0].get(), sizeof picture);
  EXPECT_STREQ(picture.path, "0:/DCIM/100LUMO01/LUMO0001.JPG");
  EXPECT_EQ(picture.size, kPictureSize);
  EXPECT_EQ(picture.kind, 3u);
  EXPECT_GE(picture.time.year, 2020);
}

TEST_F(CameraFolder, EnumeratorsCountCopyAndStop) {
  const ComPtr<IShellFolder> empty = BindPath(root_, {"0:/", "EMPTY/"});
  ASSERT_TRUE(empty);
  ComPtr<IEnumIDList> none;
  ASSERT_EQ(empty->EnumObjects(nullptr, kBoth, &none), S_OK);
  PITEMID_CHILD item = nullptr;
  ULONG fetched = 7;
  EXPECT_EQ(none->Next(1, &item, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  ComPtr<IEnumIDList> copy;
  ASSERT_EQ(none->Clone(&copy), S_OK);
  EXPECT_EQ(copy->Next(1, &item, nullptr), S_FALSE);

  ComPtr<IEnumIDList> items;
  ASSERT_EQ(Pictures()->EnumObjects(nullptr, kBoth, &items), S_OK);
  // More asked for than there are: only the count is written, nothing past it.
  PITEMID_CHILD slots[8];
  for (auto &slot : slots) slot = reinterpret_cast<PITEMID_CHILD>(0x5A5A);
  EXPECT_EQ(items->Next(2, slots, nullptr), E_INVALIDARG);
  ASSERT_EQ(items->Next(6, slots, &fetched), S_OK);
  EXPECT_EQ(fetched, 4u);
  for (int i = 0; i < 4; ++i) EXPECT_NE(slots[i], nullptr);
  EXPECT_EQ(slots[4], nullptr);
  EXPECT_EQ(slots[5], nullptr);
  EXPECT_EQ(slots[6], reinterpret_cast<PITEMID_CHILD>(0x5A5A));
  EXPECT_EQ(slots[7], reinterpret_cast<PITEMID_CHILD>(0x5A5A));
  for (int i = 0; i < 4; ++i) CoTaskMemFree(slots[i]);
  EXPECT_EQ(items->Next(1, slots, nullptr), S_FALSE);
  // Skip and Reset move over the same block; a clone keeps the position.
  ASSERT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(3), S_OK);
  ComPtr<IEnumIDList> rest;
  ASSERT_EQ(items->Clone(&rest), S_OK);
  ASSERT_EQ(rest->Next(1, slots, nullptr), S_OK);
  const unique_cotaskmem last(slots[0]);
  EXPECT_EQ(NameOf(Pictures().Get(), slots[0], SHGDN_INFOLDER), "SUB1");
  EXPECT_EQ(items->Skip(5), S_FALSE);
  EXPECT_EQ(items->Next(1, slots, nullptr), S_FALSE);
}

TEST_F(CameraFolder, AttributesOfDrivesFoldersAndFiles) {
  const std::vector<Child> drives = Enumerate(root_);
  SFGAOF flags = SFGAO_CAPABILITYMASK | SFGAO_CONTENTSMASK | SFGAO_STORAGECAPMASK;
  PCUITEMID_CHILD drive0 = drives[0].get();
  ASSERT_EQ(root_->GetAttributesOf(1, &drive0, &flags), S_OK);
  EXPECT_EQ(flags, 0xA0000140u);
  flags = SFGAO_FOLDER;  // the folder answers its fixed set whatever is asked
  PCUITEMID_CHILD drive1 = drives[1].get();
  ASSERT_EQ(root_->GetAttributesOf(1, &drive1, &flags), S_OK);
  EXPECT_EQ(flags, 0x20000100u);  // no sub-folder on drive 1

  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child file = Find(pictures.Get(), "LUMO0001.JPG");
  const Child folder = Find(pictures.Get(), "SUB1");
  PCUITEMID_CHILD one = file.get();
  flags = 0xFFFFFFFF;
  ASSERT_EQ(pictures->GetAttributesOf(1, &one, &flags), S_OK);
  EXPECT_EQ(flags, 0x00000173u & 0x4FFFFEFFu);
  one = folder.get();
  flags = 0xFFFFFFFF;
  ASSERT_EQ(pictures->GetAttributesOf(1, &one, &flags), S_OK);
  EXPECT_EQ(flags, 0x20000173u);
  const ComPtr<IShellFolder> drive = BindChild(root_, drive0);
  const Child dcim = Find(drive.Get(), "DCIM");
  one = dcim.get();
  flags = 0xFFFFFFFF;
  ASSERT_EQ(drive->GetAttributesOf(1, &one, &flags), S_OK);
  EXPECT_EQ(flags, 0xA0000173u);

  // Copies handed out for a selection carry the transfer flag.
  std::vector<uint8_t> selected = ListBytes(file.get());
  selected[32] = 1;
  one = reinterpret_cast<PCUITEMID_CHILD>(selected.data());
  flags = 0xFFFFFFFF;
  ASSERT_EQ(pictures->GetAttributesOf(1, &one, &flags), S_OK);
  EXPECT_EQ(flags, 0x40000073u);
  PCUITEMID_CHILD both[] = {file.get(), folder.get()};
  flags = 0xFFFFFFFF;
  ASSERT_EQ(pictures->GetAttributesOf(2, both, &flags), S_OK);
  EXPECT_EQ(flags, 0x00000073u);
}

// A camera whose directory information fails: the drive keeps its
// attributes without sub-folders, after the message. Run on a thread of its
// own, which opens its own camera handle from the settings.
TEST_F(CameraFolder, DriveWhoseDirectoryInformationFails) {
  CamsimProcess faulty;
  std::string error;
  const std::string address = CamsimProcess::NextAddress();
  ASSERT_TRUE(faulty.Start(address, {"--drive", "0=" + card_->Unix("/d0"), "--fault", "status=12@81030000"}, error))
      << error;
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", address.c_str()), 0u);
  HRESULT hr = E_FAIL;
  SFGAOF flags = 0;
  MessageBoxWatcher box;
  OnShellThread([&] {
    const ComPtr<IShellFolder> root = BindCameraRoot();
    const std::vector<Child> drives = Enumerate(root.Get());
    if (drives.size() == 1) {
      PCUITEMID_CHILD drive = drives[0].get();
      flags = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
      hr = root->GetAttributesOf(1, &drive, &flags);
    }
  });
  ZlxSetConnectionInfo("LAN", address_.c_str());
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(flags, 0x20000100u);  // no sub-folders, and still an answer
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), "ドライブにアクセスできません。");
  EXPECT_EQ(box.Caption(), "Lumo エラー");
  CloseLinkHosts(address);
}

TEST_F(CameraFolder, WithoutConnectionSettingsTheUserIsSentToTheProperties) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection"), ERROR_SUCCESS);
  HRESULT hr = S_OK;
  MessageBoxWatcher box;
  OnShellThread([&] {
    const ComPtr<IShellFolder> root = BindCameraRoot();
    ComPtr<IEnumIDList> items;
    hr = root ? root->EnumObjects(nullptr, kBoth, &items) : E_FAIL;
  });
  ZlxSetConnectionInfo("LAN", address_.c_str());
  EXPECT_EQ(hr, E_UNEXPECTED);
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), "プロパティから接続設定を行ってください。");
}

TEST_F(CameraFolder, TheFirstUseEmptiedTheWorkingFolderOfWhatNoProcessUses) {
  EXPECT_NE(GetFileAttributesA(LocalWorkingFolder().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((LocalWorkingFolder() + "\\STALE").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileBytes(HeldPart() + "\\OPENED.JPG"), "in use");
}

TEST_F(CameraFolder, ClassObjects) {
  const auto getClassObject = Export<GetClassObject>("DllGetClassObject");
  ASSERT_TRUE(getClassObject);
  EXPECT_EQ(getClassObject(CLSID_ShellDesktop, IID_IClassFactory, nullptr), E_INVALIDARG);
  void *object = reinterpret_cast<void *>(1);
  EXPECT_EQ(getClassObject(CLSID_ShellDesktop, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);

  ComPtr<IClassFactory> folders;
  ASSERT_EQ(getClassObject(kFolderClass, IID_PPV_ARGS(&folders)), S_OK);
  ComPtr<IUnknown> outer;
  ASSERT_EQ(folders->CreateInstance(nullptr, IID_PPV_ARGS(&outer)), S_OK);
  EXPECT_EQ(folders->CreateInstance(outer.Get(), IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(folders->CreateInstance(nullptr, IID_IDropTarget, &object), E_NOINTERFACE);
  ComPtr<IPersistFolder> persist;
  ASSERT_EQ(folders->CreateInstance(nullptr, IID_PPV_ARGS(&persist)), S_OK);
  EXPECT_EQ(persist->Initialize(nullptr), E_INVALIDARG);

  // The root extension: the junction item's verbs and connection page.
  ComPtr<IClassFactory> extensions;
  ASSERT_EQ(getClassObject(kExtensionClass, IID_PPV_ARGS(&extensions)), S_OK);
  ComPtr<IShellExtInit> extension;
  EXPECT_EQ(extensions->CreateInstance(nullptr, IID_PPV_ARGS(&extension)), S_OK);
  EXPECT_EQ(extensions->CreateInstance(nullptr, IID_IDropTarget, &object), E_NOINTERFACE);
  EXPECT_EQ(extensions->CreateInstance(outer.Get(), IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(extensions->LockServer(TRUE), E_NOTIMPL);
}

TEST_F(CameraFolder, DisplayNamesOfEveryKindAndFlag) {
  const std::vector<Child> drives = Enumerate(root_);
  EXPECT_EQ(NameOf(root_, drives[1].get(), SHGDN_INFOLDER), "CF (1:)");
  EXPECT_EQ(NameOf(root_, drives[1].get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "1:/");
  const ComPtr<IShellFolder> drive = BindChild(root_, drives[0].get());
  const Child dcim = Find(drive.Get(), "DCIM");
  EXPECT_EQ(NameOf(drive.Get(), dcim.get(), SHGDN_NORMAL), "DCIM");
  EXPECT_EQ(NameOf(drive.Get(), dcim.get(), SHGDN_FORPARSING), "0:/DCIM/");
  EXPECT_EQ(NameOf(drive.Get(), dcim.get(), SHGDN_FORPARSING | SHGDN_INFOLDER), "DCIM/");

  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child file = Find(pictures.Get(), "LUMO0001.JPG");
  EXPECT_EQ(NameOf(pictures.Get(), file.get(), SHGDN_NORMAL), "0:/DCIM/100LUMO01/LUMO0001.JPG");
  EXPECT_EQ(NameOf(pictures.Get(), file.get(), SHGDN_INFOLDER), "LUMO0001.JPG");
  // In the folder the local path is only named; for parsing the file is
  // fetched once, then the local copy serves while it is as fetched.
  const std::string local = NameOf(pictures.Get(), file.get(), SHGDN_FORPARSING | SHGDN_INFOLDER);
  EXPECT_EQ(local.rfind(LocalWorkingFolder() + "\\", 0), 0u) << local;
  EXPECT_EQ(local.substr(local.rfind('\\')), "\\LUMO0001.JPG");
  const size_t before = Count(camsim_->Log(), "op A0000000");
  EXPECT_EQ(NameOf(pictures.Get(), file.get(), SHGDN_FORPARSING), local);
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), before + 1);
  EXPECT_EQ(ReadFileBytes(local), Pattern(kPictureSize, 1));
  EXPECT_EQ(NameOf(pictures.Get(), file.get(), SHGDN_FORPARSING), local);
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), before + 1);
  // A copy changed since (a program saved over it) is no longer the camera's file.
  WriteFileBytes(local, "edited");
  EXPECT_EQ(NameOf(pictures.Get(), file.get(), SHGDN_FORPARSING), local);
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), before + 2);
  EXPECT_EQ(ReadFileBytes(local), Pattern(kPictureSize, 1));

  // Items of another version are refused.
  std::vector<uint8_t> other = ListBytes(file.get());
  other[2] = 1;
  STRRET name{};
  EXPECT_EQ(pictures->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(other.data()), SHGDN_NORMAL, &name),
            E_UNEXPECTED);
}

TEST_F(CameraFolder, CompareIdsLevelByLevel) {
  const std::vector<Child> drives = Enumerate(root_);
  EXPECT_EQ(root_->CompareIDs(1, drives[0].get(), drives[1].get()), E_NOTIMPL);
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, drives[0].get(), drives[1].get())), -1);
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, drives[1].get(), drives[0].get())), 1);
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, drives[1].get(), drives[1].get())), 0);

  // Two-level lists below the root: the first level decides, then the second;
  // a list that is a prefix of the other sorts first.
  const ComPtr<IShellFolder> drive = BindChild(root_, drives[0].get());
  const Child dcim = Find(drive.Get(), "DCIM");
  const unique_cotaskmem deep(ILCombine(reinterpret_cast<PCIDLIST_ABSOLUTE>(drives[0].get()), dcim.get()));
  const auto *deepList = static_cast<PCUIDLIST_RELATIVE>(deep.get());
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, deepList, drives[0].get())), 1);
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, drives[0].get(), deepList)), -1);
  EXPECT_EQ(CompareOrder(root_->CompareIDs(0, deepList, drives[1].get())), -1);

  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child first = Find(pictures.Get(), "LUMO0001.JPG");
  const Child second = Find(pictures.Get(), "LUMO0002.JPG");
  const Child sub = Find(pictures.Get(), "SUB1");
  EXPECT_EQ(pictures->CompareIDs(0x10000000, first.get(), second.get()), E_NOTIMPL);
  EXPECT_EQ(CompareOrder(pictures->CompareIDs(0, first.get(), second.get())), -1);
  EXPECT_EQ(CompareOrder(pictures->CompareIDs(0, sub.get(), first.get())), 1);
}

TEST_F(CameraFolder, RenameChecksTheNameAndRefreshesTheOwner) {
  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child file = Find(pictures.Get(), "RENAME.JPG");
  const Child folder = Find(pictures.Get(), "SUB1");
  const size_t renames = Count(camsim_->Log(), "op 8201") + Count(camsim_->Log(), "op 8104");
  for (const auto &[child, name] : {std::pair{file.get(), L"ABCDEFGHI.JPG"}, std::pair{folder.get(), L"ABCDEFGHI"}}) {
    MessageBoxWatcher box;
    EXPECT_EQ(pictures->SetNameOf(nullptr, child, name, SHGDN_NORMAL, nullptr), E_FAIL);
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(box.Text(), "不正な名前です。");
  }
  // Another case of the same name asks nothing of the camera.
  PITEMID_CHILD renamed = reinterpret_cast<PITEMID_CHILD>(1);
  EXPECT_EQ(pictures->SetNameOf(nullptr, file.get(), L"rename.jpg", SHGDN_NORMAL, &renamed), S_OK);
  EXPECT_EQ(renamed, nullptr);
  EXPECT_EQ(Count(camsim_->Log(), "op 8201") + Count(camsim_->Log(), "op 8104"), renames);

  const unique_hwnd owner(CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  ASSERT_EQ(pictures->SetNameOf(owner.get(), file.get(), L"NEWNAME.JPG", SHGDN_NORMAL, nullptr), S_OK);
  EXPECT_EQ(ReadFileBytes(card_->Windows("/d0/DCIM/100LUMO01/NEWNAME.JPG")), Pattern(10, 3));
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, owner.get(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(message.wParam, static_cast<WPARAM>(VK_F5));
  EXPECT_EQ(message.lParam, 1);
}

// A local copy stands for the camera file it was fetched from: once that file
// is renamed, another file given its name is fetched anew.
TEST_F(CameraFolder, ARenamedFileIsFetchedAgainUnderItsName) {
  const ComPtr<IShellFolder> swap = BindPath(root_, {"0:/", "DCIM/", "SWAP/"});
  ASSERT_TRUE(swap);
  const std::string local = NameOf(swap.Get(), Find(swap.Get(), "X1.JPG").get(), SHGDN_FORPARSING);
  EXPECT_EQ(ReadFileBytes(local), Pattern(500, 11));
  ASSERT_EQ(swap->SetNameOf(nullptr, Find(swap.Get(), "X1.JPG").get(), L"X3.JPG", SHGDN_NORMAL, nullptr), S_OK);
  ASSERT_EQ(swap->SetNameOf(nullptr, Find(swap.Get(), "X2.JPG").get(), L"X1.JPG", SHGDN_NORMAL, nullptr), S_OK);
  EXPECT_EQ(NameOf(swap.Get(), Find(swap.Get(), "X1.JPG").get(), SHGDN_FORPARSING), local);
  EXPECT_EQ(ReadFileBytes(local), Pattern(600, 12));
}

TEST_F(CameraFolder, IconsOfDrivesFoldersAndFiles) {
  const std::vector<Child> drives = Enumerate(root_);
  PCUITEMID_CHILD drive = drives[0].get();
  ComPtr<IExtractIconW> wide;
  ASSERT_EQ(root_->GetUIObjectOf(nullptr, 1, &drive, IID_IExtractIconW, nullptr, &wide), S_OK);
  wchar_t location[MAX_PATH];
  int index = 0;
  UINT flags = 77;
  ASSERT_EQ(wide->GetIconLocation(0, location, MAX_PATH, &index, &flags), S_OK);
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(GetModuleHandleA("camfolder.dll"), module, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(location, module), 0);
  EXPECT_EQ(index, -9);  // icon resource 9
  EXPECT_EQ(flags, 0u);
  EXPECT_NE(ExtractIconW(nullptr, location, index), nullptr);

  // Folders and files take the shell's icon for their kind of name, the
  // open folder for GIL_OPENICON.
  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child folder = Find(pictures.Get(), "SUB1");
  PCUITEMID_CHILD item = folder.get();
  ComPtr<IExtractIconA> narrow;
  ASSERT_EQ(pictures->GetUIObjectOf(nullptr, 1, &item, IID_IExtractIconA, nullptr, &narrow), S_OK);
  for (UINT gil : {0u, static_cast<UINT>(GIL_OPENICON)}) {
    SHFILEINFOA shell{};
    ASSERT_NE(SHGetFileInfoA("SUB1", FILE_ATTRIBUTE_DIRECTORY, &shell, sizeof shell,
                             SHGFI_USEFILEATTRIBUTES | SHGFI_ICONLOCATION | (gil ? SHGFI_OPENICON : 0)),
              0u);
    char folderLocation[MAX_PATH];
    ASSERT_EQ(narrow->GetIconLocation(gil, folderLocation, MAX_PATH, &index, &flags), S_OK);
    EXPECT_STREQ(folderLocation, shell.szDisplayName);
    EXPECT_EQ(index, shell.iIcon);
  }
  HICON large = nullptr, small = nullptr;
  EXPECT_EQ(narrow->Extract("", 0, &large, &small, MAKELONG(32, 16)), S_OK);
  EXPECT_NE(large, nullptr);
  EXPECT_NE(small, nullptr);
  if (large) DestroyIcon(large);
  if (small) DestroyIcon(small);

  // One item only.
  PCUITEMID_CHILD two[] = {drives[0].get(), drives[1].get()};
  void *object = reinterpret_cast<void *>(1);
  EXPECT_EQ(root_->GetUIObjectOf(nullptr, 2, two, IID_IExtractIconW, nullptr, &object), E_INVALIDARG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(pictures->GetUIObjectOf(nullptr, 1, &item, IID_IQueryInfo, nullptr, &object), E_NOINTERFACE);
  ComPtr<IContextMenu> menu;
  EXPECT_EQ(pictures->GetUIObjectOf(nullptr, 1, &item, IID_IContextMenu, nullptr,
                                    reinterpret_cast<void **>(menu.GetAddressOf())),
            S_OK);
  EXPECT_EQ(pictures->GetUIObjectOf(nullptr, 0, &item, IID_IExtractIconW, nullptr, &object), E_INVALIDARG);
}

TEST_F(CameraFolder, ItemListsFromOutsideAreChecked) {
  const ComPtr<IShellFolder> pictures = Pictures();
  ASSERT_TRUE(pictures);
  const Child file = Find(pictures.Get(), "LUMO0002.JPG");
  const std::vector<uint8_t> good = ListBytes(file.get());
  STRRET name{};
  ComPtr<IShellFolder> bound;

  std::vector<uint8_t> longer = good;  // an item claiming 600 bytes
  longer.insert(longer.end() - 2, 44, 0);
  longer[0] = 600 & 0xFF;
  longer[1] = 600 >> 8;
  EXPECT_EQ(pictures->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(longer.data()), SHGDN_NORMAL, &name),
            E_INVALIDARG);
  std::vector<uint8_t> unterminated = good;
  std::memset(unterminated.data() + 296, 'P', 260);
  EXPECT_EQ(pictures->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(unterminated.data()), SHGDN_NORMAL, &name),
            E_INVALIDARG);

  // A second item whose length runs past the end of its task-memory block.
  std::vector<uint8_t> cut = good;
  cut.resize(556 + 4);
  cut[556] = 556 & 0xFF;
  cut[557] = 556 >> 8;
  const unique_cotaskmem past = TaskCopy(cut);
  EXPECT_EQ(pictures->BindToObject(static_cast<PCUIDLIST_RELATIVE>(past.get()), nullptr, IID_PPV_ARGS(&bound)),
            E_INVALIDARG);
  EXPECT_EQ(pictures->GetDisplayNameOf(static_cast<PCUITEMID_CHILD>(past.get()), SHGDN_NORMAL, &name), E_INVALIDARG);

  // A folder entry whose path would pass the camera's 127 characters is
  // refused before anything is asked of the camera.
  CameraItem deep;
  std::memcpy(&deep, good.data(), sizeof deep);
  deep.kind = 2;
  deep.attributes = 0x10;
  std::memset(deep.name, 'D', 120);
  deep.name[120] = 0;
  std::vector<uint8_t> deepList(sizeof deep + 2, 0);
  std::memcpy(deepList.data(), &deep, sizeof deep);
  const size_t listings = Count(camsim_->Log(), "op 81030000");
  PCUITEMID_CHILD item = reinterpret_cast<PCUITEMID_CHILD>(deepList.data());
  SFGAOF flags = SFGAO_HASSUBFOLDER;
  EXPECT_EQ(pictures->GetAttributesOf(1, &item, &flags), E_INVALIDARG);
  EXPECT_EQ(Count(camsim_->Log(), "op 81030000"), listings);

  EXPECT_EQ(pictures->CompareIDs(0, reinterpret_cast<PCUIDLIST_RELATIVE>(longer.data()), file.get()), E_INVALIDARG);
  ULONG eaten = 5;
  PIDLIST_RELATIVE parsed = reinterpret_cast<PIDLIST_RELATIVE>(1);
  EXPECT_EQ(pictures->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(L"A.JPG"), &eaten, &parsed, nullptr),
            E_NOTIMPL);
  EXPECT_EQ(parsed, nullptr);
  EXPECT_EQ(eaten, 0u);
}

TEST_F(CameraFolder, PersistenceAnswersTheClassAndTheList) {
  ComPtr<IPersistFolder2> persist;
  ASSERT_EQ(root_->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
  CLSID classId{};
  ASSERT_EQ(persist->GetClassID(&classId), S_OK);
  EXPECT_EQ(classId, kFolderClass);
  PIDLIST_ABSOLUTE list = nullptr;
  ASSERT_EQ(persist->GetCurFolder(&list), S_OK);
  const unique_cotaskmem owned(list);
  PIDLIST_ABSOLUTE parsed = nullptr;
  ASSERT_EQ(SHParseDisplayName(kCameraRootName, nullptr, &parsed, 0, nullptr), S_OK);
  const unique_cotaskmem parsedOwned(parsed);
  EXPECT_TRUE(ILIsEqual(list, parsed));
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(persist->QueryInterface(IID_PPV_ARGS(&unknown)), S_OK);
  ComPtr<IShellFolder> folder;
  ASSERT_EQ(persist->QueryInterface(IID_PPV_ARGS(&folder)), S_OK);
  EXPECT_EQ(unknown.Get(), static_cast<IUnknown *>(folder.Get()));  // IUnknown is the folder's table
  ComPtr<IShellView> view;
  EXPECT_EQ(root_->CreateViewObject(nullptr, IID_PPV_ARGS(&view)), S_OK);
  ComPtr<IDropTarget> target;
  EXPECT_EQ(root_->CreateViewObject(nullptr, IID_PPV_ARGS(&target)), E_NOINTERFACE);
}

// The camera goes away in the middle of a session: the user is told, the
// connection is closed, and the next request connects again.
TEST_F(CameraFolder, LostCameraIsReportedAndReconnected) {
  const ComPtr<IShellFolder> drive = BindChild(root_, Enumerate(root_)[0].get());
  ASSERT_EQ(Enumerate(drive.Get()).size(), 3u);
  camsim_->Stop();
  {
    MessageBoxWatcher box;
    ComPtr<IEnumIDList> items;
    EXPECT_EQ(drive->EnumObjects(nullptr, kBoth, &items), E_UNEXPECTED);
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(box.Text(), "カメラと接続されていません。\n接続を確認してください。");
  }
  StartCamsim();
  EXPECT_EQ(Enumerate(drive.Get()).size(), 3u);
  EXPECT_NE(camsim_->Log().find("link opened"), std::string::npos);
}

// Last: with every object released the module may unload, and it closes the
// camera first.
TEST_F(CameraFolder, UnloadClosesTheCamera) {
  ASSERT_EQ(Enumerate(root_).size(), 2u);
  const auto canUnload = Export<CanUnloadNow>("DllCanUnloadNow");
  const auto getClassObject = Export<GetClassObject>("DllGetClassObject");
  ASSERT_TRUE(canUnload && getClassObject);
  EXPECT_EQ(canUnload(), S_FALSE);  // the root is alive
  ComPtr<IClassFactory> folders;
  ASSERT_EQ(getClassObject(kFolderClass, IID_PPV_ARGS(&folders)), S_OK);
  ASSERT_EQ(folders->LockServer(TRUE), S_OK);
  folders.Reset();
  root_->Release();
  root_ = nullptr;
  EXPECT_EQ(canUnload(), S_FALSE);  // the lock holds the module
  ASSERT_EQ(getClassObject(kFolderClass, IID_PPV_ARGS(&folders)), S_OK);
  ASSERT_EQ(folders->LockServer(FALSE), S_OK);
  ASSERT_EQ(folders->LockServer(FALSE), S_OK);  // never below zero
  folders.Reset();
  EXPECT_EQ(camsim_->Log().find("link closed"), std::string::npos);
  EXPECT_EQ(canUnload(), S_OK);
  const DWORD start = GetTickCount();
  while (camsim_->Log().find("link closed") == std::string::npos && GetTickCount() - start < 10000) Sleep(50);
  EXPECT_NE(camsim_->Log().find("link closed"), std::string::npos);
}

}  // namespace
