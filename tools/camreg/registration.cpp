#include "registration.h"

#include <windows.h>

#include <vector>

#include "folder/camfolder_guids.h"
#include "win_raii.h"

namespace {

using camfolder::kCameraFolderClassText;
using camfolder::kRootExtensionClassText;

// Machine-wide, and only there: a shell that reads both hives would show
// the camera twice.
const HKEY kHive = HKEY_LOCAL_MACHINE;
const std::string kClasses = "Software\\Classes\\CLSID\\";
const std::string kFolderKey = kClasses + kCameraFolderClassText;
const std::string kExtensionKey = kClasses + kRootExtensionClassText;
const std::string kJunctionKey =
    std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\") +
    kCameraFolderClassText;
const std::string kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const std::string kAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\linkhost.exe";

constexpr char kClassName[] = "Lumo";
// Folder, has sub-folders, file-system ancestor (the file dialogs list it
// only then), drop target, has property sheet.
constexpr DWORD kJunctionAttributes = 0xB0000140;

struct Value {
  std::string key;
  const char *name;  // nullptr: the key's default value
  DWORD type;
  std::string text;
  DWORD number = 0;
};

std::vector<Value> ValuesFor(const std::string &dllPath) {
  const std::string folder = dllPath.substr(0, dllPath.find_last_of('\\'));
  return {
      {kFolderKey, nullptr, REG_SZ, kClassName},
      {kFolderKey + "\\InprocServer32", nullptr, REG_SZ, dllPath},
      {kFolderKey + "\\InprocServer32", "ThreadingModel", REG_SZ, "Apartment"},
      {kFolderKey + "\\DefaultIcon", nullptr, REG_SZ, dllPath + ",-1"},
      {kFolderKey + "\\ShellFolder", "Attributes", REG_DWORD, "", kJunctionAttributes},
      {kFolderKey + "\\shellex\\ContextMenuHandlers\\Lumo", nullptr, REG_SZ, kRootExtensionClassText},
      {kFolderKey + "\\shellex\\PropertySheetHandlers\\Lumo", nullptr, REG_SZ, kRootExtensionClassText},
      {kExtensionKey, nullptr, REG_SZ, kClassName},
      {kExtensionKey + "\\InprocServer32", nullptr, REG_SZ, dllPath},
      {kExtensionKey + "\\InprocServer32", "ThreadingModel", REG_SZ, "Apartment"},
      {kJunctionKey, nullptr, REG_SZ, kClassName},
      {kApprovedKey, kCameraFolderClassText, REG_SZ, kClassName},
      {kApprovedKey, kRootExtensionClassText, REG_SZ, kClassName},
      {kAppPathKey, nullptr, REG_SZ, folder + "\\linkhost.exe"},
      {kAppPathKey, "Path", REG_SZ, folder},
  };
}

std::string Reason(const std::string &what, LONG status) {
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(status), 0,
                 text, sizeof text, nullptr);
  std::string reason = what + ": " + text;
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  if (status == ERROR_ACCESS_DENIED) reason += " (registering needs administrator rights)";
  return reason;
}

bool Write(const Value &value, std::string &error) {
  unique_hkey key;
  LONG status = RegCreateKeyExA(kHive, value.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, key.put(), nullptr);
  if (status == ERROR_SUCCESS) {
    if (value.type == REG_DWORD)
      status = RegSetValueExA(key.get(), value.name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value.number),
                              sizeof value.number);
    else
      status = RegSetValueExA(key.get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.text.c_str()),
                              static_cast<DWORD>(value.text.size() + 1));
  }
  if (status != ERROR_SUCCESS) {
    error = Reason("cannot write HKLM\\" + value.key, status);
    return false;
  }
  return true;
}

bool Gone(LONG status) { return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND; }

}  // namespace

bool InstallCameraFolder(const std::string &dllPath, std::string &error) {
  for (const Value &value : ValuesFor(dllPath))
    if (!Write(value, error)) return false;
  return true;
}

bool UninstallCameraFolder(std::string &error) {
  for (const std::string &key : {kFolderKey, kExtensionKey, kJunctionKey, kAppPathKey}) {
    const LONG status = RegDeleteTreeA(kHive, key.c_str());
    if (!Gone(status)) {
      error = Reason("cannot remove HKLM\\" + key, status);
      return false;
    }
  }
  unique_hkey approved;
  if (RegOpenKeyExA(kHive, kApprovedKey.c_str(), 0, KEY_SET_VALUE, approved.put()) == ERROR_SUCCESS) {
    for (const char *name : {kCameraFolderClassText, kRootExtensionClassText}) {
      const LONG status = RegDeleteValueA(approved.get(), name);
      if (!Gone(status)) {
        error = Reason("cannot remove the approval of " + std::string(name), status);
        return false;
      }
    }
  }
  return true;
}
