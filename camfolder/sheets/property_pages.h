// The property sheets of camera objects: the connection settings, drives,
// one folder, one file, and several files and folders together. Each shows
// what was gathered into its records and writes back only attribute changes
// and connection settings; a record's changed flag is set when something
// was written. Every sheet is modal and returns the PropertySheetA result,
// -1 when it cannot be made.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <span>

#include "sheets/property_records.h"
#include "win_raii.h"

namespace camfolder {

// The connection page's address field: the IP address control, or a plain
// edit field on shells before 4.71.
enum class AddressField { kIpControl, kPlainEdit };
AddressField AddressFieldForShell(DWORD shellVersion);

// The connection settings as one page, for the shell's own sheet of the
// camera junction. When changed is given, it is set once settings are
// applied; it must outlive the page.
unique_propsheetpage CreateConnectionPage(AddressField field, bool *changed = nullptr);

// The connection sheet ("Lumo"), with the field the shell takes.
INT_PTR ShowConnectionSheet(HWND owner, bool &changed);
INT_PTR ShowConnectionSheet(HWND owner, AddressField field, bool &changed);

INT_PTR ShowDriveSheet(HWND owner, std::span<DrivePageRecord> drives);
INT_PTR ShowFolderSheet(HWND owner, FolderPageRecord &folder);
INT_PTR ShowFileSheet(HWND owner, FilePageRecord &file);
INT_PTR ShowMultiItemSheet(HWND owner, MultiItemRecord &items);

}  // namespace camfolder
