// The page of several camera files and folders (template 205): what they
// hold together, their common type and location, and three-state attribute
// boxes that change only the bits the user decides.
#include <windows.h>
#include <prsht.h>

#include <vector>

#include "core/camera_path.h"
#include "core/sheet_values.h"
#include "items/module_strings.h"
#include "items/set_attributes.h"
#include "resource_ids.h"
#include "sheets/attribute_controls.h"
#include "sheets/page_procedure.h"
#include "sheets/property_pages.h"
#include "sheets/sheet_support.h"

namespace camfolder {

namespace {

struct MultiItemPage {
  MultiItemRecord *record = nullptr;
  bool dirty = false;
};

// "すべて %s" with the text all items share, else the text for several.
std::wstring CommonLine(const std::vector<std::string> &texts, TextCase compare, unsigned severalId,
                        const wchar_t *severalFallback) {
  if (const auto common = CommonText(texts, compare)) return FormatModuleText(IDS_ALL_OF, L"All %s", {WidenAnsi(*common)});
  return ModuleTextOr(severalId, severalFallback);
}

void ShowItems(HWND window, const MultiItemRecord &record) {
  std::vector<std::string> types;
  std::vector<std::string> parents;
  for (const std::string &path : record.paths) {
    const bool folder = PathKindOf(path.c_str()) == kFolderPath;
    types.push_back(ShellTypeName(LastComponent(path), folder ? FILE_ATTRIBUTE_DIRECTORY : 0));
    parents.push_back(ParentPath(path));
  }
  SetControlText(window, IDC_ITEM_COUNTS, CountsLine(record.totals.files, record.totals.folders));
  SetControlText(window, IDC_ITEM_SIZE, SizeLine(record.totals.size));
  SetControlText(window, IDC_ITEM_TYPE, CommonLine(types, TextCase::kExact, IDS_SEVERAL_TYPES, L"Several types"));
  SetControlText(window, IDC_ITEM_LOCATION,
                 CommonLine(parents, TextCase::kCameraNames, IDS_SEVERAL_PLACES, L"Several places"));
  ShowAttributeBoxes(window, MergeAttributeBoxes(record.attributes));
}

void ClickBox(HWND window, int control, MultiItemPage &page) {
  ShowBox(window, control, ClickedBoxState(ReadBox(window, control)));
  page.dirty = true;
  MarkPageChanged(window);
}

void Apply(HWND window, MultiItemPage &page) {
  if (!page.dirty) return;
  MultiItemRecord &record = *page.record;
  const BoxStates states = ReadAttributeBoxes(window);
  for (size_t i = 0; i < record.paths.size(); ++i) {
    const uint32_t attributes = ApplyAttributeBoxes(record.attributes[i], states);
    // One message is enough: after a failure the rest is left as it is.
    if (FAILED(SetAttributes(nullptr, record.paths[i].c_str(), attributes))) break;
    record.attributes[i] = attributes;
  }
  page.dirty = false;
  record.changed = true;
  ShowAttributeBoxes(window, MergeAttributeBoxes(record.attributes));
}

// A click turns a box to its next state; apply changes only the decided bits.
struct MultiItemPageProcedure {
  using Data = MultiItemPage;
  static void Show(HWND window, MultiItemPage &page) { ShowItems(window, *page.record); }
  static bool Command(HWND window, MultiItemPage &page, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED || !IsAttributeBox(LOWORD(wParam))) return false;
    ClickBox(window, LOWORD(wParam), page);
    return true;
  }
  static LONG_PTR Apply(HWND window, MultiItemPage &page) {
    camfolder::Apply(window, page);
    return PSNRET_NOERROR;
  }
};

}  // namespace

INT_PTR ShowMultiItemSheet(HWND owner, MultiItemRecord &items) {
  if (items.paths.empty() || items.attributes.size() != items.paths.size()) return -1;
  MultiItemPage page{&items};
  PROPSHEETPAGEW pages[] = {MakePage(IDD_MULTI_ITEM_PAGE, PageProcedure<MultiItemPageProcedure>, &page)};
  const std::wstring first = WidenAnsi(LastComponent(items.paths[0]));
  return ShowPageSheet(owner, FormatModuleText(IDS_AND_MORE, L"%s", {first}), pages);
}

}  // namespace camfolder
