// camctl.exe as a process against the camera simulator: every command, its
// output, its error lines and its exit codes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "camctl_runner.h"
#include "camsim_process.h"
#include "child_process.h"

namespace {

std::string ReadLocal(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteLocal(const std::string &path, const std::string &bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

// Bytes that differ at every position within a chunk, so a lost or repeated
// packet shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
  return bytes;
}

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

class Camctl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    address_ = CamsimProcess::NextAddress();
    if (!camsim_.Start(address_, {}, startError_)) return;
    CreateDirectoryA("camctl_work", nullptr);
  }
  static void TearDownTestSuite() {
    StopLinkHost(address_);
    camsim_.Stop();
    RemoveTree("camctl_work");
  }
  void SetUp() override {
    if (!startError_.empty()) GTEST_FAIL() << startError_;
  }

  static void RemoveTree(const std::string &folder) {
    WIN32_FIND_DATAA found;
    const unique_find find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (find) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          DeleteFileA(path.c_str());
      } while (FindNextFileA(find.get(), &found));
    }
    RemoveDirectoryA(folder.c_str());
  }

  // camctl with the simulator's address.
  static CamctlRun Run(std::vector<std::string> arguments, const std::string &input = "") {
    arguments.insert(arguments.begin(), {"--address", address_});
    return RunCamctl(arguments, input);
  }
  static std::string Work(const std::string &name) { return "camctl_work\\" + name; }

  static std::string address_;
  static std::string startError_;
  static CamsimProcess camsim_;
};

std::string Camctl::address_;
std::string Camctl::startError_;
CamsimProcess Camctl::camsim_;

TEST_F(Camctl, HelpAndCommandLineErrors) {
  CamctlRun run = RunCamctl({"--help"});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(Contains(run.out, "Exit codes:"));
  run = RunCamctl({"help", "put"});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(Contains(run.out, "--replace"));
  run = RunCamctl({"bogus"});
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_TRUE(Contains(run.err, "camctl: unknown command 'bogus'")) << run.err;
  run = RunCamctl({"--address", "300.1.1.1", "info"});
  EXPECT_EQ(run.exitCode, 2u);
  run = Run({"ls", "7:/"});
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_TRUE(Contains(run.err, "bad camera path '7:/'")) << run.err;
  EXPECT_TRUE(run.out.empty());
}

TEST_F(Camctl, NoCameraAtTheAddressExitsWithFive) {
  const std::string nowhere = CamsimProcess::NextAddress();
  const CamctlRun run = RunCamctl({"--address", nowhere, "drives"});
  StopLinkHost(nowhere);
  EXPECT_EQ(run.exitCode, 5u) << run.err;
  EXPECT_TRUE(Contains(run.err, "camctl: cannot open the camera at " + nowhere + ": error 0x")) << run.err;
}

TEST_F(Camctl, InfoDrivesAndStampSizes) {
  CamctlRun run = Run({"info"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(Contains(run.out, "Model: 2 (LumoK10)")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Protocol version: 2")) << run.out;
  run = Run({"drives"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(Contains(run.out, "\n0      Internal      yes")) << run.out;
  EXPECT_TRUE(Contains(run.out, "\n1      CF            yes")) << run.out;
  run = Run({"stamp-sizes"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8) << run.out;
}

TEST_F(Camctl, ListsFilesAndFoldersRecursively) {
  CamctlRun run = Run({"ls", "-R", "0:/DCIM/"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(Contains(run.out, "d----  ")) << run.out;
  EXPECT_TRUE(Contains(run.out, "  100LUMO01/\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "\n0:/DCIM/100LUMO01/:\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "1999-12-31 23:59:59")) << run.out;
  EXPECT_TRUE(Contains(run.out, "  LUMO0003.JPG\n")) << run.out;
  run = Run({"ls", "0:/DCIM/100LUMO01/MEMO.TXT"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(Contains(run.out, "1999-12-31 23:59:59")) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
  run = Run({"ls", "0:/NOWHERE/"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.err, "camctl: cannot list 0:/NOWHERE/: error 0xFE07 (the drive, folder or file does not exist)\n");
}

TEST_F(Camctl, FetchesPicturesThumbnailsAndWholeFolders) {
  CamctlRun run = Run({"get", "0:/DCIM/100LUMO01/LUMO0001.JPG", Work("")});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  const std::string picture = ReadLocal(Work("LUMO0001.JPG"));
  ASSERT_GT(picture.size(), 2u);
  EXPECT_EQ(picture.substr(0, 2), "\xFF\xD8");
  run = Run({"ls", "0:/DCIM/100LUMO01/LUMO0001.JPG"});
  EXPECT_TRUE(Contains(run.out, " " + std::to_string(picture.size()) + "  LUMO0001.JPG")) << run.out;

  run = Run({"thumb", "0:/DCIM/100LUMO01/LUMO0001.JPG", Work("")});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  const std::string thumbnail = ReadLocal(Work("LUMO0001_thumb.jpg"));
  ASSERT_GT(thumbnail.size(), 2u);
  EXPECT_EQ(thumbnail.substr(0, 2), "\xFF\xD8");
  EXPECT_LT(thumbnail.size(), picture.size());

  run = Run({"get", "0:/DCIM/101LUMO01", Work("")});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(ReadLocal(Work("101LUMO01\\LUMO0003.JPG")), picture);

  run = Run({"get", "0:/DCIM/100LUMO01/NONE.JPG", Work("")});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(Contains(run.err, "error 0xFE07")) << run.err;
  EXPECT_EQ(GetFileAttributesA(Work("NONE.JPG").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Camctl, SendsFilesAndReceivesThemBackByteForByte) {
  ASSERT_EQ(Run({"mkdir", "0:/SENT"}).exitCode, 0u);
  // Sizes around the simulator's 8192-byte packets.
  for (size_t size : {size_t{0}, size_t{1}, size_t{8166}, size_t{8167}, size_t{8168}, size_t{40000}}) {
    const std::string name = "S" + std::to_string(size) + ".BIN";
    WriteLocal(Work(name), Pattern(size));
    CamctlRun run = Run({"put", Work(name), "0:/SENT/"});
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    run = Run({"get", "0:/SENT/" + name, Work("back.bin")});
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(ReadLocal(Work("back.bin")), Pattern(size)) << size;
  }
  WriteLocal(Work("S1.BIN"), "new");
  CamctlRun run = Run({"put", Work("S1.BIN"), "0:/SENT"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(Contains(run.err, "error 0x8F07 (an item with the given name already exists); use --replace")) << run.err;
  run = Run({"put", "--replace", Work("S1.BIN"), "0:/SENT"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  ASSERT_EQ(Run({"get", "0:/SENT/S1.BIN", Work("back.bin")}).exitCode, 0u);
  EXPECT_EQ(ReadLocal(Work("back.bin")), "new");

  run = Run({"put", Work("missing.bin"), "0:/SENT/"});
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_TRUE(Contains(run.err, "missing.bin")) << run.err;
}

TEST_F(Camctl, SendsAndFetchesFolderTreesWithTheProgressDialog) {
  CreateDirectoryA(Work("TREE").c_str(), nullptr);
  CreateDirectoryA(Work("TREE\\INNER").c_str(), nullptr);
  WriteLocal(Work("TREE\\A.BIN"), Pattern(3000));
  WriteLocal(Work("TREE\\INNER\\B.BIN"), Pattern(9000));
  CamctlRun run = Run({"--progress", "put", Work("TREE"), "0:/"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  run = Run({"ls", "-R", "0:/TREE/"});
  EXPECT_TRUE(Contains(run.out, "  INNER/\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "9000  B.BIN\n")) << run.out;
  run = Run({"--progress", "get", "0:/TREE/", Work("copy")});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(ReadLocal(Work("copy\\A.BIN")), Pattern(3000));
  EXPECT_EQ(ReadLocal(Work("copy\\INNER\\B.BIN")), Pattern(9000));
}

TEST_F(Camctl, CancelInTheProgressDialogExitsWithFour) {
  WriteLocal(Work("LONG.BIN"), Pattern(6 << 20));
  CamctlProcess camctl;
  ASSERT_TRUE(camctl.Start({"--address", address_, "--progress", "put", Work("LONG.BIN"), "0:/"}));
  const HWND dialog = WaitForWindow("File transfer...", 60000);
  if (dialog) PressButton(dialog, IDCANCEL);
  const CamctlRun run = camctl.Finish();
  ASSERT_NE(dialog, nullptr) << run.err;
  EXPECT_EQ(run.exitCode, 4u) << run.err;
  EXPECT_TRUE(Contains(run.err, "error 0xFF61 (")) << run.err;
  EXPECT_TRUE(run.out.empty()) << run.out;
}

TEST_F(Camctl, EditsFoldersFilesAndAttributes) {
  ASSERT_EQ(Run({"mkdir", "0:/EDIT", "0:/EDIT/SUB"}).exitCode, 0u);
  WriteLocal(Work("A.BIN"), Pattern(100));
  ASSERT_EQ(Run({"put", Work("A.BIN"), "0:/EDIT"}).exitCode, 0u);
  CamctlRun run = Run({"mkdir", "0:/EDIT"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(Contains(run.err, "error 0x8F07")) << run.err;

  EXPECT_EQ(Run({"cp", "0:/EDIT/A.BIN", "0:/EDIT/B.BIN"}).exitCode, 0u);
  EXPECT_EQ(Run({"mv", "0:/EDIT/B.BIN", "0:/EDIT/C.BIN"}).exitCode, 0u);  // a rename
  EXPECT_EQ(Run({"mv", "0:/EDIT/C.BIN", "0:/EDIT/SUB/"}).exitCode, 0u);   // a move
  EXPECT_EQ(Run({"mv", "0:/EDIT/SUB", "0:/EDIT/SUB2"}).exitCode, 0u);     // a folder rename
  run = Run({"ls", "-R", "0:/EDIT/"});
  EXPECT_TRUE(Contains(run.out, "100  A.BIN\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "0:/EDIT/SUB2/:\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "100  C.BIN\n")) << run.out;

  run = Run({"attr", "0:/EDIT/A.BIN", "+r"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  run = Run({"attr", "0:/EDIT/A.BIN"});
  EXPECT_TRUE(Contains(run.out, "-r--a  0x21  0:/EDIT/A.BIN")) << run.out;
  run = Run({"rm", "0:/EDIT/A.BIN"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(Contains(run.err, "camctl: cannot erase 0:/EDIT/A.BIN: error 0x")) << run.err;
  EXPECT_EQ(Run({"rm", "-f", "0:/EDIT/A.BIN"}).exitCode, 0u);
  run = Run({"rm", "0:/EDIT/SUB2"});
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_TRUE(Contains(run.err, "0:/EDIT/SUB2 is a folder; use rmdir")) << run.err;
  run = Run({"attr", "0:/EDIT/SUB2", "rx"});
  EXPECT_EQ(run.exitCode, 2u);

  ASSERT_EQ(Run({"rmdir", "0:/EDIT"}).exitCode, 0u);  // with its files and sub-folder
  EXPECT_EQ(Run({"ls", "0:/EDIT/"}).exitCode, 1u);
}

TEST_F(Camctl, FormatsOnlyWhenConfirmed) {
  CamctlRun run = Run({"format", "1"}, "n\n");
  EXPECT_EQ(run.exitCode, 4u);
  EXPECT_TRUE(Contains(run.err, "not confirmed")) << run.err;
  EXPECT_EQ(Run({"ls", "1:/DCIM/"}).exitCode, 0u);
  run = Run({"--yes", "format", "0"});
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_TRUE(Contains(run.err, "error 0x8F11 (this drive cannot be formatted)")) << run.err;
  EXPECT_EQ(Run({"format", "3"}).exitCode, 2u);
  run = Run({"format", "1"}, "y\n");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  run = Run({"ls", "1:/"});
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.out.empty()) << run.out;
}

TEST_F(Camctl, SavesAndRestoresTheConfiguration) {
  const std::string original = "[ZL1]\r\nLanguage=0\r\nQuality=2\r\n";
  CamctlRun run = Run({"config-get", Work("config.bak")});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(ReadLocal(Work("config.bak")), original);
  WriteLocal(Work("changed.bak"), "[ZL1]\r\nLanguage=1\r\nQuality=3\r\n");
  ASSERT_EQ(Run({"config-set", Work("changed.bak")}).exitCode, 0u);
  run = Run({"config-get", "-"});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(run.rawOut, "[ZL1]\r\nLanguage=1\r\nQuality=3\r\n");
  ASSERT_EQ(Run({"config-set", Work("config.bak")}).exitCode, 0u);
  WriteLocal(Work("empty.bak"), "");
  run = Run({"config-set", Work("empty.bak")});
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_TRUE(Contains(run.err, "is empty")) << run.err;
}

TEST_F(Camctl, StoredSettingsServeCommandsWithoutAddress) {
  CamctlRun run = RunCamctl({"settings", "LAN", address_});
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  run = RunCamctl({"settings"});
  EXPECT_EQ(run.out, "Device: LAN\nAddress: " + address_ + "\n");
  run = RunCamctl({"info"});
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(Contains(run.out, "Address: " + address_)) << run.out;
  EXPECT_EQ(RunCamctl({"settings", "COM12"}).exitCode, 2u);
  RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection");
  run = RunCamctl({"info"});
  EXPECT_EQ(run.exitCode, 5u);
  EXPECT_TRUE(Contains(run.err, "no camera address")) << run.err;
}

}  // namespace
