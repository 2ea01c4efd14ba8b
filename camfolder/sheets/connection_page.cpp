// The connection settings page: the device the camera hangs on and its IP
// address. USB and the COM ports reach the camera through the virtual server
// on this PC, so they take 127.0.0.1 and grey the address; LAN takes the
// address the user gives.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>

#include <new>

#include "camapi.h"
#include "core/address_text.h"
#include "core/connection_settings.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "resource_ids.h"
#include "sheets/page_procedure.h"
#include "sheets/property_pages.h"
#include "sheets/sheet_support.h"

namespace camfolder {

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

struct ConnectionPage {
  AddressField field;
  bool *changed;  // may be null
  bool ready = false;  // filled: later changes are the user's
};

HWND AddressControl(HWND window) { return GetDlgItem(window, IDC_ADDRESS); }

void ShowAddress(HWND window, const ConnectionPage &page, uint32_t address) {
  if (page.field == AddressField::kIpControl) {
    SendMessageA(AddressControl(window), IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    return;
  }
  SetControlText(window, IDC_ADDRESS,
                 FormatModuleText(IDS_ADDRESS_TEXT, L"%-3d .  %-3d .  %-3d .  %-3d",
                                  {std::to_wstring(address >> 24), std::to_wstring((address >> 16) & 0xFF),
                                   std::to_wstring((address >> 8) & 0xFF), std::to_wstring(address & 0xFF)}));
}

std::optional<uint32_t> ReadAddress(HWND window, const ConnectionPage &page) {
  if (page.field == AddressField::kIpControl) {
    DWORD address = 0;
    SendMessageA(AddressControl(window), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
  }
  char text[64] = "";
  GetWindowTextA(AddressControl(window), text, sizeof text);
  return ParseAddressText(text);
}

void Initialize(HWND window, ConnectionPage &page) {
  // The stored settings as they are now, into the process-wide copy.
  ReadConnectionSettings();
  const ConnectionSettings settings = CurrentSettings();
  const HWND devices = GetDlgItem(window, IDC_DEVICE);
  for (const char *device : kConnectionDevices) SendMessageA(devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(device));
  SendMessageA(devices, CB_SETCURSEL, static_cast<WPARAM>(settings.device), 0);
  ShowAddress(window, page, settings.address);
  if (settings.device != kLanDevice) EnableWindow(AddressControl(window), FALSE);
  page.ready = true;
}

void DeviceChosen(HWND window, const ConnectionPage &page) {
  const LRESULT device = SendDlgItemMessageA(window, IDC_DEVICE, CB_GETCURSEL, 0, 0);
  EnableWindow(AddressControl(window), TRUE);
  if (device != kLanDevice) {
    ShowAddress(window, page, kLoopback);
    EnableWindow(AddressControl(window), FALSE);
  }
  MarkPageChanged(window);
}

// The settings written; PSNRET_INVALID_NOCHANGEPAGE keeps the page open when
// the address cannot be read or the settings cannot be stored.
LONG_PTR Apply(HWND window, ConnectionPage &page) {
  const LRESULT device = SendDlgItemMessageA(window, IDC_DEVICE, CB_GETCURSEL, 0, 0);
  // Without a device chosen there is nothing to store.
  if (device < 0 || device >= static_cast<LRESULT>(kConnectionDevices.size())) return PSNRET_NOERROR;
  const auto address = ReadAddress(window, page);
  if (!address) {
    MessageBeep(MB_ICONEXCLAMATION);
    SetFocus(AddressControl(window));
    SendMessageA(AddressControl(window), EM_SETSEL, 0, -1);
    return PSNRET_INVALID_NOCHANGEPAGE;
  }
  CurrentSettings() = {static_cast<int>(device), *address};
  const ZLXRESULT result =
      ZlxSetConnectionInfo(kConnectionDevices[static_cast<size_t>(device)], FormatIpAddress(*address).c_str());
  if (!ZlxSucceeded(result)) {
    ShowCameraError(window, result);
    return PSNRET_INVALID_NOCHANGEPAGE;
  }
  if (page.changed) *page.changed = true;
  return PSNRET_NOERROR;
}

// Once filled, a chosen device or a typed address marks the page changed.
struct ConnectionPageProcedure {
  using Data = ConnectionPage;
  static void Show(HWND window, ConnectionPage &page) { Initialize(window, page); }
  static bool Command(HWND window, ConnectionPage &page, WPARAM wParam) {
    if (!page.ready) return false;
    if (LOWORD(wParam) == IDC_DEVICE && HIWORD(wParam) == CBN_SELCHANGE) {
      DeviceChosen(window, page);
      return true;
    }
    // Both kinds of address field report typing as EN_CHANGE.
    if (LOWORD(wParam) == IDC_ADDRESS && HIWORD(wParam) == EN_CHANGE) {
      MarkPageChanged(window);
      return true;
    }
    return false;
  }
  static LONG_PTR Apply(HWND window, ConnectionPage &page) { return camfolder::Apply(window, page); }
};

// The page's data lives as long as the page.
UINT CALLBACK ConnectionPageCallback(HWND, UINT message, PROPSHEETPAGEW *page) {
  if (message == PSPCB_RELEASE) delete reinterpret_cast<ConnectionPage *>(page->lParam);
  return 1;
}

}  // namespace

AddressField AddressFieldForShell(DWORD shellVersion) {
  return shellVersion >= ShellVersionOf(4, 71) ? AddressField::kIpControl : AddressField::kPlainEdit;
}

unique_propsheetpage CreateConnectionPage(AddressField field, bool *changed) {
  if (field == AddressField::kIpControl) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&classes);
  }
  auto *data = new (std::nothrow) ConnectionPage{field, changed};
  if (!data) return unique_propsheetpage();
  PROPSHEETPAGEW page =
      MakePage(field == AddressField::kIpControl ? IDD_CONNECTION_PAGE : IDD_CONNECTION_PAGE_EDIT,
               PageProcedure<ConnectionPageProcedure>, data);
  page.dwSize = CommonControlsVersion() >= ShellVersionOf(4, 71) ? kPageSizeV2 : kPageSizeV1;
  page.dwFlags |= PSP_USECALLBACK;
  page.pfnCallback = ConnectionPageCallback;
  unique_propsheetpage made(CreatePropertySheetPageW(&page));
  if (!made) delete data;
  return made;
}

INT_PTR ShowConnectionSheet(HWND owner, bool &changed) {
  return ShowConnectionSheet(owner, AddressFieldForShell(ShellVersion()), changed);
}

INT_PTR ShowConnectionSheet(HWND owner, AddressField field, bool &changed) {
  unique_propsheetpage page = CreateConnectionPage(field, &changed);
  if (!page) return -1;
  const std::wstring caption = ModuleTextOr(IDS_CAMERA_NAME, L"Lumo");
  HPROPSHEETPAGE pages[] = {page.release()};  // the sheet destroys its pages
  PROPSHEETHEADERW sheet{};
  sheet.dwSize = kSheetSizeV1;
  sheet.dwFlags = PSH_PROPTITLE;
  sheet.hwndParent = owner;
  sheet.hInstance = ModuleInstance();
  sheet.pszCaption = caption.c_str();
  sheet.nPages = 1;
  sheet.phpage = pages;
  return PropertySheetW(&sheet);
}

}  // namespace camfolder
