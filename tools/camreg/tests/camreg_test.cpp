// camreg against the real registry of the test prefix: what install writes,
// that repeating it changes nothing, that uninstall leaves nothing behind,
// and that the link host is found by its bare name from anywhere.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "camsim_process.h"
#include "child_process.h"
#include "win_raii.h"

namespace {

const std::string kFolderKey = "Software\\Classes\\CLSID\\{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}";
const std::string kExtensionKey = "Software\\Classes\\CLSID\\{9E3A6F14-2C58-47B1-A0D9-6B1E8C7F3A25}";
const std::string kJunctionKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
    "{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}";
const std::string kAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\linkhost.exe";
const std::string kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::string BinFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

DWORD RunIn(const std::string &commandLine, const char *folder = nullptr) {
  std::string line = commandLine;
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!StartProcess(commandLine, FALSE, startup, process, folder)) return 0xDEAD;
  CloseHandle(process.hThread);
  const unique_handle owned(process.hProcess);
  if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

bool KeyExists(const std::string &key) {
  unique_hkey opened;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

std::string Text(const std::string &key, const char *name) {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "(missing)";
  return value;
}

DWORD Number(const std::string &key, const char *name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

class Camreg : public ::testing::Test {
 protected:
  void TearDown() override { RunIn("camreg.exe uninstall"); }
};

TEST_F(Camreg, InstallWritesBothClassesTheJunctionAndTheLinkHostPath) {
  const std::string bin = BinFolder();
  for (int round = 0; round < 2; ++round) {  // a second install changes nothing
    ASSERT_EQ(RunIn("camreg.exe install"), 0u);
    EXPECT_EQ(Text(kFolderKey, nullptr), "Lumo");
    EXPECT_EQ(Text(kFolderKey + "\\InprocServer32", nullptr), bin + "\\camfolder.dll");
    EXPECT_EQ(Text(kFolderKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Text(kFolderKey + "\\DefaultIcon", nullptr), bin + "\\camfolder.dll,-1");
    EXPECT_EQ(Number(kFolderKey + "\\ShellFolder", "Attributes"), 0xB0000140u);
    EXPECT_EQ(Text(kFolderKey + "\\shellex\\ContextMenuHandlers\\Lumo", nullptr),
              "{9E3A6F14-2C58-47B1-A0D9-6B1E8C7F3A25}");
    EXPECT_EQ(Text(kFolderKey + "\\shellex\\PropertySheetHandlers\\Lumo", nullptr),
              "{9E3A6F14-2C58-47B1-A0D9-6B1E8C7F3A25}");
    EXPECT_EQ(Text(kExtensionKey + "\\InprocServer32", nullptr), bin + "\\camfolder.dll");
    EXPECT_EQ(Text(kJunctionKey, nullptr), "Lumo");
    EXPECT_EQ(Text(kApprovedKey, "{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}"), "Lumo");
    EXPECT_EQ(Text(kAppPathKey, nullptr), bin + "\\linkhost.exe");
    EXPECT_EQ(Text(kAppPathKey, "Path"), bin);
  }
  // Only the machine hive: a shell reading both would show the camera twice.
  unique_hkey user;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kJunctionKey.c_str(), 0, KEY_READ, user.put()), ERROR_SUCCESS);
}

TEST_F(Camreg, UninstallLeavesNothingBehindAndCanBeRepeated) {
  ASSERT_EQ(RunIn("camreg.exe install"), 0u);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(RunIn("camreg.exe uninstall"), 0u);
    for (const std::string &key : {kFolderKey, kExtensionKey, kJunctionKey, kAppPathKey})
      EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_EQ(Text(kApprovedKey, "{5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}"), "(missing)");
    EXPECT_EQ(Text(kApprovedKey, "{9E3A6F14-2C58-47B1-A0D9-6B1E8C7F3A25}"), "(missing)");
  }
}

TEST_F(Camreg, RefusesWhatCannotWork) {
  EXPECT_EQ(RunIn("camreg.exe install Z:\\nowhere\\camfolder.dll"), 1u);
  EXPECT_FALSE(KeyExists(kFolderKey));
  EXPECT_EQ(RunIn("camreg.exe"), 2u);
  EXPECT_EQ(RunIn("camreg.exe register"), 2u);
  EXPECT_EQ(RunIn("camreg.exe --help"), 0u);
}

// A client whose folder holds no link host, run from a current directory
// elsewhere, still starts ours by its bare name.
TEST_F(Camreg, TheLinkHostStartsByItsBareNameFromAnywhere) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string client = std::string(temp) + "lumo-client-" + std::to_string(GetTickCount());
  const std::string elsewhere = client + "\\work";
  ASSERT_TRUE(CreateDirectoryA(client.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr));
  const std::string bin = BinFolder();
  for (const char *file : {"camctl.exe", "camapi.dll", "lanport.dll"})
    ASSERT_TRUE(CopyFileA((bin + "\\" + file).c_str(), (client + "\\" + file).c_str(), FALSE)) << file;

  CamsimProcess camsim;
  std::string error;
  const std::string address = CamsimProcess::NextAddress();
  ASSERT_TRUE(camsim.Start(address, {}, error)) << error;
  const std::string drives = "\"" + client + "\\camctl.exe\" --address " + address + " drives";
  EXPECT_EQ(RunIn(drives, elsewhere.c_str()), 5u);  // unregistered: no link host to be found
  ASSERT_EQ(RunIn("camreg.exe install"), 0u);
  EXPECT_EQ(RunIn(drives, elsewhere.c_str()), 0u);
  const HWND host = FindWindowA("ZL1_ZLtpProxyServer", ("ZL1_ZLtpProxyServer - " + address).c_str());
  EXPECT_NE(host, nullptr);
  if (host) PostMessageA(host, WM_CLOSE, 0, 0);
  Sleep(500);
  for (const char *file : {"camctl.exe", "camapi.dll", "lanport.dll"}) DeleteFileA((client + "\\" + file).c_str());
  RemoveDirectoryA(elsewhere.c_str());
  RemoveDirectoryA(client.c_str());
}

}  // namespace
