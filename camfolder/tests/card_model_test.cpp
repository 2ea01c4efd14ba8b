// The card model: seeded random sequences of what a user does with the
// camera folder through the shell's interfaces (drops of camera items and PC
// files, deletes, renames, new folders, drags out to the PC, opening files),
// against a camsim card that misbehaves at random (links closed, mid-transfer
// too, stalls, refusals). After every step the card and the PC folder are
// compared with a model of where every picture must be: a step that succeeded
// did exactly what it says, a step that failed left its sources whole, no
// picture is ever lost, and no file holds anything but a whole picture.
//
// LUMO_CARD_MODEL_SEED and LUMO_CARD_MODEL_STEPS choose the sequence (a long
// run: LUMO_CARD_MODEL_STEPS=5000, with LUMO_CARD_MODEL_ADDRESS=127.x.y.z
// beside other tests); a failure prints the seed and the step.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "camapi.h"
#include "shell_fixture.h"
#include "unix_paths.h"

namespace {

// Every file the test makes is a picture of its own: its bytes begin with
// its number, and nothing else has those bytes.
std::string Picture(unsigned id) { return "PIC#" + std::to_string(id) + "#" + Pattern(300 + id % 7 * 1500, id); }

std::optional<unsigned> PictureId(const std::string &bytes) {
  if (bytes.rfind("PIC#", 0) != 0) return std::nullopt;
  const size_t end = bytes.find('#', 4);
  if (end == std::string::npos) return std::nullopt;
  const unsigned id = static_cast<unsigned>(std::strtoul(bytes.substr(4, end - 4).c_str(), nullptr, 10));
  if (bytes != Picture(id)) return std::nullopt;  // cut short or mixed up
  return id;
}

std::string Raw(const std::string &windowsPath) { return "\\\\?\\" + windowsPath; }

// What lies where: paths to bytes, folders ending in "/" (with no bytes).
using Files = std::map<std::string, std::string>;

void ReadTree(const std::string &windowsFolder, const std::string &prefix, Files &files) {
  WIN32_FIND_DATAA entry;
  const unique_find find(FindFirstFileA(Raw(windowsFolder + "\\*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files[prefix + name + "/"];
      ReadTree(windowsFolder + "\\" + name, prefix + name + "/", files);
    } else {
      files[prefix + name] = ReadRawFile(windowsFolder + "\\" + name);
    }
  } while (FindNextFileA(find.get(), &entry));
}

bool IsFolder(const std::string &path) { return !path.empty() && path.back() == '/'; }

std::string Parent(std::string path) {
  if (IsFolder(path)) path.pop_back();
  return path.substr(0, path.rfind('/') + 1);
}

std::string LastName(std::string path) {
  if (IsFolder(path)) path.pop_back();
  return path.substr(path.rfind('/') + 1);
}

std::string Folded(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool SameText(const std::string &a, const std::string &b) { return Folded(a) == Folded(b); }

// The path and everything under it.
std::vector<std::string> Subtree(const Files &files, const std::string &path) {
  std::vector<std::string> paths;
  for (const auto &[key, bytes] : files)
    if (key == path || (IsFolder(path) && key.rfind(path, 0) == 0)) paths.push_back(key);
  return paths;
}

std::multiset<unsigned> Pictures(const Files &files) {
  std::multiset<unsigned> ids;
  for (const auto &[path, bytes] : files)
    if (const auto id = PictureId(bytes)) ids.insert(*id);
  return ids;
}

// The card and the PC folder as the test sees them.
struct World {
  Files card;  // "0:/DCIM/A.JPG"
  Files pc;    // "P12.TXT", "OUT3/A.JPG"
  bool operator==(const World &other) const { return card == other.card && pc == other.pc; }
};

std::string Difference(const Files &expected, const Files &actual) {
  std::ostringstream text;
  for (const auto &[path, bytes] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end())
      text << "  missing " << path << "\n";
    else if (found->second != bytes)
      text << "  other bytes in " << path << "\n";
  }
  for (const auto &[path, bytes] : actual)
    if (!expected.count(path)) text << "  extra " << path << "\n";
  return text.str();
}

// Answers every dialog this process shows while a step runs: an error with
// OK, a delete question with yes, a question before replacing a file with
// no, a name question with cancel, any other question with no.
class DialogAnswerer {
 public:
  DialogAnswerer() : thread_([this] { Answer(); }) {}
  ~DialogAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::exchange(shown_, {});
  }

 private:
  struct Search {
    DWORD process;
    HWND found;
  };
  static BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto *search = reinterpret_cast<Search *>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32];
    if (process == search->process && IsWindowVisible(window) &&
        GetClassNameA(window, className, sizeof className) && lstrcmpA(className, "#32770") == 0) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }
  static int ButtonFor(HWND dialog) {
    if (GetDlgItem(dialog, 11004)) return IDNO;                    // replace the camera file?
    if (GetDlgItem(dialog, 11001) || GetDlgItem(dialog, 11002) || GetDlgItem(dialog, 11003)) return IDYES;
    if (GetDlgItem(dialog, 11013)) return IDCANCEL;                // another name?
    return GetDlgItem(dialog, IDOK) ? IDOK : IDNO;
  }
  void Answer() {
    HWND last = nullptr;
    while (!stop_) {
      Search search{GetCurrentProcessId(), nullptr};
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
      if (search.found && search.found != last) {
        Sleep(100);  // its controls may come after it shows
        char text[512] = "";
        HWND child = nullptr;
        while ((child = FindWindowExA(search.found, child, "Static", nullptr)))
          if (GetWindowTextLengthA(child) > 0) GetWindowTextA(child, text, sizeof text);
        {
          std::lock_guard<std::mutex> hold(lock_);
          shown_.push_back(text);
        }
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(ButtonFor(search.found), BN_CLICKED), 0);
        last = search.found;
      } else if (!search.found) {
        last = nullptr;
      }
      Sleep(30);
    }
  }
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<std::string> shown_;
  std::thread thread_;
};

unsigned EnvironmentNumber(const char *name, unsigned fallback) {
  const char *value = std::getenv(name);
  return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

class CardModel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
    seed_ = EnvironmentNumber("LUMO_CARD_MODEL_SEED", 20261209);
    steps_ = EnvironmentNumber("LUMO_CARD_MODEL_STEPS", 200);
    random_.seed(seed_);
    for (const char *folder : {"", "/d0", "/d0/DCIM", "/d0/DCIM/100LUMO01", "/d0/F1", "/d0/F1/S1", "/d0/F2",
                               "/d0/ODD", "/d1", "/d1/DCIM", "/d1/DCIM/100LUMO01"})
      card_.MakeFolder(folder);
    // Names the PC takes for one another, or for a device.
    for (const char *odd : {"/d0/ODD/a.jpg", "/d0/ODD/A.JPG", "/d0/ODD/NUL.JPG", "/d0/ODD/B.JPG."})
      card_.MakeExactFile(odd, Picture(NextId()));
    for (const char *file : {"/d0/DCIM/100LUMO01/R0010001.JPG", "/d0/DCIM/100LUMO01/R0010002.JPG", "/d0/F1/M1.TXT",
                             "/d0/F1/S1/M2.TXT", "/d1/DCIM/100LUMO01/R0010001.JPG", "/d1/C1.JPG"})
      card_.MakeFile(file, Picture(NextId()));

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    pc_ = std::string(temp) + "lumo-model-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(pc_.c_str(), nullptr));
    for (int i = 0; i < 4; ++i) MakePcFile();

    Pause();
    // A long run by hand takes an address of its own beside the test runs.
    const char *address = std::getenv("LUMO_CARD_MODEL_ADDRESS");
    address_ = address && *address ? address : CamsimProcess::NextAddress();
    std::string error;
    const std::string faults = std::to_string(seed_) + ":0.04";
    // A long run outlives the usual limit of a test's camera; if the test
    // dies, camsim still ends once idle.
    ASSERT_TRUE(camsim_.Start(address_, {"--drive", "0=" + card_.Unix("/d0"), "--drive", "1=" + card_.Unix("/d1"),
                                         "--random-faults", faults, "--random-faults-off-while", card_.Unix("/off"),
                                         "--max-lifetime", "0"},
                              error))
        << error;
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
    world_ = Look();
  }

  void TearDown() override {
    Pause();
    CloseLinkHosts(address_);
    camsim_.Stop();
    RunShell("rm -rf '" + std::string(WindowsToUnix(pc_)) + "'");
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }

  static std::string WindowsToUnix(const std::string &path) {
    char unix[MAX_PATH * 3] = "";
    const auto convert = reinterpret_cast<char *(CDECL *)(const WCHAR *)>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    if (!convert) return path;
    char *converted = convert(wide.c_str());
    lstrcpynA(unix, converted, sizeof unix);
    HeapFree(GetProcessHeap(), 0, converted);
    return unix;
  }

  unsigned NextId() { return ++lastId_; }
  size_t Pick(size_t count) { return count ? random_() % count : 0; }

  void MakePcFile() {
    const unsigned id = NextId();
    WriteFileBytes(pc_ + "\\P" + std::to_string(id) + ".TXT", Picture(id));
  }

  // Faults are off while the card is set up, looked at and found in the shell.
  void Pause() { WriteFileBytes(card_.Windows("/off"), "off"); }
  void Resume() { DeleteFileA(card_.Windows("/off").c_str()); }

  World Look() {
    World world;
    for (const char *drive : {"0", "1"}) ReadTree(card_.Windows(std::string("/d") + drive), std::string(drive) + ":/",
                                                  world.card);
    world.card.erase("0:/off");
    ReadTree(pc_, "", world.pc);
    return world;
  }

  // The folders of the card, drives included ("0:/", "0:/F1/").
  std::vector<std::string> CardFolders() const {
    std::vector<std::string> folders{"0:/", "1:/"};
    for (const auto &[path, bytes] : world_.card)
      if (IsFolder(path)) folders.push_back(path);
    return folders;
  }

  std::vector<std::string> ChildrenOf(const std::string &folder) const {
    std::vector<std::string> children;
    for (const auto &[path, bytes] : world_.card)
      if (path != folder && Parent(path) == folder) children.push_back(path);
    return children;
  }

  // Up to three items of one folder that holds any.
  std::vector<std::string> PickItems(std::string &folder) {
    std::vector<std::string> folders;
    for (const std::string &candidate : CardFolders())
      if (!ChildrenOf(candidate).empty()) folders.push_back(candidate);
    if (folders.empty()) return {};
    folder = folders[Pick(folders.size())];
    std::vector<std::string> children = ChildrenOf(folder);
    std::shuffle(children.begin(), children.end(), random_);
    children.resize(std::min<size_t>(children.size(), 1 + Pick(3)));
    return children;
  }

  // The shell folder of a camera folder path, found as the shell finds it.
  ComPtr<IShellFolder> ShellFolder(const std::string &path) {
    std::vector<std::string> names{path.substr(0, 3)};
    for (size_t at = 3; at < path.size();) {
      const size_t slash = path.find('/', at);
      names.push_back(path.substr(at, slash + 1 - at));
      at = slash + 1;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
      const ComPtr<IShellFolder> root = BindCameraRoot();
      if (const ComPtr<IShellFolder> folder = root ? BindPath(root.Get(), names) : nullptr) return folder;
      answerer_.Take();  // a link that was closed is opened again on the next try
    }
    return nullptr;
  }

  std::vector<Child> Items(IShellFolder *folder, const std::vector<std::string> &paths) {
    std::vector<Child> items;
    for (const std::string &path : paths) {
      const std::string name = IsFolder(path) ? LastName(path) + "/" : LastName(path);
      items.push_back(Find(folder, name));
      if (!items.back().list) return {};
    }
    return items;
  }

  // The shell's object of items of one folder, found as the shell finds
  // them; false when the folder or an item is not there.
  template <typename Interface>
  bool UiObject(const std::string &folder, const std::vector<std::string> &paths, ComPtr<Interface> &object) {
    const ComPtr<IShellFolder> shell = paths.empty() ? nullptr : ShellFolder(folder);
    const std::vector<Child> children = shell ? Items(shell.Get(), paths) : std::vector<Child>{};
    std::vector<PCUITEMID_CHILD> lists;
    for (const Child &child : children) lists.push_back(child.get());
    return !lists.empty() &&
           SUCCEEDED(shell->GetUIObjectOf(nullptr, UINT(lists.size()), lists.data(), __uuidof(Interface), nullptr,
                                          reinterpret_cast<void **>(object.ReleaseAndGetAddressOf())));
  }

  // A menu command, with the camera's faults on.
  HRESULT Invoke(IContextMenu *menu, const char *verb) {
    CMINVOKECOMMANDINFO invoke{sizeof invoke};
    invoke.lpVerb = verb;
    invoke.nShow = SW_SHOWNORMAL;
    Resume();
    const HRESULT hr = menu->InvokeCommand(&invoke);
    Pause();
    return hr;
  }

  // The drop target of a camera folder or drive.
  ComPtr<IDropTarget> DropTargetOf(const std::string &target) {
    ComPtr<IDropTarget> drop;
    if (target.size() > 3) {
      UiObject(Parent(target), {target}, drop);
      return drop;
    }
    const ComPtr<IShellFolder> root = BindCameraRoot();
    const Child drive = root ? Find(root.Get(), target) : Child{};
    PCUITEMID_CHILD list = drive.get();
    if (list)
      root->GetUIObjectOf(nullptr, 1, &list, IID_IDropTarget, nullptr,
                          reinterpret_cast<void **>(drop.ReleaseAndGetAddressOf()));
    return drop;
  }

  // One step: the sources that must stay whole if it fails, the world it
  // must leave if it succeeds, the pictures it may remove.
  struct Step {
    std::string what;
    bool succeeded = false;
    std::optional<World> expected;
    std::vector<std::string> whole;
    // Moves: each file of a source may instead be whole at its destination
    // (the items before a failure went, and a source erase may break off).
    std::map<std::string, std::string> movedTo;
    std::set<unsigned> mayVanish;
  };
  // A step that changed nothing (nothing to do, or refused as it should be).
  Step Unchanged(Step step) const {
    step.succeeded = true;
    step.expected = world_;
    return step;
  }

  void Check(const Step &step, size_t index) {
    const World now = Look();
    const std::string where = "seed " + std::to_string(seed_) + ", step " + std::to_string(index) + ": " + step.what +
                              (step.succeeded ? " (succeeded)" : " (failed)");
    std::string dialogs;
    for (const std::string &text : answerer_.Take()) dialogs += "  dialog: " + text + "\n";
    if (step.succeeded && step.expected) {
      ASSERT_TRUE(*step.expected == now) << where << "\ncard:\n"
                                         << Difference(step.expected->card, now.card) << "pc:\n"
                                         << Difference(step.expected->pc, now.pc) << dialogs;
    }
    if (!step.succeeded) {
      for (const std::string &path : step.whole) {
        const bool pc = path.rfind("pc:", 0) == 0;
        const Files &before = pc ? world_.pc : world_.card;
        const Files &after = pc ? now.pc : now.card;
        const std::string source = pc ? path.substr(3) : path;
        const auto destination = step.movedTo.find(path);
        for (const std::string &inside : Subtree(before, source)) {
          const auto here = after.find(inside);
          const auto there = destination == step.movedTo.end()
                                 ? after.end()
                                 : after.find(destination->second + inside.substr(source.size()));
          ASSERT_TRUE((here != after.end() && here->second == before.at(inside)) ||
                      (there != after.end() && there->second == before.at(inside)))
              << where << "\na failed step left a file neither whole where it was nor where it went: " << inside
              << "\n" << dialogs;
        }
      }
    }
    std::multiset<unsigned> all = Pictures(now.card);
    for (const unsigned id : Pictures(now.pc)) all.insert(id);
    for (const Files *files : {&now.card, &now.pc})
      for (const auto &[path, bytes] : *files)
        ASSERT_TRUE(IsFolder(path) || PictureId(bytes)) << where << "\n" << path << " holds no whole picture\n"
                                                         << dialogs;
    std::multiset<unsigned> before = Pictures(world_.card);
    for (const unsigned id : Pictures(world_.pc)) before.insert(id);
    for (const unsigned id : before)
      ASSERT_TRUE(all.count(id) || step.mayVanish.count(id)) << where << "\npicture " << id << " is lost\n"
                                                             << dialogs;
    world_ = now;
  }

  // Camera items dropped on a camera folder, copied or moved.
  Step DropCameraItems() {
    std::string folder;
    const std::vector<std::string> sources = PickItems(folder);
    const std::vector<std::string> targets = CardFolders();
    const std::string target = targets[Pick(targets.size())];
    const bool move = Pick(2) == 0;
    Step step{std::string(move ? "move" : "copy") + " to " + target + " of"};
    for (const std::string &source : sources) step.what += " " + source;
    ComPtr<IDataObject> data;
    const ComPtr<IDropTarget> drop = DropTargetOf(target);
    if (!drop || !UiObject(folder, sources, data)) return Unchanged(step);

    // Refused onto any item itself, into any folder item, and onto the
    // folder holding them.
    bool refused = SameText(target, folder);
    for (const std::string &source : sources)
      refused = refused || SameText(target, source) || (IsFolder(source) && Folded(target).rfind(Folded(source), 0) == 0);
    World expected = world_;
    bool keptAny = false;
    for (const std::string &source : sources) {
      const std::string destination = target + LastName(source) + (IsFolder(source) ? "/" : "");
      if (move) step.movedTo[source] = destination;
      if (!IsFolder(source) && expected.card.count(destination)) {
        keptAny = true;  // the question before replacing is answered no
        continue;
      }
      for (const std::string &inside : Subtree(world_.card, source)) {
        expected.card[destination + inside.substr(source.size())] = world_.card.at(inside);
        if (move) expected.card.erase(inside);
      }
    }
    const DWORD keys = MK_LBUTTON | (move ? MK_SHIFT : MK_CONTROL);
    Resume();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    drop->DragEnter(data.Get(), keys, POINTL{1, 1}, &effect);
    const DWORD entered = effect;
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const HRESULT hr = entered ? drop->Drop(data.Get(), keys & ~MK_LBUTTON, POINTL{1, 1}, &effect) : (drop->DragLeave(), S_OK);
    Pause();
    if (refused) {
      EXPECT_EQ(entered, DROPEFFECT_NONE) << step.what;
      return Unchanged(step);
    }
    EXPECT_NE(entered, DROPEFFECT_NONE) << step.what;
    step.succeeded = hr == S_OK;
    if (step.succeeded) {
      EXPECT_EQ(effect, move && !keptAny ? DROPEFFECT_MOVE : DROPEFFECT_COPY) << step.what;
    } else {
      EXPECT_EQ(effect, DROPEFFECT_NONE) << step.what;
    }
    step.expected = expected;
    step.whole = sources;
    return step;
  }

  // PC files dropped on a camera folder, copied or moved.
  Step DropPcFiles() {
    std::vector<std::string> files;
    for (const auto &[path, bytes] : world_.pc)
      if (path.find('/') == std::string::npos) files.push_back(path);
    std::shuffle(files.begin(), files.end(), random_);
    files.resize(std::min<size_t>(files.size(), 1 + Pick(3)));
    const std::vector<std::string> targets = CardFolders();
    const std::string target = targets[Pick(targets.size())];
    const bool move = Pick(4) == 0;
    Step step{std::string(move ? "move" : "copy") + " PC files to " + target + " of"};
    for (const std::string &file : files) step.what += " " + file;
    if (files.empty()) return step;

    ComPtr<IShellFolder> desktop, pc;
    PIDLIST_RELATIVE pcList = nullptr;
    std::wstring pcPath(pc_.begin(), pc_.end());
    EXPECT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    EXPECT_EQ(desktop->ParseDisplayName(nullptr, nullptr, pcPath.data(), nullptr, &pcList, nullptr), S_OK);
    const unique_cotaskmem pcOwned(pcList);
    EXPECT_EQ(desktop->BindToObject(pcList, nullptr, IID_PPV_ARGS(&pc)), S_OK);
    std::vector<unique_cotaskmem> children;
    std::vector<PCUITEMID_CHILD> lists;
    for (const std::string &file : files) {
      PIDLIST_RELATIVE child = nullptr;
      std::wstring name(file.begin(), file.end());
      EXPECT_EQ(pc->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr), S_OK);
      children.emplace_back(child);
      lists.push_back(static_cast<PCUITEMID_CHILD>(child));
    }
    ComPtr<IDataObject> data;
    EXPECT_EQ(pc->GetUIObjectOf(nullptr, UINT(lists.size()), lists.data(), IID_IDataObject, nullptr, &data), S_OK);
    const ComPtr<IDropTarget> drop = DropTargetOf(target);
    if (!drop) return Unchanged(step);
    World expected = world_;
    for (const std::string &file : files)
      if (!expected.card.count(target + file)) expected.card[target + file] = world_.pc.at(file);
    const DWORD keys = MK_LBUTTON | (move ? MK_SHIFT : MK_CONTROL);
    Resume();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(drop->DragEnter(data.Get(), keys, POINTL{1, 1}, &effect), S_OK);
    if (move) {
      // PC files are only ever copied into the camera: Shift asks for what
      // the camera folder does not offer them.
      drop->DragLeave();
      Pause();
      EXPECT_EQ(effect, DROPEFFECT_NONE) << step.what;
      return Unchanged(step);
    }
    EXPECT_EQ(effect, DROPEFFECT_COPY) << step.what;
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const HRESULT hr = drop->Drop(data.Get(), keys & ~MK_LBUTTON, POINTL{1, 1}, &effect);
    Pause();
    step.succeeded = hr == S_OK;
    EXPECT_EQ(effect, step.succeeded ? DROPEFFECT_COPY : DROPEFFECT_NONE) << step.what;
    step.expected = expected;
    for (const std::string &file : files) step.whole.push_back("pc:" + file);
    return step;
  }

  // Items deleted through their menu's verb.
  Step Delete() {
    std::string folder;
    const std::vector<std::string> items = PickItems(folder);
    Step step{"delete"};
    for (const std::string &item : items) step.what += " " + item;
    ComPtr<IContextMenu> menu;
    if (!UiObject(folder, items, menu)) return Unchanged(step);
    World expected = world_;
    for (const std::string &item : items)
      for (const std::string &inside : Subtree(world_.card, item)) {
        if (const auto id = PictureId(world_.card.at(inside))) step.mayVanish.insert(*id);
        expected.card.erase(inside);
      }
    step.succeeded = Invoke(menu.Get(), "delete") == S_OK;
    step.expected = expected;
    return step;
  }

  // An item renamed through SetNameOf.
  Step Rename() {
    std::string folder;
    std::vector<std::string> items = PickItems(folder);
    Step step{"rename"};
    if (items.empty()) return step;
    const std::string item = items.front();
    static const char *const kFileNames[] = {"R1.JPG", "r1.jpg", "R2.JPG", "M1.TXT", "NEW.TXT"};
    static const char *const kFolderNames[] = {"FX", "fx", "FY", "F1", "S1"};
    const std::string name = IsFolder(item) ? kFolderNames[Pick(5)] : kFileNames[Pick(5)];
    step.what += " " + item + " to " + name;
    const ComPtr<IShellFolder> shell = ShellFolder(folder);
    const std::vector<Child> child = shell ? Items(shell.Get(), {item}) : std::vector<Child>{};
    if (child.empty()) return Unchanged(step);
    World expected = world_;
    if (!SameText(name, LastName(item))) {
      const std::string renamed = folder + name + (IsFolder(item) ? "/" : "");
      for (const std::string &inside : Subtree(world_.card, item)) {
        expected.card.erase(inside);
        expected.card[renamed + inside.substr(item.size())] = world_.card.at(inside);
      }
    }
    std::wstring wide(name.begin(), name.end());
    Resume();
    const HRESULT hr = shell->SetNameOf(nullptr, child.front().get(), wide.c_str(), SHGDN_NORMAL, nullptr);
    Pause();
    step.succeeded = hr == S_OK;
    step.expected = expected;
    step.whole = {item};
    return step;
  }

  // A new folder made in the folder of an item, through the item's menu.
  Step NewFolder() {
    std::string folder;
    const std::vector<std::string> items = PickItems(folder);
    Step step{"new folder in " + folder};
    ComPtr<IContextMenu> menu;
    if (items.empty() || !UiObject(folder, {items.front()}, menu)) return Unchanged(step);
    World expected = world_;
    for (unsigned n = 1; n < 100000; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "NEW%05u/", n);
      bool taken = false;
      for (const std::string &sibling : ChildrenOf(folder))
        taken = taken || SameText(LastName(sibling) + "/", name);
      if (!taken) {
        expected.card[folder + name];
        break;
      }
    }
    step.succeeded = Invoke(menu.Get(), MAKEINTRESOURCEA(20)) == S_OK;  // new folder
    step.expected = expected;
    return step;
  }

  // Items dragged out into a new PC folder: the data object hands out its
  // files as a PC folder's drop asks for them, and they are copied there.
  Step DragOut() {
    std::string folder;
    const std::vector<std::string> items = PickItems(folder);
    const std::string out = "OUT" + std::to_string(++outs_);
    Step step{"drag out to " + out + " of"};
    for (const std::string &item : items) step.what += " " + item;
    ComPtr<IDataObject> data;
    if (!UiObject(folder, items, data)) return Unchanged(step);
    const std::string outPath = pc_ + "\\" + out;
    // The drop source marks the drop as made: the files are fetched now.
    MarkDropMade(data.Get());
    Resume();
    HRESULT hr = S_OK;
    const std::vector<std::string> handed = HandedOutFiles(data.Get(), &hr);
    Pause();
    step.succeeded = hr == S_OK;
    if (!step.succeeded) return step;
    // What a PC folder does with dropped files: copies them.
    CreateDirectoryA(outPath.c_str(), nullptr);
    for (const std::string &local : handed) {
      EXPECT_EQ(local.substr(local.rfind('\\')).find_first_of("<>\"?*"), std::string::npos) << local;
      RunShell("cp -r '" + WindowsToUnix(local) + "' '" + WindowsToUnix(outPath) + "/'");
    }
    std::multiset<unsigned> selected;
    for (const std::string &item : items)
      for (const std::string &inside : Subtree(world_.card, item))
        if (const auto id = PictureId(world_.card.at(inside))) selected.insert(*id);
    Files arrived;
    ReadTree(outPath, "", arrived);
    EXPECT_EQ(Pictures(arrived), selected) << "seed " << seed_ << ": " << step.what;
    // Checked, the copies go: a long run's PC folder stays small.
    RunShell("rm -rf '" + WindowsToUnix(outPath) + "'");
    return step;
  }

  // A file opened by its parsing name: the local copy holds the camera's bytes.
  Step Open() {
    std::string folder;
    std::vector<std::string> items = PickItems(folder);
    items.erase(std::remove_if(items.begin(), items.end(), IsFolder), items.end());
    Step step{"open"};
    if (items.empty()) return step;
    step.what += " " + items.front();
    const ComPtr<IShellFolder> shell = ShellFolder(folder);
    const std::vector<Child> child = shell ? Items(shell.Get(), {items.front()}) : std::vector<Child>{};
    if (child.empty()) return Unchanged(step);
    Resume();
    const std::string local = NameOf(shell.Get(), child.front().get(), SHGDN_FORPARSING);
    Pause();
    if (local.rfind("error", 0) != 0) {
      EXPECT_TRUE(ReadRawFile(local) == world_.card.at(items.front())) << step.what;
    }
    return Unchanged(step);
  }

  void Run() {
    for (size_t i = 1; i <= steps_; ++i) {
      Step step;
      const size_t kind = Pick(20);
      if (kind < 6)
        step = DropCameraItems();
      else if (kind < 9)
        step = DropPcFiles();
      else if (kind < 11 || Pictures(world_.card).size() > 40)
        step = Delete();
      else if (kind < 13)
        step = Rename();
      else if (kind < 14)
        step = NewFolder();
      else if (kind < 16)
        step = DragOut();
      else if (kind < 18)
        step = Open();
      else if (world_.pc.size() < 12) {
        MakePcFile();
        step = {"new PC file", true, std::nullopt};
      }
      if (step.what.empty()) continue;
      Check(step, i);
      if (HasFatalFailure() || HasNonfatalFailure()) {
        ADD_FAILURE() << "stopped at seed " << seed_ << ", step " << i << ": " << step.what;
        return;
      }
    }
  }

  CameraCard card_;
  CamsimProcess camsim_;
  std::string address_;
  std::string pc_;
  unsigned seed_ = 0;
  size_t steps_ = 0;
  std::mt19937 random_;
  unsigned lastId_ = 0;
  unsigned outs_ = 0;
  World world_;
  DialogAnswerer answerer_;
};

TEST_F(CardModel, NoPictureIsEverLost) {
  Run();
  std::cout << "seed " << seed_ << ": " << steps_ << " steps; camsim's faults:\n";
  const std::string log = camsim_.Log();
  size_t faults = 0;
  for (size_t at = log.find("random fault at"); at != std::string::npos; at = log.find("random fault at", at + 1))
    ++faults;
  std::cout << faults << " faults injected\n";
}

}  // namespace
