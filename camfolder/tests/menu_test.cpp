// The camera folder's context menus built into host menus as the shell and
// the view build them, compared item by item (texts as stored, identifiers
// with the host's offset, default and grayed items), and the merge itself.
#include <shlwapi.h>

#include <cstring>

#include "command_fixture.h"
#include "items/module_state.h"
#include "menus/background_menu.h"
#include "menus/context_menus.h"
#include "menus/menu_merge.h"
#include "resource_ids.h"

namespace {

using camfolder::kMergeBitmaps;
using camfolder::kMergeReturnHighestId;
using camfolder::kMergeSubmenuIds;
using camfolder::kMergeWithSeparators;
using camfolder::MenuItemFields;

constexpr CLSID kExtensionClass = {0x9E3A6F14, 0x2C58, 0x47B1, {0xA0, 0xD9, 0x6B, 0x1E, 0x8C, 0x7F, 0x3A, 0x25}};

// The user's send-to folder of the test prefix.
std::string SendToFolder() {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_SENDTO | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// Empties the send-to folder, then makes the entries (folders).
void FillSendTo(const std::vector<std::string> &entries) {
  const std::string folder = SendToFolder();
  WIN32_FIND_DATAA found;
  const unique_find search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(path.c_str());
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search.get(), &found));
  }
  for (const std::string &entry : entries) CreateDirectoryA((folder + "\\" + entry).c_str(), nullptr);
}

// The send-to entries' names in the folder's own order.
std::vector<std::string> SendToOrder() {
  std::vector<std::string> names;
  ComPtr<IShellFolder> desktop, folder;
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &list))) return names;
  const unique_cotaskmem owned(list);
  SHGetDesktopFolder(&desktop);
  desktop->BindToObject(list, nullptr, IID_PPV_ARGS(&folder));
  for (const Child &child : Enumerate(folder.Get())) names.push_back(child.name);
  return names;
}

// A view of the test's own for the background menu.
class TestView : public camfolder::ViewCommands {
 public:
  UINT ViewMode() const override { return mode; }
  void SetViewMode(UINT value) override { mode = value; }
  void LineUp() override { ++linedUp; }
  void SortBy(int column) override { sortedBy = column; }
  UINT mode = 4;
  int linedUp = 0;
  int sortedBy = -1;
};

class CameraMenus : public CommandFixture {
 protected:
  static void SetUpTestSuite() { StartCamera("127.26.0.1", std::string("K20\0menus", 9)); }
  static void TearDownTestSuite() {
    FillSendTo({});
    StopCamera();
  }
};

TEST_F(CameraMenus, DrivesAtTheRoot) {
  const std::string drive =
      "17 開く(&O) default\n"
      "16 エクスプローラ(&E)\n"
      "-\n"
      "21 フォーマット(&M)...\n"
      "-\n"
      "15 プロパティ(&R)...\n";
  UINT used = 0;
  EXPECT_EQ(Built(ItemMenu({}, {"1:/"}).Get(), CMF_NORMAL, 100, 0x7FFF, &used), drive);
  EXPECT_EQ(used, 22u);  // identifiers 100 to 121
  // The internal memory cannot be formatted; with two drives there is no
  // format at all.
  EXPECT_EQ(Built(ItemMenu({}, {"0:/"}).Get(), CMF_NORMAL),
            "17 開く(&O) default\n16 エクスプローラ(&E)\n-\n21 フォーマット(&M)... grayed\n-\n15 プロパティ(&R)...\n");
  EXPECT_EQ(Built(ItemMenu({}, {"0:/", "1:/"}).Get(), CMF_NORMAL),
            "17 開く(&O) default\n16 エクスプローラ(&E)\n-\n15 プロパティ(&R)...\n");
}

TEST_F(CameraMenus, FoldersWithExploreRenameAndDefaults) {
  const ComPtr<IContextMenu> folder = ItemMenu({"0:/"}, {"DCIM"});
  EXPECT_EQ(Built(folder.Get(), CMF_EXPLORE | CMF_CANRENAME),
            "16 エクスプローラ(&E) default\n17 開く(&O)\n-\n22 削除(&D)\n23 名前の変更(&M)\n-\n15 プロパティ(&R)...\n");
  // Without a tree open comes first; rename only where the caller can rename.
  EXPECT_EQ(Built(folder.Get(), CMF_NORMAL),
            "17 開く(&O) default\n16 エクスプローラ(&E)\n-\n22 削除(&D)\n-\n15 プロパティ(&R)...\n");
  EXPECT_EQ(Built(folder.Get(), CMF_NODEFAULT | CMF_CANRENAME),
            "17 開く(&O)\n16 エクスプローラ(&E)\n-\n22 削除(&D)\n23 名前の変更(&M)\n-\n15 プロパティ(&R)...\n");
  UINT used = 0;
  EXPECT_EQ(Built(folder.Get(), CMF_DEFAULTONLY | CMF_EXPLORE, 100, 0x7FFF, &used), "16 エクスプローラ(&E) default\n");
  EXPECT_EQ(used, 17u);
  EXPECT_EQ(Built(folder.Get(), CMF_DEFAULTONLY | CMF_NODEFAULT), "");
}

TEST_F(CameraMenus, FilesSendToTheUsersSendToFolder) {
  FillSendTo({"Archive", "Backup"});
  const std::vector<std::string> order = SendToOrder();
  ASSERT_EQ(order.size(), 2u);
  const ComPtr<IContextMenu> file = ItemMenu({"0:/"}, {"MEMO.TXT"});
  UINT used = 0;
  EXPECT_EQ(Built(file.Get(), CMF_CANRENAME, 200, 0x7FFF, &used),
            "18 開く(&O) default\n-\n30 送る(&T)\n  31 " + order[0] + "\n  32 " + order[1] +
                "\n-\n22 削除(&D)\n23 名前の変更(&M)\n-\n15 プロパティ(&R)...\n");
  EXPECT_EQ(used, 33u);
  // Items beyond the host's last identifier are left out.
  EXPECT_EQ(Built(file.Get(), CMF_CANRENAME, 200, 231, &used),
            "18 開く(&O) default\n-\n30 送る(&T)\n  31 " + order[0] + "\n-\n22 削除(&D)\n23 名前の変更(&M)\n-\n15 プロパティ(&R)...\n");
  EXPECT_EQ(used, 32u);
  EXPECT_EQ(Built(file.Get(), CMF_NORMAL, 200, 220), "18 開く(&O) default\n-\n15 プロパティ(&R)...\n");

  FillSendTo({});
  EXPECT_EQ(Built(file.Get(), CMF_NORMAL), "18 開く(&O) default\n-\n30 送る(&T)\n  31 (なし) grayed\n-\n22 削除(&D)\n-\n15 プロパティ(&R)...\n");
}

TEST_F(CameraMenus, TheFolderTheSelectionAndTheBackgroundOfAView) {
  // The folder itself: the camera root, a drive, a folder.
  const auto folderMenu = [](const std::vector<std::string> &path) {
    const unique_cotaskmem list = FolderList(path);
    ComPtr<IContextMenu> menu;
    camfolder::CreateFolderMenu(BindPath(root_, path).Get(), static_cast<PCIDLIST_ABSOLUTE>(list.get()),
                                IID_PPV_ARGS(&menu));
    return menu;
  };
  EXPECT_EQ(Built(folderMenu({}).Get(), CMF_NORMAL),
            "13 設定情報の保存(&V)...\n14 設定情報の再登録(&T)...\n-\n15 Lumoプロパティ(&P)...\n25 切断(&D)\n-\n");
  EXPECT_EQ(Built(folderMenu({"0:/"}).Get(), CMF_NORMAL),
            "90 新規作成(&N)\n  20 フォルダ(&F)\n-\n21 フォーマット(&M)... grayed\n-\n");
  EXPECT_EQ(Built(folderMenu({"1:/"}).Get(), CMF_NORMAL), "90 新規作成(&N)\n  20 フォルダ(&F)\n-\n21 フォーマット(&M)...\n-\n");
  EXPECT_EQ(Built(folderMenu({"0:/", "DCIM/"}).Get(), CMF_NORMAL), "90 新規作成(&N)\n  20 フォルダ(&F)\n-\n");

  // A selection: its own items where menu 101 holds the placeholder.
  FillSendTo({});
  const unique_cotaskmem pictures = FolderList({"0:/", "DCIM/", "100LUMO01/"});
  const std::vector<Child> picture = Items({"0:/", "DCIM/", "100LUMO01/"}, {"LUMO0001.JPG"});
  PCUITEMID_CHILD item = picture[0].get();
  ComPtr<IContextMenu> combined;
  ASSERT_EQ(camfolder::CreateCombinedMenu(BindPath(root_, {"0:/", "DCIM/", "100LUMO01/"}).Get(),
                                          static_cast<PCIDLIST_ABSOLUTE>(pictures.get()), 1, &item,
                                          IID_PPV_ARGS(&combined)),
            S_OK);
  EXPECT_EQ(Built(combined.Get(), CMF_CANRENAME),
            "18 開く(&O) default\n-\n30 送る(&T)\n  31 (なし) grayed\n-\n22 削除(&D)\n23 名前の変更(&M)\n-\n"
            "15 プロパティ(&R)...\n-\n90 新規作成(&N)\n  20 フォルダ(&F)\n-\n");
  EXPECT_EQ(Built(combined.Get(), CMF_NORMAL),
            "18 開く(&O) default\n-\n30 送る(&T)\n  31 (なし) grayed\n-\n22 削除(&D)\n-\n"
            "15 プロパティ(&R)...\n-\n90 新規作成(&N)\n  20 フォルダ(&F)\n-\n");

  // The background: the view's mode checked, lining up only for icons.
  TestView view;
  ComPtr<IContextMenu> background;
  ASSERT_EQ(camfolder::CreateBackgroundMenu(static_cast<PCIDLIST_ABSOLUTE>(pictures.get()), view,
                                            IID_PPV_ARGS(&background)),
            S_OK);
  const std::string backgroundText =
      "> 表示(&V)\n  3 大きいアイコン(&G)\n  4 小さいアイコン(&M)\n  5 一覧(&L)\n  6 詳細(&D) checked\n-\n"
      "> アイコンの整列(&I)\n  9 名前順(&N)\n  11 種類順(&T)\n  10 サイズ順(&S)\n  12 日付順(&D)\n"
      "8 等間隔に整列(&U) grayed\n-\n90 新規作成(&N)\n  20 フォルダ(&F)\n-\n15 プロパティ(R)...\n";
  EXPECT_EQ(Built(background.Get(), CMF_NORMAL), backgroundText);
  view.mode = 1;
  const std::string icons = Built(background.Get(), CMF_NORMAL);
  EXPECT_NE(icons.find("  3 大きいアイコン(&G) checked\n"), std::string::npos) << icons;
  EXPECT_NE(icons.find("\n8 等間隔に整列(&U)\n"), std::string::npos) << icons;
  // Its commands act on the view.
  EXPECT_EQ(Invoke(background.Get(), IDM_SMALL_ICONS, owner_), S_OK);
  EXPECT_EQ(view.mode, 2u);
  EXPECT_EQ(Invoke(background.Get(), IDM_BY_DATE, owner_), S_OK);
  EXPECT_EQ(view.sortedBy, 3);
  EXPECT_EQ(Invoke(background.Get(), IDM_LINE_UP, owner_), S_OK);
  EXPECT_EQ(view.linedUp, 1);
  EXPECT_EQ(InvokeVerb(background.Get(), "delete", owner_), E_INVALIDARG);
}

TEST_F(CameraMenus, VerbsAndHelpTexts) {
  const ComPtr<IContextMenu> file = ItemMenu({"0:/"}, {"MEMO.TXT"});
  ASSERT_TRUE(file);
  char ansi[256] = "";
  wchar_t wide[256] = L"";
  EXPECT_EQ(file->GetCommandString(IDM_OPEN_FILE, GCS_VERBA, nullptr, ansi, sizeof ansi), S_OK);
  EXPECT_STREQ(ansi, "open");
  EXPECT_EQ(file->GetCommandString(IDM_NEW_FOLDER, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wide), 256), S_OK);
  EXPECT_STREQ(wide, L"NewFolder");
  EXPECT_EQ(file->GetCommandString(IDM_RESTORE_CONFIG, GCS_VERBA, nullptr, ansi, sizeof ansi), S_OK);
  EXPECT_STREQ(ansi, "SetConfig");
  EXPECT_EQ(file->GetCommandString(IDM_DELETE, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wide), 256), S_OK);
  EXPECT_EQ(Utf8(wide), "選択した項目を削除します。");
  EXPECT_EQ(file->GetCommandString(IDM_DISCONNECT, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi), S_OK);
  EXPECT_EQ(std::string(ansi), Ansi("カメラとの接続を切断します。"));  // in the system's code page
  // A short buffer gets what fits.
  EXPECT_EQ(file->GetCommandString(IDM_PROPERTIES, GCS_VERBA, nullptr, ansi, 5), S_OK);
  EXPECT_STREQ(ansi, "prop");
  EXPECT_EQ(file->GetCommandString(IDM_OPEN_FILE, GCS_VALIDATEA, nullptr, ansi, sizeof ansi), E_NOTIMPL);
  EXPECT_EQ(file->GetCommandString(IDM_NEW_FOLDER, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi), E_INVALIDARG);
  EXPECT_EQ(file->GetCommandString(IDM_EDIT_LABEL, GCS_VERBA, nullptr, ansi, sizeof ansi), E_INVALIDARG);
  EXPECT_EQ(file->GetCommandString(IDM_SEND_TO_FIRST, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi), E_INVALIDARG);
  // Only the verbs the menus take by name are taken: "rename" is named for
  // the shell, which starts the edit of the name in the view itself.
  EXPECT_EQ(file->GetCommandString(IDM_RENAME, GCS_VERBA, nullptr, ansi, sizeof ansi), S_OK);
  EXPECT_STREQ(ansi, "rename");
  EXPECT_EQ(InvokeVerb(file.Get(), "rename", owner_), E_INVALIDARG);
  EXPECT_EQ(InvokeVerb(file.Get(), "format", owner_), E_INVALIDARG);
  EXPECT_EQ(InvokeVerb(file.Get(), "open", owner_), E_INVALIDARG);
  EXPECT_EQ(Invoke(file.Get(), 99, owner_), E_INVALIDARG);
}

// The junction item in the shell's own folder, as the shell initialises it.
TEST_F(CameraMenus, TheJunctionItemThroughTheShellsDataObject) {
  LPITEMIDLIST computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  const unique_cotaskmem computerList(computer);
  PIDLIST_ABSOLUTE junction = nullptr;
  ASSERT_EQ(SHParseDisplayName(kCameraRootName, nullptr, &junction, 0, nullptr), S_OK);
  const unique_cotaskmem junctionList(junction);
  ComPtr<IShellFolder> desktop, myComputer;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  ASSERT_EQ(desktop->BindToObject(computer, nullptr, IID_PPV_ARGS(&myComputer)), S_OK);
  PCUITEMID_CHILD child = ILFindLastID(junction);
  ComPtr<IDataObject> data;
  ASSERT_EQ(myComputer->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, &data), S_OK);

  ComPtr<IShellExtInit> extension;
  ASSERT_EQ(CoCreateInstance(kExtensionClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&extension)), S_OK);
  EXPECT_EQ(extension->Initialize(computer, nullptr, nullptr), E_INVALIDARG);
  ASSERT_EQ(extension->Initialize(computer, data.Get(), nullptr), S_OK);
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(extension.As(&menu), S_OK);
  UINT used = 0;
  EXPECT_EQ(Built(menu.Get(), CMF_NORMAL, 300, 0x7FFF, &used),
            "13 設定情報の保存(&B)...\n14 設定情報の再登録(&S)...\n-\n15 Lumoプロパティ(&P)...\n25 切断(&D)\n-\n");
  EXPECT_EQ(used, 26u);
  EXPECT_EQ(Built(menu.Get(), CMF_DEFAULTONLY, 300), "");

  // The connection page for the shell's sheet of the junction.
  ComPtr<IShellPropSheetExt> sheet;
  ASSERT_EQ(extension.As(&sheet), S_OK);
  std::vector<HPROPSHEETPAGE> pages;
  const auto collect = [](HPROPSHEETPAGE page, LPARAM context) -> BOOL {
    reinterpret_cast<std::vector<HPROPSHEETPAGE> *>(context)->push_back(page);
    return TRUE;
  };
  EXPECT_EQ(sheet->AddPages(collect, reinterpret_cast<LPARAM>(&pages)), S_OK);
  ASSERT_EQ(pages.size(), 1u);
  DestroyPropertySheetPage(pages[0]);
  EXPECT_EQ(sheet->ReplacePage(0, collect, 0), E_NOTIMPL);

  ComPtr<IObjectWithSite> site;
  ASSERT_EQ(extension.As(&site), S_OK);
  ComPtr<IUnknown> found;
  EXPECT_EQ(site->GetSite(IID_PPV_ARGS(&found)), E_FAIL);
  EXPECT_EQ(site->SetSite(desktop.Get()), S_OK);
  ComPtr<IShellFolder> back;
  EXPECT_EQ(site->GetSite(IID_PPV_ARGS(&back)), S_OK);
  EXPECT_EQ(back.Get(), desktop.Get());
  EXPECT_EQ(site->SetSite(nullptr), S_OK);
}

// A data object of another program whose "Shell IDList Array" claims more
// than its block holds: the count is not taken from it.
class ClaimingDataObject : public IDataObject {
 public:
  STDMETHODIMP QueryInterface(REFIID id, void **object) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetData(FORMATETC *format, STGMEDIUM *medium) override {
    if (format->cfFormat != RegisterClipboardFormatA("Shell IDList Array")) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 12);
    medium->pUnkForRelease = nullptr;
    auto *words = static_cast<UINT *>(GlobalLock(medium->hGlobal));
    words[0] = 1000;  // items, with offsets far beyond the block
    words[1] = 8;
    words[2] = 0x7FFFFFF0;
    GlobalUnlock(medium->hGlobal);
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC *) override { return S_OK; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC *, FORMATETC *) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC **) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA **) override { return E_NOTIMPL; }
};

TEST_F(CameraMenus, AMalformedSelectionFromAnotherProgramIsRefused) {
  ComPtr<IShellExtInit> extension;
  ASSERT_EQ(CoCreateInstance(kExtensionClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&extension)), S_OK);
  ClaimingDataObject data;
  EXPECT_EQ(extension->Initialize(nullptr, &data, nullptr), E_INVALIDARG);
}

// A menu of the test's own to merge: items, separators, a popup, states.
unique_hmenu SourceMenu() {
  unique_hmenu source(CreatePopupMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 3, "Inner");
  AppendMenuA(popup, MF_STRING, 60, "Far");
  AppendMenuA(source.get(), MF_STRING, 1, "One");
  AppendMenuA(source.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(source.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(source.get(), MF_STRING | MF_GRAYED, 2, "Two");
  AppendMenuA(source.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Sub");
  AppendMenuA(source.get(), MF_STRING | MF_CHECKED, 40, "Forty");
  SetMenuDefaultItem(source.get(), 2, FALSE);
  return source;
}

unique_hmenu HostMenu() {
  unique_hmenu host(CreatePopupMenu());
  AppendMenuA(host.get(), MF_STRING, 7, "Host A");
  AppendMenuA(host.get(), MF_STRING, 8, "Host B");
  return host;
}

TEST_F(CameraMenus, MergingKeepsOrderOffsetsAndOneSeparatorAtATime) {
  const unique_hmenu source = SourceMenu();
  unique_hmenu host = HostMenu();
  // Offsets from 10; Forty (50) is past the last identifier 45; the doubled
  // separator is one.
  EXPECT_EQ(camfolder::MergeMenu(host.get(), 1, source.get(), 10, 45, 0), 4u);
  EXPECT_EQ(MenuText(host.get(), 0), "7 Host A\n11 One\n-\n12 Two default grayed\n> Sub\n  13 Inner\n8 Host B\n");
  // Framed by separators, the popup with an identifier of its own when it
  // has one; the highest identifier used + 1.
  host = HostMenu();
  HMENU numbered = CreatePopupMenu();
  AppendMenuA(numbered, MF_STRING, 5, "Numbered");
  const unique_hmenu withPopup(CreatePopupMenu());
  AppendMenuA(withPopup.get(), MF_STRING, 1, "One");
  InsertMenuA(withPopup.get(), 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(numbered), "Popup");
  MENUITEMINFOA id{};
  id.cbSize = sizeof id;
  id.fMask = MIIM_ID;
  id.wID = 30;
  SetMenuItemInfoA(withPopup.get(), 1, TRUE, &id);
  EXPECT_EQ(camfolder::MergeMenu(host.get(), 1, withPopup.get(), 100, 200,
                                 kMergeWithSeparators | kMergeSubmenuIds | kMergeReturnHighestId),
            131u);
  EXPECT_EQ(MenuText(host.get(), 0), "7 Host A\n-\n101 One\n130 Popup\n  105 Numbered\n-\n8 Host B\n");
  // Without the option the popup has no identifier, and at the end of the
  // host no separator follows.
  host = HostMenu();
  EXPECT_EQ(camfolder::MergeMenu(host.get(), 99, withPopup.get(), 100, 200, kMergeWithSeparators), 3u);
  EXPECT_EQ(MenuText(host.get(), 0), "7 Host A\n8 Host B\n-\n101 One\n> Popup\n  105 Numbered\n");
  // A block that meets a separator of the host adds none of its own.
  host = HostMenu();
  InsertMenuA(host.get(), 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  const unique_hmenu framed(CreatePopupMenu());
  AppendMenuA(framed.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(framed.get(), MF_STRING, 1, "One");
  AppendMenuA(framed.get(), MF_SEPARATOR, 0, nullptr);
  camfolder::MergeMenu(host.get(), 2, framed.get(), 0, 100, kMergeWithSeparators);
  EXPECT_EQ(MenuText(host.get(), 0), "7 Host A\n-\n1 One\n-\n8 Host B\n");
  host = HostMenu();
  InsertMenuA(host.get(), 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  camfolder::MergeMenu(host.get(), 1, framed.get(), 0, 100, kMergeWithSeparators);
  EXPECT_EQ(MenuText(host.get(), 0), "7 Host A\n-\n1 One\n-\n8 Host B\n");
  // Nothing fits: nothing inserted, the first identifier answered.
  host = HostMenu();
  EXPECT_EQ(camfolder::MergeMenu(host.get(), 0, withPopup.get(), 100, 100, kMergeReturnHighestId), 100u);
  EXPECT_EQ(GetMenuItemCount(host.get()), 2);
}

// A menu that cannot be built is a failure, never "nothing added".
TEST_F(CameraMenus, AMergeThatFailsIsAFailure) {
  const unique_hmenu source = SourceMenu();
  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  EXPECT_FALSE(camfolder::MergeMenu(gone, 0, source.get(), 10, 45, kMergeReturnHighestId));
  const unique_hmenu host = HostMenu();
  EXPECT_FALSE(camfolder::MergeMenu(host.get(), 0, gone, 10, 45, kMergeReturnHighestId));
  EXPECT_EQ(GetMenuItemCount(host.get()), 2);
  const ComPtr<IContextMenu> menus[] = {ItemMenu({}, {"1:/"}), ItemMenu({"0:/"}, {"MEMO.TXT"})};
  for (const ComPtr<IContextMenu> &menu : menus)
    EXPECT_EQ(menu->QueryContextMenu(gone, 0, 100, 0x7FFF, CMF_NORMAL), E_UNEXPECTED);
}

TEST_F(CameraMenus, MergingWithTheOriginalFieldsGivesTheSameMenu) {
  EXPECT_EQ(camfolder::SystemMenuItemFields(), MenuItemFields::kExtended);
  const unique_hmenu source = SourceMenu();
  for (const UINT options : {0u, kMergeWithSeparators | kMergeSubmenuIds}) {
    unique_hmenu extended = HostMenu();
    unique_hmenu original = HostMenu();
    EXPECT_EQ(camfolder::MergeMenuWith(MenuItemFields::kExtended, extended.get(), 1, source.get(), 10, 100, options),
              camfolder::MergeMenuWith(MenuItemFields::kOriginal, original.get(), 1, source.get(), 10, 100, options));
    EXPECT_EQ(MenuText(original.get(), 0), MenuText(extended.get(), 0));
  }
}

TEST_F(CameraMenus, ItemBitmapsAreCopiedOnlyWhenAsked) {
  const unique_hmenu source(CreatePopupMenu());
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
  item.wID = 1;
  item.dwTypeData = const_cast<wchar_t *>(L"Picture");
  item.hbmpItem = HBMMENU_POPUP_CLOSE;
  ASSERT_TRUE(InsertMenuItemW(source.get(), 0, TRUE, &item));
  for (const bool bitmaps : {true, false}) {
    const unique_hmenu host(CreatePopupMenu());
    camfolder::MergeMenu(host.get(), 0, source.get(), 10, 20, bitmaps ? kMergeBitmaps : 0);
    MENUITEMINFOW copied{};
    copied.cbSize = sizeof copied;
    copied.fMask = MIIM_BITMAP | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(host.get(), 0, TRUE, &copied));
    EXPECT_EQ(copied.wID, 11u);
    EXPECT_EQ(copied.hbmpItem, bitmaps ? HBMMENU_POPUP_CLOSE : nullptr);
  }
}

}  // namespace
