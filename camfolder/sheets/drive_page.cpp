// The drive sheet: one page (template 204) per drive with its type, label,
// used and free space and capacity. The page changes nothing.
#include <windows.h>
#include <prsht.h>

#include <vector>

#include "items/module_strings.h"
#include "resource_ids.h"
#include "sheets/page_procedure.h"
#include "sheets/property_pages.h"
#include "sheets/sheet_support.h"

namespace camfolder {

namespace {

constexpr uint32_t kNamedDrives = 3;  // internal memory, CF, ATA

// The label as stored in the string table, for drives that have one there.
std::wstring LabelText(const DrivePageRecord &drive) {
  return DriveLabelText(drive.drive).value_or(WidenAnsi(drive.label));
}

void ShowDrive(HWND window, const DrivePageRecord &drive) {
  if (drive.drive < kNamedDrives) SetControlText(window, IDC_ITEM_TYPE, ModuleTextOr(IDS_DRIVE_NAME + drive.drive, L""));
  SetControlText(window, IDC_DRIVE_LABEL, LabelText(drive));
  SetControlText(window, IDC_FILE_SYSTEM, WidenAnsi(drive.fileSystem));
  const struct {
    int bytes;
    int size;
    uint32_t value;
  } lines[] = {{IDC_USED_BYTES, IDC_USED_SIZE, drive.used},
               {IDC_FREE_BYTES, IDC_FREE_SIZE, drive.freeSpace},
               {IDC_CAPACITY_BYTES, IDC_CAPACITY_SIZE, drive.capacity}};
  for (const auto &line : lines) {
    SetControlText(window, line.bytes, ByteCount(line.value));
    SetControlText(window, line.size, SizeText(line.value));
  }
}

// The page shows its drive and changes nothing.
struct DrivePage {
  using Data = const DrivePageRecord;
  static void Show(HWND window, Data &drive) { ShowDrive(window, drive); }
  static bool Command(HWND, Data &, WPARAM) { return false; }
  static LONG_PTR Apply(HWND, Data &) { return PSNRET_NOERROR; }
};

}  // namespace

INT_PTR ShowDriveSheet(HWND owner, std::span<DrivePageRecord> drives) {
  if (drives.empty()) return -1;
  std::vector<std::wstring> labels;
  for (const DrivePageRecord &drive : drives) labels.push_back(LabelText(drive));
  std::vector<PROPSHEETPAGEW> pages;
  for (size_t i = 0; i < drives.size(); ++i) {
    PROPSHEETPAGEW page = MakePage(IDD_DRIVE_PAGE, PageProcedure<DrivePage>, &drives[i]);
    if (drives.size() > 1) {
      // Several drives: each tab is named after its drive.
      page.dwFlags |= PSP_USETITLE;
      page.pszTitle = labels[i].c_str();
    }
    pages.push_back(page);
  }
  const std::wstring caption =
      drives.size() > 1 ? FormatModuleText(IDS_AND_MORE, L"%s, ...", {labels[0]}) : labels[0];
  return ShowPageSheet(owner, caption, pages);
}

}  // namespace camfolder
