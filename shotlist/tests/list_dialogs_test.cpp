// The list file dialog with its folder tree, and the cut title dialog, driven
// from a test thread through SelectListFileDlg, SelectCutNameDlg and
// ShowCommonFileDlg.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "dialog_fixture.h"
#include "shotlist/shotlist.h"
#include "shared/win_raii.h"

namespace {

namespace fs = std::filesystem;

const std::string kListDialog = "Select Shoot Planner file ";
const std::string kCutDialog = "Select image title";
constexpr int kTree = 1000, kPathCombo = 1001, kSelectTypedPath = 1003, kTitleList = 1004;

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM item) {
  std::vector<HTREEITEM> children;
  for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c)) children.push_back(c);
  return children;
}

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[MAX_PATH] = "";
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  TreeView_GetItem(tree, &data);
  return text;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string &name) {
  for (HTREEITEM c : Children(tree, parent)) {
    if (ItemText(tree, c) == name) return c;
  }
  return nullptr;
}

bool HasState(HWND tree, HTREEITEM item, UINT state) { return (TreeView_GetItemState(tree, item, state) & state) != 0; }

// The .lst files of the folder in the order the file system gives them.
std::vector<std::string> ListFilesInSearchOrder(const std::string &folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const unique_find search(FindFirstFileA((folder + "\\*.lst").c_str(), &found));
  for (bool more = static_cast<bool>(search); more; more = FindNextFileA(search.get(), &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  }
  return names;
}

using ListFileDialogTest = DialogTest;

TEST_F(ListFileDialogTest, RowsShowTheTitlesAndOkReturnsTheSelectedRowsFile) {
  Write("a.lst", "[LIST TITLE]\r\ntitle=Trip\r\n[Boats]\r\n");
  Write("b.lst", "[LIST TITLE]\r\ntitle=Trip\r\n[Quay]\r\n");
  Write("c.lst", "Harbour\r\n[LIST TITLE]\r\ntitle=Trip\r\n");  // header not on the first line
  Write("notes.txt", "[LIST TITLE]\r\ntitle=Trip\r\n");
  fs::create_directory(folder_ / "x.lst");
  const std::vector<std::string> order = ListFilesInSearchOrder(Folder());
  ASSERT_EQ(order.size(), 3u);
  std::vector<std::string> expectedRows;
  int secondTrip = -1;
  for (const std::string &name : order) {
    expectedRows.push_back(name == "c.lst" ? "" : "Trip");
    if (name == "b.lst") secondTrip = int(expectedRows.size() - 1);
  }

  char path[MAX_PATH + 8] = "", title[2048 + 8] = "";
  int result = 0;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kListDialog);
      if (!dialog) return;
      HWND list = GetDlgItem(dialog, kTitleList);
      EXPECT_EQ(ListBoxRows(list), expectedRows);  // two identical rows, an empty one, no folder
      EXPECT_EQ(ListBoxSelection(list), 0);
      EXPECT_EQ(WindowText(GetDlgItem(dialog, kPathCombo)), Folder());

      SelectListBoxRow(list, -1);
      Press(dialog, IDOK);
      EXPECT_EQ(AnswerMessageBox(kToolkit), "No Shoot Planner title selected. \nSelect title.");
      EXPECT_TRUE(DialogOpen(kListDialog));
      EXPECT_TRUE(Eventually([&] { return FocusOf(dialog) == GetDlgItem(dialog, kTree); }));
      SelectListBoxRow(list, secondTrip);
      Press(dialog, IDOK);
    });
    result = SelectListFileDlg(Folder().c_str(), path, title);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::string(path), Path("b.lst"));
  EXPECT_STREQ(title, "Trip");
}

TEST_F(ListFileDialogTest, TreeHasMyComputerAsItsOnlyRootAndFillsEachFolderOnce) {
  fs::create_directories(folder_ / "Tree" / "one" / "a");
  fs::create_directories(folder_ / "Tree" / "two" / "b");
  char path[MAX_PATH] = "", title[2048] = "";
  int result = 0;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kListDialog);
      if (!dialog) return;
      HWND tree = GetDlgItem(dialog, kTree);
      HTREEITEM root = TreeView_GetRoot(tree);
      ASSERT_NE(root, nullptr);
      EXPECT_EQ(TreeView_GetNextSibling(tree, root), nullptr);  // the only root
      EXPECT_TRUE(HasState(tree, root, TVIS_EXPANDED));
      EXPECT_EQ(TreeView_GetSelection(tree), root);
      EXPECT_FALSE(Children(tree, root).empty());  // the drives
      EXPECT_TRUE(ListBoxRows(GetDlgItem(dialog, kTitleList)).empty());  // My Computer is no folder
      Press(dialog, IDCANCEL);
    });
    result = SelectListFileDlg("", path, title);
  }
  EXPECT_EQ(result, 2);

  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kListDialog);
      if (!dialog) return;
      HWND tree = GetDlgItem(dialog, kTree);
      HTREEITEM root = TreeView_GetRoot(tree);
      HTREEITEM start = TreeView_GetSelection(tree);
      EXPECT_EQ(ItemText(tree, start), folder_.filename().string());
      HTREEITEM treeItem = ChildNamed(tree, start, "Tree");
      ASSERT_NE(treeItem, nullptr);
      TreeView_SelectItem(tree, treeItem);
      HTREEITEM one = ChildNamed(tree, treeItem, "one");
      HTREEITEM two = ChildNamed(tree, treeItem, "two");
      ASSERT_TRUE(one && two);

      // Selected before it was ever expanded: filled now, and the user's
      // expanding afterwards adds nothing.
      TreeView_SelectItem(tree, one);
      EXPECT_EQ(Children(tree, one).size(), 1u);
      PostMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);
      EXPECT_TRUE(Eventually([&] { return HasState(tree, one, TVIS_EXPANDED); }));
      EXPECT_EQ(Children(tree, one).size(), 1u);
      // Expanded before it was selected: selecting adds nothing.
      TreeView_Expand(tree, two, TVE_EXPAND);
      TreeView_SelectItem(tree, two);
      EXPECT_EQ(Children(tree, two).size(), 1u);
      EXPECT_EQ(WindowText(GetDlgItem(dialog, kPathCombo)), (folder_ / "Tree" / "two").string());

      // A folder that does not exist: a box names it, the selection stays.
      const std::string missing = (folder_ / "missing").string();
      SetControlText(dialog, kPathCombo, missing + "\\");
      Press(dialog, kSelectTypedPath);
      EXPECT_EQ(AnswerMessageBox("Folder not found"), missing);
      EXPECT_EQ(TreeView_GetSelection(tree), two);
      // The typed folder that exists is selected, drive and folders in turn.
      SetControlText(dialog, kPathCombo, (folder_ / "Tree" / "one" / "a").string());
      Press(dialog, kSelectTypedPath);
      EXPECT_TRUE(Eventually([&] { return ItemText(tree, TreeView_GetSelection(tree)) == "a"; }));
      // A drive root is a folder too.
      SetControlText(dialog, kPathCombo, "C:\\");
      Press(dialog, kSelectTypedPath);
      EXPECT_TRUE(Eventually([&] { return TreeView_GetParent(tree, TreeView_GetSelection(tree)) == root; }));
      EXPECT_EQ(WindowText(GetDlgItem(dialog, kPathCombo)), "C:\\");
      Press(dialog, IDCANCEL);
    });
    result = SelectListFileDlg(Folder().c_str(), path, title);
  }
  EXPECT_EQ(result, 2);
}

// Messages the dialog's thread handled: right clicks the tree reported and
// context menu requests.
std::atomic<int> rightClicks{0}, contextMenus{0};

LRESULT CALLBACK CountMessages(int code, WPARAM wParam, LPARAM lParam) {
  const auto &message = *reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (message.message == WM_NOTIFY && reinterpret_cast<const NMHDR *>(message.lParam)->code == NM_RCLICK) {
    ++rightClicks;
  }
  if (message.message == WM_CONTEXTMENU) ++contextMenus;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A right click beside an item's label selects the item (the dialog shows
// its folder) and, handled by the tree, asks for no context menu afterwards.
TEST_F(ListFileDialogTest, ARightClickSelectsTheItemAndIsHandledByTheTree) {
  char path[MAX_PATH] = "", title[2048] = "";
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountMessages, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  rightClicks = contextMenus = 0;
  int result = 0;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kListDialog);
      if (!dialog) return;
      HWND tree = GetDlgItem(dialog, kTree);
      HTREEITEM drive = TreeView_GetChild(tree, TreeView_GetRoot(tree));
      ASSERT_NE(drive, nullptr);
      RECT label{};
      ASSERT_TRUE(TreeView_GetItemRect(tree, drive, &label, TRUE));
      POINT beside{label.right + 4, (label.top + label.bottom) / 2};
      ClientToScreen(tree, &beside);
      SetForegroundWindow(dialog);
      SetCursorPos(beside.x, beside.y);
      INPUT inputs[2] = {{INPUT_MOUSE}, {INPUT_MOUSE}};
      inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
      inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
      SendInput(2, inputs, sizeof(INPUT));
      EXPECT_TRUE(Eventually([&] { return TreeView_GetSelection(tree) == drive; }));
      EXPECT_TRUE(Eventually([&] { return rightClicks == 1; }));
      const std::string shown = WindowText(GetDlgItem(dialog, kPathCombo));  // a drive's root, as "C:\\"
      EXPECT_TRUE(shown.size() == 3 && shown.substr(1) == ":\\") << shown;
      Press(dialog, IDCANCEL);
    });
    result = SelectListFileDlg("", path, title);
  }
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(contextMenus, 0);
}

TEST_F(ListFileDialogTest, TheLongestTitleAListCanHoldFitsTheTitleBuffer) {
  const std::string list = Write("long.lst", "[LIST TITLE]\r\ntitle=" + std::string(3000, 'T') + "\r\n");
  char title[2048 + 64];
  std::memset(title, 'g', sizeof title);
  int result = 0;
  {
    DialogDriver driver([] {
      // The line reader warns about the over-long line and cuts it.
      EXPECT_EQ(AnswerMessageBox("Warning !"), "m_pBuffer overflow in line 2 (line length over 2048 chars)");
    });
    result = GetListTitle(list.c_str(), title);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::string(title), std::string(2047 - 6, 'T'));
  for (size_t i = 2048; i < sizeof title; ++i) ASSERT_EQ(title[i], 'g') << i;
}

using CutTitleDialogTest = DialogTest;

TEST_F(CutTitleDialogTest, ListsTheCutTitlesInFileOrderAndReturnsTheChosenOne) {
  const std::string list = Write("cuts.lst", "[LIST TITLE]\r\ntitle=Trip\r\n[Quay]\r\nIMG_1.JPG\r\n[Boats] x\r\n[Quay]\r\n");
  char cut[2048] = "";
  int result = 0;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kCutDialog);
      if (!dialog) return;
      HWND titles = GetDlgItem(dialog, kTitleList);
      EXPECT_EQ(ListBoxRows(titles), (std::vector<std::string>{"Quay", "Boats", "Quay"}));
      EXPECT_EQ(ListBoxSelection(titles), 0);
      SelectListBoxRow(titles, 1);
      Press(dialog, IDOK);
    });
    result = SelectCutNameDlg(list.c_str(), cut);
  }
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(cut, "Boats");
}

TEST_F(CutTitleDialogTest, OkDoesNothingOnAListWithoutCuts) {
  const std::string list = Write("empty.lst", "[LIST TITLE]\r\ntitle=Trip\r\n");
  char cut[2048] = "unchanged";
  int result = 0;
  {
    DialogDriver driver([&] {
      HWND dialog = WaitForDialog(kCutDialog);
      if (!dialog) return;
      EXPECT_TRUE(ListBoxRows(GetDlgItem(dialog, kTitleList)).empty());
      Press(dialog, IDOK);
      Sleep(300);
      EXPECT_TRUE(DialogOpen(kCutDialog));
      Press(dialog, IDCANCEL);
    });
    result = SelectCutNameDlg(list.c_str(), cut);
  }
  EXPECT_EQ(result, 2);
  EXPECT_STREQ(cut, "unchanged");
}

TEST_F(CutTitleDialogTest, CommonFileDialogShowsTheFixedListAndAlwaysReturnsOne) {
  const fs::path fixed = "C:\\tmp\\data\\gtest.lst";  // in the test prefix
  fs::create_directories(fixed.parent_path());
  std::ofstream(fixed, std::ios::binary) << "[LIST TITLE]\r\n[Fixed cut]\r\n";
  for (int button : {IDOK, IDCANCEL}) {
    int result = 0;
    {
      DialogDriver driver([&] {
        HWND dialog = WaitForDialog(kCutDialog);
        if (!dialog) return;
        EXPECT_EQ(ListBoxRows(GetDlgItem(dialog, kTitleList)), std::vector<std::string>{"Fixed cut"});
        Press(dialog, button);
      });
      result = ShowCommonFileDlg(7, 9);
    }
    EXPECT_EQ(result, 1) << button;
  }
  std::error_code ignored;
  for (fs::path p = fixed; p != p.root_path(); p = p.parent_path()) fs::remove(p, ignored);  // the empty folders too
}

}  // namespace
