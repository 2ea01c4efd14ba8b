// The page of one camera folder (template 202) or one camera file (203):
// icon, name, type, location, size, times and the attribute boxes, of which
// read-only and archive can be changed.
#include <windows.h>
#include <prsht.h>

#include "core/camera_path.h"
#include "items/module_strings.h"
#include "items/set_attributes.h"
#include "resource_ids.h"
#include "sheets/attribute_controls.h"
#include "sheets/page_procedure.h"
#include "sheets/property_pages.h"
#include "sheets/sheet_support.h"

namespace camfolder {

namespace {

struct ItemPage {
  FolderPageRecord *folder = nullptr;  // exactly one of the two
  FilePageRecord *file = nullptr;
  bool dirty = false;  // boxes clicked since the last apply
  unique_hicon icon;

  const std::string &Path() const { return folder ? folder->path : file->path; }
  uint32_t &Attributes() { return folder ? folder->attributes : file->attributes; }
  bool &Changed() { return folder ? folder->changed : file->changed; }
};

void ShowItem(HWND window, ItemPage &page) {
  const std::string name = LastComponent(page.Path());
  ShellTypeInfo type = ShellTypeOf(name, page.folder ? FILE_ATTRIBUTE_DIRECTORY : 0);
  page.icon = std::move(type.icon);
  if (page.icon) SendDlgItemMessageA(window, IDC_ITEM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(page.icon.get()), 0);
  SetControlText(window, IDC_ITEM_TYPE, WidenAnsi(type.typeName));
  SetControlText(window, IDC_ITEM_NAME, WidenAnsi(name));
  SetControlText(window, IDC_ITEM_SHORT_NAME, WidenAnsi(name));
  SetControlText(window, IDC_ITEM_LOCATION, WidenAnsi(ParentPath(page.Path())));
  if (page.folder) {
    SetControlText(window, IDC_ITEM_SIZE, SizeLine(page.folder->totals.size));
    SetControlText(window, IDC_ITEM_COUNTS, CountsLine(page.folder->totals.files, page.folder->totals.folders));
    SetControlText(window, IDC_ITEM_DATE, DateTimeText(page.folder->time));
  } else {
    // The camera keeps one time per file: creation and last access are unknown.
    const std::wstring unknown = ModuleTextOr(IDS_UNKNOWN, L"(unknown)");
    SetControlText(window, IDC_ITEM_SIZE, SizeLine(page.file->size));
    SetControlText(window, IDC_ITEM_DATE, unknown);
    SetControlText(window, IDC_ITEM_MODIFIED, DateTimeText(page.file->time));
    SetControlText(window, IDC_ITEM_ACCESSED, unknown);
  }
  const uint32_t attributes = page.Attributes();
  ShowAttributeBoxes(window, MergeAttributeBoxes({&attributes, 1}));
  // The camera's hidden and system bits are shown, not changed.
  EnableWindow(GetDlgItem(window, IDC_HIDDEN), FALSE);
  EnableWindow(GetDlgItem(window, IDC_SYSTEM), FALSE);
}

void Apply(HWND window, ItemPage &page) {
  if (!page.dirty) return;
  const uint32_t attributes = CheckedBoxBits(ReadAttributeBoxes(window));
  if (SUCCEEDED(SetAttributes(nullptr, page.Path().c_str(), attributes))) page.Attributes() = attributes;
  page.dirty = false;
  page.Changed() = true;
}

// A click on read-only or archive marks the page changed; apply sets the bits.
struct ItemPageProcedure {
  using Data = ItemPage;
  static void Show(HWND window, ItemPage &page) { ShowItem(window, page); }
  static bool Command(HWND window, ItemPage &page, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED || !IsAttributeBox(LOWORD(wParam))) return false;
    page.dirty = true;
    MarkPageChanged(window);
    return true;
  }
  static LONG_PTR Apply(HWND window, ItemPage &page) {
    camfolder::Apply(window, page);
    return PSNRET_NOERROR;
  }
};

INT_PTR ShowItemSheet(HWND owner, unsigned templateId, ItemPage &page) {
  PROPSHEETPAGEW pages[] = {MakePage(templateId, PageProcedure<ItemPageProcedure>, &page)};
  return ShowPageSheet(owner, WidenAnsi(LastComponent(page.Path())), pages);
}

}  // namespace

INT_PTR ShowFolderSheet(HWND owner, FolderPageRecord &folder) {
  ItemPage page;
  page.folder = &folder;
  return ShowItemSheet(owner, IDD_FOLDER_PAGE, page);
}

INT_PTR ShowFileSheet(HWND owner, FilePageRecord &file) {
  ItemPage page;
  page.file = &file;
  return ShowItemSheet(owner, IDD_FILE_PAGE, page);
}

}  // namespace camfolder
