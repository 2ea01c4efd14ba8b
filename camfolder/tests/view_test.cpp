// The camera folder's view in a browser of the test's own, against camsim:
// columns, saved state, sorting, status texts, label editing, the names it
// shows, the wheel, and a file dialog as its host.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <thread>

#include "camapi.h"
#include "dialog_script.h"
#include "message_box_watcher.h"
#include "shell_fixture.h"
#include "test_browser.h"
#include "unix_paths.h"
#include "window_text.h"

namespace {

std::vector<std::string> Column(HWND list, int column) {
  std::vector<std::string> texts;
  for (int i = 0, count = ListView_GetItemCount(list); i < count; ++i) {
    char text[MAX_PATH] = "";
    ListView_GetItemText(list, i, column, text, sizeof text);
    texts.push_back(text);
  }
  return texts;
}

void ClickColumn(HWND list, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = GetDlgCtrlID(list);
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageA(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

int Row(HWND list, const std::string &name) {
  const auto names = Column(list, 0);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

bool ExtensionsShown() {
  SHELLFLAGSTATE state{};
  SHGetSettings(&state, SSF_SHOWEXTENSIONS);
  return state.fShowExtensions;
}

class View : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
    card_ = new CameraCard;
    for (const char *folder : {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO1", "/d0/DCIM/100LUMO1/SUBA",
                               "/d0/DCIM/100LUMO1/SUBB", "/d0/MANY", "/d0/EMPTY", "/d1"})
      card_->MakeFolder(folder);
    card_->MakeFile("/d0/DCIM/100LUMO1/R0010001.JPG", Pattern(3000, 1));
    card_->MakeFile("/d0/DCIM/100LUMO1/B.JPG", Pattern(1000, 2));
    card_->MakeFile("/d0/DCIM/100LUMO1/A.TXT", Pattern(5000, 3));
    card_->MakeFile("/d0/DCIM/100LUMO1/RENAME.JPG", Pattern(10, 4));
    RunShell("touch -d '2020-01-01 10:00' " + card_->Unix("/d0/DCIM/100LUMO1/A.TXT") + " && touch -d '2021-01-01 10:00' " +
             card_->Unix("/d0/DCIM/100LUMO1/B.JPG") + " && touch -d '2022-01-01 10:00' " +
             card_->Unix("/d0/DCIM/100LUMO1/R0010001.JPG"));
    for (int i = 0; i < 80; ++i) card_->MakeFile("/d0/MANY/F" + std::to_string(1000 + i) + ".TXT", "x");
    card_->MakeFolder("/d0/TYPES");
    card_->MakeFolder("/d0/TYPES/SUB.D");
    for (const char *name : {"X.JPG", "Y.TXT", "Z.JPG", "W.BMP", "NOEXT", "V.JPG", "U.TXT"})
      card_->MakeFile(std::string("/d0/TYPES/") + name, "x");
    camsim_ = new CamsimProcess;
    address_ = CamsimProcess::NextAddress();
    std::string error;
    ASSERT_TRUE(camsim_->Start(address_, {"-v", "--drive", "0=" + card_->Unix("/d0"), "--drive",
                                          "1=" + card_->Unix("/d1"), "--capacity", "0=64000000", "--free",
                                          "0=32000000"},
                               error))
        << error;
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
    root_ = BindCameraRoot().Detach();
    ASSERT_TRUE(root_);
  }

  static void TearDownTestSuite() {
    if (root_) root_->Release();
    root_ = nullptr;
    CloseLinkHosts();
    delete camsim_;
    delete card_;
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }

  static ComPtr<IShellFolder> Pictures() { return BindPath(root_, {"0:/", "DCIM/", "100LUMO1/"}); }

  static inline CameraCard *card_ = nullptr;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline std::string address_;
  static inline IShellFolder *root_ = nullptr;
};

TEST_F(View, ColumnsWithTheirTitlesAndSampleWidths) {
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  const HWND list = browser.List();
  ASSERT_TRUE(list);
  const HWND header = ListView_GetHeader(list);
  ASSERT_EQ(Header_GetItemCount(header), 4);  // attributes only when the shell shows them
  const char *samples[] = {"ICOxxxxxxxx.xxx ", "8888KB ", "WWWWWWWWWWWWWWWWWWWW", "1888/18/88 88:88 "};
  for (int column = 0; column < 4; ++column) {
    wchar_t title[64] = L"";
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT | LVCF_FMT;
    entry.pszText = title;
    entry.cchTextMax = std::size(title);
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&entry)));
    EXPECT_EQ(Utf8(title), CameraFolderString(1100 + column));
    if (column == 2) {
      EXPECT_EQ(Utf8(title), "ファイルの種類");
    }
    EXPECT_EQ(entry.fmt & LVCFMT_JUSTIFYMASK, column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT) << column;
    const int sample = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(samples[column])));
    EXPECT_EQ(ListView_GetColumnWidth(list, column), sample + 12 + (column == 0 ? GetSystemMetrics(SM_CXSMICON) : 0));
  }
  // Items: the files' sizes in whole kilobytes, folders without.
  const int picture = Row(list, ExtensionsShown() ? "R0010001.JPG" : "R0010001");
  ASSERT_GE(picture, 0);
  EXPECT_EQ(Column(list, 1)[picture], "3KB");
  EXPECT_EQ(Column(list, 1)[Row(list, "SUBA")], "");
}

// The window is filled once, when the browser asks for it: a camera that
// cannot be reached is told once, not again for the dialog's creation.
TEST_F(View, AViewThatCannotReachTheCameraSaysSoOnce) {
  DialogScript script({IDOK, IDOK});
  bool shown = true;
  OnShellThread([&] {
    const ComPtr<IShellFolder> pictures = BindPath(BindCameraRoot().Get(), {"0:/", "DCIM/", "100LUMO1/"});
    ASSERT_TRUE(pictures);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection"), ERROR_SUCCESS);
    TestBrowser browser({});
    shown = browser.ShowView(pictures.Get());
  });
  ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
  const auto boxes = script.Finish();
  EXPECT_FALSE(shown);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "プロパティから接続設定を行ってください。");
}

TEST_F(View, TheSavedStateKeepsTheWidthsAndAForeignOneIsIgnored) {
  TestBrowser browser({.viewState = true});
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  HWND list = browser.List();
  const int sampleWidth = ListView_GetColumnWidth(list, 0);
  ListView_SetColumnWidth(list, 0, 211);
  ListView_SetColumnWidth(list, 3, 97);
  ComPtr<IShellView> view = browser.ShowView(Pictures().Get());
  ASSERT_TRUE(view);
  list = browser.List();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), sampleWidth);  // nothing saved yet
  ListView_SetColumnWidth(list, 0, 211);
  ListView_SetColumnWidth(list, 3, 97);
  ASSERT_EQ(view->SaveViewState(), S_OK);
  ASSERT_EQ(browser.viewState.size(), 28u);
  EXPECT_EQ(std::memcmp(browser.viewState.data(), "ZL1V\0\0\0\0", 8), 0);
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  EXPECT_EQ(ListView_GetColumnWidth(browser.List(), 0), 211);
  EXPECT_EQ(ListView_GetColumnWidth(browser.List(), 3), 97);

  const std::vector<uint8_t> saved = browser.viewState;
  for (const auto &foreign : {std::vector<uint8_t>(saved.begin(), saved.end() - 1), [&] {
                                auto longer = saved;
                                longer.push_back(0);
                                return longer;
                              }(),
                              [&] {
                                auto other = saved;
                                other[0] = 'X';
                                return other;
                              }()}) {
    browser.viewState = foreign;
    ASSERT_TRUE(browser.ShowView(Pictures().Get()));
    EXPECT_EQ(ListView_GetColumnWidth(browser.List(), 0), sampleWidth);
  }
}

TEST_F(View, SortingByEveryColumnBothWays) {
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  const HWND list = browser.List();
  const bool ext = ExtensionsShown();
  const std::string r = ext ? "R0010001.JPG" : "R0010001", b = ext ? "B.JPG" : "B", a = ext ? "A.TXT" : "A",
                    n = ext ? "RENAME.JPG" : "RENAME";
  using V = std::vector<std::string>;
  EXPECT_EQ(Column(list, 0), (V{"SUBA", "SUBB", a, b, r, n}));  // by name, folders first
  ClickColumn(list, 0);
  EXPECT_EQ(Column(list, 0), (V{n, r, b, a, "SUBB", "SUBA"}));
  // Folders have no size or type to tell them apart: only their place counts.
  const auto folders = [](std::vector<std::string> names, size_t at) {
    return std::set<std::string>{names[at], names[at + 1]} == std::set<std::string>{"SUBA", "SUBB"};
  };
  const auto files = [](std::vector<std::string> names, size_t at) { return V(names.begin() + at, names.begin() + at + 4); };
  ClickColumn(list, 1);  // sizes, small first
  EXPECT_TRUE(folders(Column(list, 0), 0));
  EXPECT_EQ(files(Column(list, 0), 2), (V{n, b, r, a}));
  ClickColumn(list, 1);  // and again: descending, the folders after the files
  EXPECT_EQ(files(Column(list, 0), 0), (V{a, r, b, n}));
  EXPECT_TRUE(folders(Column(list, 0), 4));
  ClickColumn(list, 2);  // type names, folders first
  EXPECT_TRUE(folders(Column(list, 0), 0));
  ClickColumn(list, 3);  // dates: newer first
  const auto byDate = Column(list, 0);
  EXPECT_LT(std::find(byDate.begin(), byDate.end(), r), std::find(byDate.begin(), byDate.end(), b));
  EXPECT_LT(std::find(byDate.begin(), byDate.end(), b), std::find(byDate.begin(), byDate.end(), a));
  ClickColumn(list, 3);
  const auto older = Column(list, 0);
  EXPECT_LT(std::find(older.begin(), older.end(), a), std::find(older.begin(), older.end(), b));
}

TEST_F(View, StatusTextsWithAndWithoutASelection) {
  TestBrowser browser({.statusBar = true});
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  EXPECT_EQ(browser.status[0], "6 個のオブジェクト");
  EXPECT_EQ(browser.status[1], "8.79KB (空きディスク領域 : 30.5MB)");
  const HWND list = browser.List();
  ListView_SetItemState(list, Row(list, ExtensionsShown() ? "A.TXT" : "A"), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(browser.status[0], "1 個のオブジェクトを選択");
  EXPECT_EQ(browser.status[1], "4.88KB");
}

// The view asks the shell once per kind of name; every row must still show
// what the shell says of that row's own item, and sort by it.
TEST_F(View, EveryRowShowsTheShellsTypeAndIconOfItsOwnItem) {
  const ComPtr<IShellFolder> folder = BindPath(root_, {"0:/", "TYPES/"});
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(folder.Get()));
  const HWND list = browser.List();
  ClickColumn(list, 2);
  const int count = ListView_GetItemCount(list);
  ASSERT_EQ(count, 8);
  std::string previousFileType;
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    ASSERT_TRUE(ListView_GetItem(list, &item));
    PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(item.lParam);
    const std::string name = NameOf(folder.Get(), child, SHGDN_INFOLDER);
    SFGAOF attributes = SFGAO_FOLDER;
    ASSERT_TRUE(SUCCEEDED(folder->GetAttributesOf(1, &child, &attributes)));
    const DWORD fileAttributes = (attributes & SFGAO_FOLDER) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHFILEINFOA type{}, icon{};
    ASSERT_TRUE(SHGetFileInfoA(name.c_str(), fileAttributes, &type, sizeof type, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME));
    ASSERT_TRUE(SHGetFileInfoA(("0:/TYPES/" + name).c_str(), fileAttributes, &icon, sizeof icon,
                               SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX));
    EXPECT_EQ(Column(list, 2)[row], type.szTypeName) << name;
    EXPECT_EQ(item.iImage, icon.iIcon) << name;
    if (attributes & SFGAO_FOLDER) {
      EXPECT_EQ(row, 0) << "folders first";
    } else {
      EXPECT_LE(lstrcmpA(previousFileType.c_str(), type.szTypeName), 0) << name;
      previousFileType = type.szTypeName;
    }
  }
}

TEST_F(View, LabelEditingRenamesOnTheCamera) {
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(Pictures().Get()));
  const HWND list = browser.List();
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LVS_EDITLABELS);
  SetFocus(list);
  const HWND edit = ListView_EditLabel(list, Row(list, ExtensionsShown() ? "RENAME.JPG" : "RENAME"));
  ASSERT_TRUE(edit);
  SetWindowTextA(edit, "EDITED.JPG");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(ReadFileBytes(card_->Windows("/d0/DCIM/100LUMO1/EDITED.JPG")), Pattern(10, 4));
}

TEST_F(View, TheRootShowsDrivesWithTheirIconAndNoEditing) {
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(root_));
  const HWND list = browser.List();
  EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & LVS_EDITLABELS);
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  EXPECT_EQ(Column(list, 0)[1], "CF (1:)");
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 0;
  ASSERT_TRUE(ListView_GetItem(list, &item));
  EXPECT_EQ(item.iImage, 0);  // the only icon of the root's own list: the drive
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_SMALL)), 1);
}

TEST_F(View, TheWheelScrollsTheList) {
  TestBrowser browser({});
  ASSERT_TRUE(browser.ShowView(BindPath(root_, {"0:/", "MANY/"}).Get()));
  const HWND list = browser.List();
  ASSERT_EQ(ListView_GetItemCount(list), 80);
  HWND viewWindow = GetParent(list);
  SendMessageA(viewWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  EXPECT_GT(ListView_GetTopIndex(list), 0);
  SendMessageA(viewWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 20), 0);
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
  // A changed setting is read again: with 0 lines a notch scrolls nothing.
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 0, nullptr, 0));
  SendMessageA(viewWindow, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  SendMessageA(viewWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120 * 3)), 0);
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
  SendMessageA(viewWindow, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  SendMessageA(viewWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  EXPECT_GT(ListView_GetTopIndex(list), 0);
}

// Activation merges the view's Edit and View items into the browser's
// menus; the File menu gets the menu of the selection; keys and menu
// commands reach the view.
TEST_F(View, ActivationMergesTheMenusAndKeysReachTheCommands) {
  TestBrowser browser({.menus = true});
  const ComPtr<IShellView> view = browser.ShowView(Pictures().Get());
  ASSERT_TRUE(view);
  ASSERT_EQ(view->UIActivate(SVUIA_ACTIVATE_FOCUS), S_OK);
  ASSERT_TRUE(browser.menu);
  HWND viewWindow = nullptr;
  ASSERT_EQ(view->GetWindow(&viewWindow), S_OK);
  EXPECT_EQ(browser.menuObject, viewWindow);
  const auto submenu = [&](UINT id) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    return GetMenuItemInfoA(browser.menu, id, FALSE, &item) ? item.hSubMenu : nullptr;
  };
  const auto text = [](HMENU menu, UINT position) {
    wchar_t buffer[128] = L"";
    GetMenuStringW(menu, position, buffer, std::size(buffer), MF_BYPOSITION);
    return Utf8(buffer);
  };
  // The view's own resource menu: Edit additions (0), View additions (1).
  const unique_hmenu ours(LoadMenuA(GetModuleHandleA("camfolder.dll"), MAKEINTRESOURCEA(100)));
  ASSERT_TRUE(ours);
  HMENU edit = submenu(FCIDM_MENU_EDIT);
  HMENU viewMenu = submenu(FCIDM_MENU_VIEW);
  ASSERT_TRUE(edit && viewMenu);
  for (UINT i = 0; i < 2; ++i) {
    EXPECT_EQ(text(edit, i), text(GetSubMenu(ours.get(), 0), i));
    EXPECT_EQ(GetMenuItemID(edit, static_cast<int>(i)), i + 1);
  }
  EXPECT_EQ(text(edit, 0), "すべて選択(&A)");
  EXPECT_EQ(text(edit, static_cast<UINT>(GetMenuItemCount(edit) - 1)), "Close");  // the browser's stay
  for (UINT i = 0; i < 4; ++i) EXPECT_EQ(GetMenuItemID(viewMenu, static_cast<int>(i)), i + 3);

  // Details are shown: checked, and lining up is grayed.
  SendMessageA(viewWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 2);
  EXPECT_TRUE(GetMenuState(viewMenu, 6, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(viewMenu, 8, MF_BYCOMMAND) & MF_GRAYED);

  // The File menu with a selection: the selection's commands above the
  // browser's own items.
  const HWND list = browser.List();
  HMENU file = submenu(FCIDM_MENU_FILE);
  const int browserItems = GetMenuItemCount(file);
  SetFocus(list);
  ListView_SetItemState(list, Row(list, ExtensionsShown() ? "B.JPG" : "B"), LVIS_SELECTED, LVIS_SELECTED);
  SendMessageA(viewWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_GT(GetMenuItemCount(file), browserItems + 1);
  EXPECT_EQ(text(file, static_cast<UINT>(GetMenuItemCount(file) - 1)), "Close");

  // Control+A through the view's accelerators selects every row.
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  BYTE held[256];
  std::memcpy(held, keys, sizeof held);
  held[VK_CONTROL] = 0x80;
  SetKeyboardState(held);
  MSG key{list, WM_KEYDOWN, 'A', 1, 0, {}};
  EXPECT_EQ(view->TranslateAccelerator(&key), S_OK);
  SetKeyboardState(keys);
  EXPECT_EQ(ListView_GetSelectedCount(list), ListView_GetItemCount(list));

  // Menu commands: the list arrangement.
  SendMessageA(viewWindow, WM_COMMAND, 5, 0);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  SendMessageA(viewWindow, WM_COMMAND, 6, 0);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(view->UIActivate(SVUIA_DEACTIVATE), S_OK);
}

// Keys act on what is selected when they are pressed: not on the selection
// of the moment the File menu was last opened, and never on the open folder.
TEST_F(View, CommandsActOnTheSelectionOfTheMoment) {
  TestBrowser browser({.menus = true});
  const ComPtr<IShellView> view = browser.ShowView(Pictures().Get());
  ASSERT_TRUE(view);
  ASSERT_EQ(view->UIActivate(SVUIA_ACTIVATE_FOCUS), S_OK);
  HWND viewWindow = nullptr;
  ASSERT_EQ(view->GetWindow(&viewWindow), S_OK);
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoA(browser.menu, FCIDM_MENU_FILE, FALSE, &item));
  const HWND list = browser.List();
  SetFocus(list);
  ListView_SetItemState(list, Row(list, ExtensionsShown() ? "B.JPG" : "B"), LVIS_SELECTED, LVIS_SELECTED);
  SendMessageA(viewWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.hSubMenu), 0);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);

  MSG deleteKey{list, WM_KEYDOWN, VK_DELETE, 1, 0, {}};
  {
    ListView_SetItemState(list, Row(list, ExtensionsShown() ? "A.TXT" : "A"), LVIS_SELECTED, LVIS_SELECTED);
    MessageBoxWatcher question(IDNO, 20000);
    EXPECT_EQ(view->TranslateAccelerator(&deleteKey), S_OK);
    ASSERT_TRUE(question.Seen());
    EXPECT_NE(question.Text().find("A.TXT"), std::string::npos) << question.Text();
  }
  {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    MessageBoxWatcher none(IDNO, 3000);
    EXPECT_EQ(view->TranslateAccelerator(&deleteKey), S_OK);
    EXPECT_FALSE(none.Seen()) << none.Text();
  }
  EXPECT_EQ(ReadFileBytes(card_->Windows("/d0/DCIM/100LUMO1/B.JPG")), Pattern(1000, 2));
  EXPECT_EQ(view->UIActivate(SVUIA_DEACTIVATE), S_OK);
}

TEST_F(View, SelectItemAndTheObjectsOfTheView) {
  TestBrowser browser({});
  const ComPtr<IShellFolder> pictures = Pictures();
  const ComPtr<IShellView> view = browser.ShowView(pictures.Get());
  ASSERT_TRUE(view);
  const HWND list = browser.List();
  const Child item = Find(pictures.Get(), "B.JPG");
  EXPECT_EQ(view->SelectItem(item.get(), SVSI_SELECT | SVSI_FOCUSED), E_INVALIDARG);
  ComPtr<IDataObject> data;
  EXPECT_EQ(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data)), E_FAIL);  // nothing selected
  ASSERT_EQ(view->SelectItem(item.get(), SVSI_SELECT), S_OK);
  EXPECT_EQ(ListView_GetSelectedCount(list), 1);
  EXPECT_EQ(ListView_GetItemState(list, Row(list, ExtensionsShown() ? "B.JPG" : "B"), LVIS_SELECTED), LVIS_SELECTED);
  ASSERT_EQ(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data)), S_OK);
  ASSERT_EQ(view->SelectItem(nullptr, SVSI_DESELECTOTHERS), S_OK);
  EXPECT_EQ(ListView_GetSelectedCount(list), 0);
  EXPECT_EQ(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&data)), E_NOINTERFACE);
  ComPtr<IContextMenu> background;
  ASSERT_EQ(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&background)), S_OK);
  const unique_hmenu popup(CreatePopupMenu());
  EXPECT_TRUE(SUCCEEDED(background->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_NORMAL)));
  EXPECT_GT(GetMenuItemCount(popup.get()), 0);

  TestBrowser empty({});
  const ComPtr<IShellView> emptyView = empty.ShowView(BindPath(root_, {"0:/", "EMPTY/"}).Get());
  ASSERT_TRUE(emptyView);
  EXPECT_EQ(emptyView->GetItemObject(SVGIO_ALLVIEW, IID_PPV_ARGS(&data)), S_FALSE);
  FOLDERSETTINGS settings{};
  ASSERT_EQ(emptyView->GetCurrentInfo(&settings), S_OK);
  EXPECT_EQ(settings.ViewMode, static_cast<UINT>(FVM_DETAILS));
}

// A file dialog as host: it decides what is listed, hears of selection
// changes, and gets fetched local files at its second request.
TEST_F(View, AFileDialogHostChoosesAndGetsLocalFiles) {
  TestBrowser browser({.fileDialog = true});
  browser.excluded = {"A.TXT"};
  const ComPtr<IShellView> view = browser.ShowView(Pictures().Get());
  ASSERT_TRUE(view);
  const HWND list = browser.List();
  EXPECT_EQ(ListView_GetItemCount(list), 5);
  EXPECT_EQ(Row(list, ExtensionsShown() ? "A.TXT" : "A"), -1);
  const int picture = Row(list, ExtensionsShown() ? "B.JPG" : "B");
  ListView_SetItemState(list, picture, LVIS_SELECTED, LVIS_SELECTED);
  ASSERT_FALSE(browser.stateChanges.empty());
  EXPECT_EQ(browser.stateChanges.back(), static_cast<ULONG>(CDBOSC_SELCHANGE));

  const std::string local =
      NameOf(Pictures().Get(), Find(Pictures().Get(), "B.JPG").get(), SHGDN_FORPARSING | SHGDN_INFOLDER);
  DeleteFileA(local.c_str());
  ComPtr<IDataObject> data;
  ASSERT_EQ(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data)), S_OK);  // the change: armed only
  EXPECT_EQ(GetFileAttributesA(local.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data)), S_OK);  // to open: fetched
  EXPECT_EQ(ReadFileBytes(local), Pattern(1000, 2));

  // The activation goes to the dialog first.
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = list;
  activate.hdr.code = LVN_ITEMACTIVATE;
  activate.iItem = picture;
  SendMessageA(GetParent(list), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
  EXPECT_EQ(browser.defaultCommands, 1);
  // These common controls send the activation themselves: a double click or
  // Return alone does not activate a second time.
  for (const UINT code : {UINT(NM_DBLCLK), UINT(NM_RETURN)}) {
    activate.hdr.code = code;
    SendMessageA(GetParent(list), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
  }
  EXPECT_EQ(browser.defaultCommands, 1);
}


// The list of our view inside a window of this process (a file dialog).
HWND FindCameraList(HWND top) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumChildWindows(
      top,
      [](HWND window, LPARAM context) -> BOOL {
        char name[32];
        if (GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "SysListView32") == 0 &&
            GetDlgCtrlID(window) == 1000) {
          reinterpret_cast<Search *>(context)->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for the camera list in the dialog to show a row with this name.
HWND WaitForRow(HWND dialog, const std::string &name) {
  for (int i = 0; i < 300; ++i) {
    if (HWND list = FindCameraList(dialog); list && Row(list, name) >= 0) return list;
    Sleep(50);
  }
  return nullptr;
}

// Opens the row the way a user does: a double click on it.
void OpenRow(HWND list, int row) {
  RECT box{};
  box.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&box));
  const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  // A list just made may still be filled and lose an early click: click
  // until the row is selected.
  for (int i = 0; i < 40 && !ListView_GetItemState(list, row, LVIS_SELECTED); ++i) {
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    Sleep(100);
  }
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

UINT_PTR CALLBACK OpenOnTheCamera(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == CDN_INITDONE) {
    // The dialog's browser, asked from the dialog's frame.
    const HWND frame = GetParent(dialog);
    auto *browser = reinterpret_cast<IShellBrowser *>(SendMessageA(frame, WM_USER + 7, 0, 0));
    PIDLIST_ABSOLUTE camera = nullptr;
    if (browser && SUCCEEDED(SHParseDisplayName(kCameraRootName, nullptr, &camera, 0, nullptr))) {
      browser->BrowseObject(camera, SBSP_ABSOLUTE | SBSP_SAMEBROWSER);
      CoTaskMemFree(camera);
    }
  }
  return 0;
}

TEST_F(View, TheFileDialogBrowsesTheCameraAndOpensALocalCopy) {
  char chosen[MAX_PATH] = "";
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.lpstrFile = chosen;
  open.nMaxFile = sizeof chosen;
  open.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST;
  open.lpfnHook = OpenOnTheCamera;
  const std::string shown = ExtensionsShown() ? "R0010001.JPG" : "R0010001";
  std::thread user([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !(dialog = FindWindowA("#32770", nullptr)); ++i) Sleep(50);
    if (!dialog) return;
    for (const char *step : {"CF (1:)", "DCIM", "100LUMO1"}) {
      const std::string name = std::string(step) == "CF (1:)" ? Column(WaitForRow(dialog, "CF (1:)"), 0)[0] : step;
      HWND list = WaitForRow(dialog, name);
      if (!list) return;
      OpenRow(list, Row(list, name));
    }
    HWND list = WaitForRow(dialog, shown);
    if (!list) return;
    OpenRow(list, Row(list, shown));
  });
  const BOOL opened = GetOpenFileNameA(&open);
  user.join();
  ASSERT_TRUE(opened) << CommDlgExtendedError();
  const std::string path(chosen);
  EXPECT_EQ(path.rfind(LocalWorkingFolder() + "\\", 0), 0u) << chosen;
  EXPECT_EQ(path.substr(path.rfind('\\')), "\\R0010001.JPG");
  EXPECT_EQ(ReadFileBytes(chosen), Pattern(3000, 1));
}

}  // namespace
