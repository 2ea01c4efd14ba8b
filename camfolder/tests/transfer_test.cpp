// Pictures and files in and out of the camera through the camera folder's
// drop targets and data objects, as the shell drives them, against camsim.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <cstring>
#include <set>
#include <thread>

#include "camapi.h"
#include "core/camera_item.h"
#include "items/module_state.h"
#include "message_box_watcher.h"
#include "shell_fixture.h"
#include "transfer/drop_source.h"
#include "transfer/transfer_send.h"
#include "unix_paths.h"
#include "wic_imaging.h"
#include "window_text.h"

namespace {

constexpr DWORD kBoth = DROPEFFECT_COPY | DROPEFFECT_MOVE;

std::wstring Wide(const std::string &text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1);
  return wide;
}

// A picture of two halves, red on the left and blue on the right, written
// by the imaging component in the given container.
void WritePicture(const std::string &path, const GUID &container, uint32_t width, uint32_t height) {
  WicImaging imaging;
  Pixels24 picture(width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t *pixel = picture.Pixel(x, y);
      pixel[0] = x < width / 2 ? 0 : 255;  // blue
      pixel[1] = 0;
      pixel[2] = x < width / 2 ? 255 : 0;  // red
    }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  ASSERT_TRUE(imaging.Ready());
  ASSERT_EQ(imaging.Factory()->CreateStream(&stream), S_OK);
  ASSERT_EQ(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE), S_OK);
  ASSERT_EQ(imaging.Factory()->CreateEncoder(container, nullptr, &encoder), S_OK);
  ASSERT_EQ(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), S_OK);
  ASSERT_EQ(encoder->CreateNewFrame(&frame, nullptr), S_OK);
  ASSERT_EQ(frame->Initialize(nullptr), S_OK);
  ASSERT_EQ(frame->SetSize(width, height), S_OK);
  ASSERT_EQ(frame->SetPixelFormat(&format), S_OK);
  ASSERT_EQ(frame->WritePixels(height, picture.Stride(), UINT(picture.data.size()), picture.data.data()), S_OK);
  ASSERT_EQ(frame->Commit(), S_OK);
  ASSERT_EQ(encoder->Commit(), S_OK);
}

std::optional<Pixels24> ReadPicture(const std::string &bytes, GUID *container) {
  WicImaging imaging;
  const std::vector<uint8_t> contents(bytes.begin(), bytes.end());
  const ComPtr<IWICBitmapFrameDecode> frame = imaging.OpenFrame(contents, container);
  if (!frame) return std::nullopt;
  return imaging.CopyPixels(frame.Get());
}

// The bytes of a test file: differing from file to file and byte to byte.
std::string PcBytes(const std::string &name) { return Pattern(30000 + name.size(), static_cast<unsigned>(name.back() + name.size())); }

size_t Count(const std::string &text, const std::string &what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Large files are compared without printing them.
#define EXPECT_SAME_BYTES(a, b) EXPECT_TRUE((a) == (b)) << "the bytes differ"

// DragEnter then Drop with the keys, as a drag over the target does. The
// drop must succeed unless its result is asked for.
DWORD DragAndDrop(IDropTarget *target, IDataObject *data, DWORD keys, DWORD *entered = nullptr,
                  HRESULT *dropped = nullptr) {
  DWORD effect = kBoth;
  EXPECT_EQ(target->DragEnter(data, keys, POINTL{10, 10}, &effect), S_OK);
  if (entered) *entered = effect;
  effect = kBoth;
  const HRESULT hr = target->Drop(data, keys & ~(MK_LBUTTON | MK_RBUTTON), POINTL{10, 10}, &effect);
  if (dropped)
    *dropped = hr;
  else
    EXPECT_EQ(hr, S_OK);
  return effect;
}

class Transfer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
    card_ = new CameraCard;
    for (const char *folder :
         {"/d0", "/d0/DCIM", "/d0/DCIM/100LUMO1", "/d0/DCIM/101LUMO1", "/d0/PLAIN", "/d0/SRC", "/d0/SRC/TREE", "/d1"})
      card_->MakeFolder(folder);
    card_->MakeFile("/d0/PLAIN/DUP1.TXT", "old one");
    card_->MakeFile("/d0/PLAIN/DUP2.TXT", "old two");
    card_->MakeFile("/d0/PLAIN/DUP3.TXT", "old three");
    for (const char *name : {"C1.JPG", "M1.JPG", "OUT1.JPG", "OUT2.JPG"})
      card_->MakeFile(std::string("/d0/SRC/") + name, Pattern(5000 + name[1], name[1]));
    card_->MakeFile("/d0/SRC/TREE/T1.TXT", Pattern(100, 1));
    card_->MakeFile("/d0/SRC/TREE/T2.TXT", Pattern(200, 2));
    // For the moves that must never lose a picture.
    for (const char *folder : {"/d0/TWO", "/d0/TWO/A", "/d0/TWO/B", "/d0/FETCHED", "/d0/MOVED", "/d0/CASES",
                               "/d0/SAMENAME", "/d1/SAMENAME"})
      card_->MakeFolder(folder);
    card_->MakeFile("/d0/TWO/A/A1.JPG", Pattern(700, 31));
    card_->MakeFile("/d0/TWO/B/B1.JPG", Pattern(800, 32));
    card_->MakeFile("/d0/FETCHED/P1.JPG", Pattern(900, 33));
    card_->MakeFile("/d0/FETCHED/P2.JPG", Pattern(950, 34));
    for (const auto &[name, seed] : std::vector<std::pair<std::string, unsigned>>{
             {"a.jpg", 41}, {"A.JPG", 42}, {"NUL.JPG", 43}, {"COM1.JPG", 44}, {"B.JPG.", 45}, {"B.JPG", 46}})
      card_->MakeExactFile("/d0/CASES/" + name, Pattern(1000 + seed, seed));
    card_->MakeFile("/d0/SAMENAME/X.JPG", Pattern(600, 51));
    card_->MakeFile("/d1/SAMENAME/X.JPG", Pattern(650, 52));
    camsim_ = new CamsimProcess;
    address_ = CamsimProcess::NextAddress();
    std::string error;
    ASSERT_TRUE(camsim_->Start(address_, {"-v", "--drive", "0=" + card_->Unix("/d0"), "--drive",
                                          "1=" + card_->Unix("/d1")}, error))
        << error;
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address_.c_str()), 0u);
    root_ = BindCameraRoot().Detach();
    ASSERT_TRUE(root_);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    pc_ = std::string(temp) + "lumo-pc-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(pc_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Pc("SUBDIR").c_str(), nullptr));
    WriteFileBytes(Pc("SUBDIR\\X.TXT"), "x");
    for (const char *name : {"SMALL.BIN", "SMALL2.BIN", "SMALL3.BIN"}) WriteFileBytes(Pc(name), PcBytes(name));
    WriteFileBytes(Pc("LONGFILENAME.TXT"), "long");
    WriteFileBytes(Pc("LONGNAME2.TXT"), "long two");
    for (const char *name : {"DUP1.TXT", "DUP2.TXT", "DUP3.TXT"}) WriteFileBytes(Pc(name), std::string("new ") + name);
    WriteFileBytes(Pc("NOTE.XYZ"), "note");
    WritePicture(Pc("PIC.BMP"), GUID_ContainerFormatBmp, 100, 70);
    WritePicture(Pc("MOVE.BMP"), GUID_ContainerFormatBmp, 100, 70);
    card_->MakeFile("/d0/SRC/CAMPIC.BMP", ReadFileBytes(Pc("PIC.BMP")));
    WritePicture(Pc("PIC.PNG"), GUID_ContainerFormatPng, 100, 70);
  }

  static void TearDownTestSuite() {
    if (root_) root_->Release();
    root_ = nullptr;
    CloseLinkHosts();
    delete camsim_;
    delete card_;
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }

  static std::string Pc(const std::string &name) { return pc_ + "\\" + name; }

  // The shell's data object of files in the PC folder.
  static ComPtr<IDataObject> PcFiles(const std::vector<std::string> &names) { return PcFilesObject(pc_, names); }

  // The drop target of a camera folder reached from the root by names.
  static ComPtr<IDropTarget> CameraTarget(const std::vector<std::string> &path, HWND owner = nullptr) {
    ComPtr<IShellFolder> parent = root_;
    for (size_t i = 0; i + 1 < path.size(); ++i) parent = BindChild(parent.Get(), Find(parent.Get(), path[i]).get());
    const Child folder = Find(parent.Get(), path.back());
    PCUITEMID_CHILD item = folder.get();
    ComPtr<IDropTarget> target;
    if (!item || FAILED(parent->GetUIObjectOf(owner, 1, &item, IID_IDropTarget, nullptr, &target))) return nullptr;
    return target;
  }

  // The camera folder's data object of items in one folder.
  static ComPtr<IDataObject> CameraItems(const std::vector<std::string> &folderPath,
                                         const std::vector<std::string> &names) {
    const ComPtr<IShellFolder> folder = BindPath(root_, folderPath);
    std::vector<Child> children;
    std::vector<PCUITEMID_CHILD> lists;
    for (const std::string &name : names) children.push_back(Find(folder.Get(), name));
    for (const Child &child : children) lists.push_back(child.get());
    ComPtr<IDataObject> data;
    if (!folder || FAILED(folder->GetUIObjectOf(nullptr, UINT(lists.size()), lists.data(), IID_IDataObject, nullptr,
                                                &data)))
      return nullptr;
    return data;
  }

  static std::string OnCamera(const std::string &sub) { return ReadFileBytes(card_->Windows(sub)); }

  // A camera handle of the test's own, for the transfer routines the test
  // calls directly (the shell's copy of the module keeps its handles apart).
  static HZLXCAMERA OpenCamera() {
    camfolder::SetModuleInstance(GetModuleHandleA("camfolder.dll"));
    HZLXCAMERA camera = nullptr;
    tagZLXMODEL model{2, 0};
    EXPECT_EQ(ZlxInitialize(0x10000, 8), 0u);
    EXPECT_EQ(ZlxOpenCamera(&camera, &model, 1, 1, nullptr, address_.c_str()), 0u);
    return camera;
  }
  static bool CameraHas(const std::string &sub) {
    return GetFileAttributesA(card_->Windows(sub).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  static inline CameraCard *card_ = nullptr;
  static inline CamsimProcess *camsim_ = nullptr;
  static inline std::string address_;
  static inline std::string pc_;
  static inline IShellFolder *root_ = nullptr;
};

TEST_F(Transfer, APcFileIntoACameraFolder) {
  const ComPtr<IDropTarget> target = CameraTarget({"0:/", "PLAIN/"});
  const ComPtr<IDataObject> data = PcFiles({"SMALL.BIN"});
  ASSERT_TRUE(target && data);
  DWORD entered = 0;
  EXPECT_EQ(DragAndDrop(target.Get(), data.Get(), MK_LBUTTON, &entered), DROPEFFECT_COPY);
  EXPECT_EQ(entered, DROPEFFECT_COPY);
  EXPECT_SAME_BYTES(OnCamera("/d0/PLAIN/SMALL.BIN"), PcBytes("SMALL.BIN"));
}


TEST_F(Transfer, ANameTheCameraCannotTakeIsAskedFor) {
  const ComPtr<IDropTarget> target = CameraTarget({"0:/", "PLAIN/"});
  {
    std::string source, folder;
    MessageBoxWatcher box(IDOK, 60000, [&](HWND dialog) {
      char text[MAX_PATH];
      GetDlgItemTextA(dialog, 11012, text, sizeof text);
      source = text;
      GetDlgItemTextA(dialog, 11011, text, sizeof text);
      folder = text;
      SetDlgItemTextA(dialog, 11013, "CHOSEN.TXT");
      ScreenshotForReview(dialog, "name-choice");
    });
    EXPECT_EQ(DragAndDrop(target.Get(), PcFiles({"LONGFILENAME.TXT"}).Get(), MK_LBUTTON), DROPEFFECT_COPY);
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(box.Caption(), "ファイル名の選択");
    EXPECT_EQ(source, Pc("LONGFILENAME.TXT"));
    EXPECT_EQ(folder, "0:/PLAIN/");
  }
  EXPECT_EQ(OnCamera("/d0/PLAIN/CHOSEN.TXT"), "long");
  // Skipping the file goes on with the next one of the drop.
  MessageBoxWatcher skip(IDNO);
  EXPECT_EQ(DragAndDrop(target.Get(), PcFiles({"LONGNAME2.TXT", "SMALL2.BIN"}).Get(), MK_LBUTTON), DROPEFFECT_COPY);
  ASSERT_TRUE(skip.Seen());
  EXPECT_SAME_BYTES(OnCamera("/d0/PLAIN/SMALL2.BIN"), PcBytes("SMALL2.BIN"));
}

TEST_F(Transfer, ACameraFileOfTheSameNameIsReplacedOnlyWhenTheUserSaysSo) {
  const ComPtr<IDropTarget> target = CameraTarget({"0:/", "PLAIN/"});
  const ComPtr<IDataObject> one = PcFiles({"DUP1.TXT"});
  {
    std::string text;
    MessageBoxWatcher box(IDNO, 60000, [&](HWND dialog) {
      text = WindowTextUtf8(GetDlgItem(dialog, 11004));
      ScreenshotForReview(dialog, "overwrite");
    });
    DragAndDrop(target.Get(), one.Get(), MK_LBUTTON);
    ASSERT_TRUE(box.Seen());
    EXPECT_EQ(text, "このフォルダには既に 'DUP1.TXT' ファイルが存在します。");
  }
  EXPECT_EQ(OnCamera("/d0/PLAIN/DUP1.TXT"), "old one");
  {
    MessageBoxWatcher box(IDCANCEL);
    DragAndDrop(target.Get(), one.Get(), MK_LBUTTON);
    ASSERT_TRUE(box.Seen());
  }
  EXPECT_EQ(OnCamera("/d0/PLAIN/DUP1.TXT"), "old one");
  {
    MessageBoxWatcher box(IDYES);
    DragAndDrop(target.Get(), one.Get(), MK_LBUTTON);
    ASSERT_TRUE(box.Seen());
  }
  EXPECT_EQ(OnCamera("/d0/PLAIN/DUP1.TXT"), "new DUP1.TXT");
  // "All" answers for every later file of the same drop.
  MessageBoxWatcher all(11000);
  DragAndDrop(target.Get(), PcFiles({"DUP2.TXT", "DUP3.TXT"}).Get(), MK_LBUTTON);
  ASSERT_TRUE(all.Seen());
  EXPECT_EQ(OnCamera("/d0/PLAIN/DUP2.TXT"), "new DUP2.TXT");
  EXPECT_EQ(OnCamera("/d0/PLAIN/DUP3.TXT"), "new DUP3.TXT");
}

TEST_F(Transfer, APcFolderIsNotSentAndTheUserIsTold) {
  const ComPtr<IDropTarget> target = CameraTarget({"1:/"});
  MessageBoxWatcher box;
  EXPECT_EQ(DragAndDrop(target.Get(), PcFiles({"SUBDIR", "SMALL3.BIN"}).Get(), MK_LBUTTON), DROPEFFECT_COPY);
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), "カメラにフォルダを転送することはできません。");
  EXPECT_SAME_BYTES(OnCamera("/d1/SMALL3.BIN"), PcBytes("SMALL3.BIN"));
  EXPECT_FALSE(CameraHas("/d1/SUBDIR"));
}

TEST_F(Transfer, PicturesBecomeCameraJpegsInPictureFolders) {
  const ComPtr<IDropTarget> pictures = CameraTarget({"0:/", "DCIM/", "100LUMO1/"});
  EXPECT_EQ(DragAndDrop(pictures.Get(), PcFiles({"PIC.BMP"}).Get(), MK_LBUTTON), DROPEFFECT_COPY);
  EXPECT_FALSE(CameraHas("/d0/DCIM/100LUMO1/PIC.BMP"));
  GUID container{};
  const auto made = ReadPicture(OnCamera("/d0/DCIM/100LUMO1/PIC.JPG"), &container);
  ASSERT_TRUE(made);
  EXPECT_EQ(container, GUID_ContainerFormatJpeg);
  EXPECT_EQ(made->width, 96u);  // 100 x 70: the centre, 96 x 64
  EXPECT_EQ(made->height, 64u);
  // The centre of the picture: red to the left of the middle, blue to the right.
  const uint8_t *left = made->Pixel(20, 32), *right = made->Pixel(76, 32);
  EXPECT_GT(left[2], 200);
  EXPECT_LT(left[0], 60);
  EXPECT_GT(right[0], 200);
  EXPECT_LT(right[2], 60);

  // Elsewhere the same file goes as it is.
  const ComPtr<IDropTarget> plain = CameraTarget({"0:/", "PLAIN/"});
  DragAndDrop(plain.Get(), PcFiles({"PIC.BMP"}).Get(), MK_LBUTTON);
  EXPECT_SAME_BYTES(OnCamera("/d0/PLAIN/PIC.BMP"), ReadFileBytes(Pc("PIC.BMP")));

  // Picture folders take only the camera's file types.
  for (const char *name : {"PIC.PNG", "NOTE.XYZ"}) {
    DWORD effect = kBoth;
    EXPECT_EQ(pictures->DragEnter(PcFiles({name}).Get(), MK_LBUTTON, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE) << name;
    pictures->DragLeave();
  }
}

TEST_F(Transfer, CameraItemsCopiedAndMovedInsideTheCamera) {
  const ComPtr<IDropTarget> plain = CameraTarget({"0:/", "PLAIN/"});
  DWORD entered = 0;
  // Control copies; the source stays.
  EXPECT_EQ(DragAndDrop(plain.Get(), CameraItems({"0:/", "SRC/"}, {"C1.JPG"}).Get(), MK_LBUTTON | MK_CONTROL,
                        &entered),
            DROPEFFECT_COPY);
  EXPECT_EQ(entered, DROPEFFECT_COPY);
  EXPECT_SAME_BYTES(OnCamera("/d0/PLAIN/C1.JPG"), OnCamera("/d0/SRC/C1.JPG"));
  // On the same drive the default is a move: the source is gone afterwards.
  const std::string moved = OnCamera("/d0/SRC/M1.JPG");
  EXPECT_EQ(DragAndDrop(plain.Get(), CameraItems({"0:/", "SRC/"}, {"M1.JPG"}).Get(), MK_LBUTTON, &entered),
            DROPEFFECT_MOVE);
  EXPECT_EQ(entered, DROPEFFECT_MOVE);
  EXPECT_SAME_BYTES(OnCamera("/d0/PLAIN/M1.JPG"), moved);
  EXPECT_FALSE(CameraHas("/d0/SRC/M1.JPG"));
  // A folder tree onto another drive is copied.
  EXPECT_EQ(DragAndDrop(CameraTarget({"1:/"}).Get(), CameraItems({"0:/", "SRC/"}, {"TREE"}).Get(), MK_LBUTTON),
            DROPEFFECT_COPY);
  EXPECT_SAME_BYTES(OnCamera("/d1/TREE/T1.TXT"), Pattern(100, 1));
  EXPECT_SAME_BYTES(OnCamera("/d1/TREE/T2.TXT"), Pattern(200, 2));
  // Onto the folder that holds them, or into themselves: nothing to do.
  DWORD effect = kBoth;
  const ComPtr<IDropTarget> source = CameraTarget({"0:/", "SRC/"});
  EXPECT_EQ(source->DragEnter(CameraItems({"0:/", "SRC/"}, {"C1.JPG"}).Get(), MK_LBUTTON, POINTL{1, 1}, &effect),
            S_OK);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  source->DragLeave();
}

TEST_F(Transfer, CameraItemsOutToThePcAreFetchedOnce) {
  const ComPtr<IDataObject> data = CameraItems({"0:/", "SRC/"}, {"OUT1.JPG", "OUT2.JPG"});
  ASSERT_TRUE(data);
  FORMATETC hdrop{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  // The drop source marks the drop as made before the target asks for files.
  MarkDropMade(data.Get());

  const size_t receives = Count(camsim_->Log(), "op A0000000");
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&hdrop, &medium), S_OK);
  char first[MAX_PATH];
  ASSERT_EQ(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0), 2u);
  DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0, first, MAX_PATH);
  ReleaseStgMedium(&medium);
  const std::string fetched(first);
  EXPECT_EQ(fetched.rfind(LocalWorkingFolder() + "\\", 0), 0u) << fetched;
  EXPECT_EQ(fetched.substr(fetched.rfind('\\')), "\\OUT1.JPG");
  EXPECT_SAME_BYTES(ReadFileBytes(first), OnCamera("/d0/SRC/OUT1.JPG"));
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), receives + 2);
  ASSERT_EQ(data->GetData(&hdrop, &medium), S_OK);  // fetched once
  ReleaseStgMedium(&medium);
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), receives + 2);

  // The local copy carries the camera's time: its local time converted to
  // the file system's UTC (the test runs in a zone nine hours from UTC).
  WIN32_FILE_ATTRIBUTE_DATA local, camera;
  ASSERT_TRUE(GetFileAttributesExA(first, GetFileExInfoStandard, &local));
  ASSERT_TRUE(GetFileAttributesExA(card_->Windows("/d0/SRC/OUT1.JPG").c_str(), GetFileExInfoStandard, &camera));
  const auto seconds = [](const FILETIME &t) { return (uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000000; };
  EXPECT_LE(seconds(local.ftLastWriteTime) - seconds(camera.ftLastWriteTime) + 1, 2u);

  // The same files as shell items of the working folder.
  const CLIPFORMAT idList = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array"));
  FORMATETC cida{idList, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ASSERT_EQ(data->GetData(&cida, &medium), S_OK);
  {
    const global_lock block(medium.hGlobal);
    const auto *array = static_cast<const CIDA *>(block.get());
    ASSERT_EQ(array->cidl, 2u);
    const auto *bytes = static_cast<const uint8_t *>(block.get());
    const unique_cotaskmem second(ILCombine(reinterpret_cast<PCIDLIST_ABSOLUTE>(bytes + array->aoffset[0]),
                                            reinterpret_cast<PCUIDLIST_RELATIVE>(bytes + array->aoffset[2])));
    char path[MAX_PATH] = "";
    ASSERT_TRUE(SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(second.get()), path));
    EXPECT_EQ(lstrcmpiA(path, (fetched.substr(0, fetched.rfind('\\')) + "\\OUT2.JPG").c_str()), 0) << path;
  }
  ReleaseStgMedium(&medium);

}



TEST_F(Transfer, TheDataObjectOffersItsFormatsInOrder) {
  const ComPtr<IDataObject> data = CameraItems({"0:/", "SRC/"}, {"TREE", "C1.JPG"});
  ASSERT_TRUE(data);
  const auto names = [](IEnumFORMATETC *formats) {
    std::vector<std::string> result;
    FORMATETC format;
    while (formats->Next(1, &format, nullptr) == S_OK) {
      char name[64] = "";
      if (format.cfFormat == CF_HDROP)
        lstrcpyA(name, "CF_HDROP");
      else
        GetClipboardFormatNameA(format.cfFormat, name, sizeof name);
      EXPECT_EQ(format.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
      EXPECT_EQ(format.lindex, -1);
      result.push_back(name);
    }
    return result;
  };
  ComPtr<IEnumFORMATETC> formats;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  EXPECT_EQ(names(formats.Get()), (std::vector<std::string>{"LumoFilePath", "Shell IDList Array", "CF_HDROP",
                                                            "InShellDragLoop", "Performed DropEffect",
                                                            "Preferred DropEffect"}));
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), S_OK);
  EXPECT_EQ(names(formats.Get()), (std::vector<std::string>{"InShellDragLoop", "Performed DropEffect"}));
  EXPECT_EQ(data->EnumFormatEtc(7, &formats), E_INVALIDARG);

  const CLIPFORMAT paths = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("LumoFilePath"));
  FORMATETC wanted{paths, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  EXPECT_EQ(data->QueryGetData(&wanted), S_OK);
  FORMATETC wrong = wanted;
  wrong.dwAspect = DVASPECT_THUMBNAIL;
  EXPECT_EQ(data->QueryGetData(&wrong), DV_E_DVASPECT);
  wrong = wanted;
  wrong.lindex = 0;
  EXPECT_EQ(data->QueryGetData(&wrong), DV_E_LINDEX);
  wrong = wanted;
  wrong.tymed = TYMED_ISTREAM;
  EXPECT_EQ(data->QueryGetData(&wrong), DV_E_TYMED);
  wrong = wanted;
  wrong.cfFormat = CF_TEXT;
  EXPECT_EQ(data->QueryGetData(&wrong), DV_E_FORMATETC);

  // The camera paths, folders with their "/".
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&wanted, &medium), S_OK);
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_EQ(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0), 2u);
  DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0, first, MAX_PATH);
  DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 1, second, MAX_PATH);
  ReleaseStgMedium(&medium);
  EXPECT_STREQ(first, "0:/SRC/TREE/");
  EXPECT_STREQ(second, "0:/SRC/C1.JPG");

  // Only the drag state is taken: the performed effect comes back as given.
  const CLIPFORMAT performed = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Performed DropEffect"));
  const CLIPFORMAT preferred = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Preferred DropEffect"));
  FORMATETC effect{performed, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM value{};
  value.tymed = TYMED_HGLOBAL;
  value.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
  *static_cast<DWORD *>(GlobalLock(value.hGlobal)) = DROPEFFECT_MOVE;
  GlobalUnlock(value.hGlobal);
  ASSERT_EQ(data->SetData(&effect, &value, TRUE), S_OK);
  ASSERT_EQ(data->GetData(&effect, &medium), S_OK);
  EXPECT_EQ(*static_cast<DWORD *>(GlobalLock(medium.hGlobal)), static_cast<DWORD>(DROPEFFECT_MOVE));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  FORMATETC other{preferred, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM unused{};
  unused.tymed = TYMED_HGLOBAL;
  EXPECT_EQ(data->SetData(&other, &unused, FALSE), DV_E_FORMATETC);
  ASSERT_EQ(data->GetData(&other, &medium), S_OK);
  EXPECT_EQ(*static_cast<DWORD *>(GlobalLock(medium.hGlobal)), static_cast<DWORD>(DROPEFFECT_COPY));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
}

// Items handed out for a selection stand for themselves in the item list
// array: the camera folder's own list and items, nothing fetched.
TEST_F(Transfer, SelectedItemsGoAsCameraItems) {
  const ComPtr<IShellFolder> folder = BindPath(root_, {"0:/", "SRC/"});
  const Child item = Find(folder.Get(), "C1.JPG");
  std::vector<uint8_t> selected = ListBytes(item.get());
  selected[32] = 1;  // the transfer flag
  PCUITEMID_CHILD list = reinterpret_cast<PCUITEMID_CHILD>(selected.data());
  ComPtr<IDataObject> data;
  ASSERT_EQ(folder->GetUIObjectOf(nullptr, 1, &list, IID_IDataObject, nullptr, &data), S_OK);
  const size_t receives = Count(camsim_->Log(), "op A0000000");
  FORMATETC cida{static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array")), nullptr, DVASPECT_CONTENT,
                 -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&cida, &medium), S_OK);
  ComPtr<IPersistFolder2> persist;
  ASSERT_EQ(folder.As(&persist), S_OK);
  PIDLIST_ABSOLUTE folderList = nullptr;
  ASSERT_EQ(persist->GetCurFolder(&folderList), S_OK);
  const unique_cotaskmem owned(folderList);
  {
    const global_lock block(medium.hGlobal);
    const auto *array = static_cast<const CIDA *>(block.get());
    const auto *bytes = static_cast<const uint8_t *>(block.get());
    ASSERT_EQ(array->cidl, 1u);
    EXPECT_TRUE(ILIsEqual(reinterpret_cast<PCIDLIST_ABSOLUTE>(bytes + array->aoffset[0]), folderList));
    EXPECT_EQ(std::memcmp(bytes + array->aoffset[1], selected.data(), selected.size()), 0);
  }
  ReleaseStgMedium(&medium);
  EXPECT_EQ(Count(camsim_->Log(), "op A0000000"), receives);  // no drop made yet: nothing fetched
}

// What the drop rules keep out of picture folders (a PNG file) is still made
// a camera picture when it is sent there.
TEST_F(Transfer, APngSentIntoAPictureFolderBecomesACameraJpeg) {
  const HZLXCAMERA camera = OpenCamera();
  ASSERT_TRUE(camera);
  camfolder::SendChoices choices;
  const tagZLXPROGRESSPARAM progress{0, 1, 1};
  EXPECT_EQ(camfolder::SendFile(camera, Pc("PIC.PNG").c_str(), "0:/DCIM/101LUMO1/", 3, progress, false, choices),
            S_OK);
  EXPECT_EQ(choices.answer, 6);
  GUID container{};
  const auto made = ReadPicture(OnCamera("/d0/DCIM/101LUMO1/PIC.JPG"), &container);
  ASSERT_TRUE(made);
  EXPECT_EQ(container, GUID_ContainerFormatJpeg);
  EXPECT_EQ(made->width % 32, 0u);
  EXPECT_EQ(made->height % 32, 0u);
  ZlxCloseCamera(camera);
}

// A whole drag under the system's drag loop: the cursor over a window that
// takes drops for a camera folder, no button held, so the drop is made at once.
TEST_F(Transfer, ARealDragLoopDropsIntoTheCamera) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "LumoTestDropWindow";
  RegisterClassA(&windowClass);
  const unique_hwnd window(CreateWindowA("LumoTestDropWindow", "drop here", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                         nullptr, nullptr, nullptr, nullptr));
  const ComPtr<IDropTarget> target = CameraTarget({"1:/"}, window.get());
  ASSERT_EQ(RegisterDragDrop(window.get(), target.Get()), S_OK);
  SetCursorPos(250, 200);
  WriteFileBytes(Pc("LOOP.BIN"), PcBytes("LOOP.BIN"));
  const ComPtr<IDataObject> data = PcFiles({"LOOP.BIN"});
  ComPtr<IDropSource> source;
  ASSERT_EQ(camfolder::CDropSource::Create(MK_LBUTTON, data.Get(), &source), S_OK);
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY, &effect), DRAGDROP_S_DROP);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  RevokeDragDrop(window.get());
  EXPECT_SAME_BYTES(OnCamera("/d1/LOOP.BIN"), PcBytes("LOOP.BIN"));
  OleUninitialize();
}

// A program that offers a DROPFILES block of its own making.
class HandMadeDrop final : public IDataObject {
 public:
  explicit HandMadeDrop(std::vector<uint8_t> block) : block_(std::move(block)) {}
  STDMETHODIMP QueryInterface(REFIID id, void **object) override {
    if (!IsEqualIID(id, IID_IUnknown) && !IsEqualIID(id, IID_IDataObject)) return *object = nullptr, E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // lives on the test's stack
  STDMETHODIMP GetData(FORMATETC *format, STGMEDIUM *medium) override {
    if (format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalAlloc(GMEM_MOVEABLE, block_.size());
    std::memcpy(GlobalLock(medium->hGlobal), block_.data(), block_.size());
    GlobalUnlock(medium->hGlobal);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC *format) override { return format->cfFormat == CF_HDROP ? S_OK : S_FALSE; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC *, FORMATETC *) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC **) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA **) override { return E_NOTIMPL; }

 private:
  ULONG references_ = 1;
  std::vector<uint8_t> block_;
};

TEST_F(Transfer, AMalformedFileListFromAnotherProgramIsRefused) {
  const ComPtr<IDropTarget> target = CameraTarget({"0:/", "PLAIN/"});
  std::vector<uint8_t> unterminated(20, 0);
  unterminated[0] = 20;
  for (char c : std::string("C:\\WINDOWS\\WIN.INI")) unterminated.push_back(static_cast<uint8_t>(c));
  std::vector<uint8_t> outside = unterminated;
  outside[0] = 0xF0;
  outside[1] = 0xFF;
  for (const auto &block : {unterminated, outside, std::vector<uint8_t>(8, 0)}) {
    HandMadeDrop data(block);
    DWORD effect = kBoth;
    EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = kBoth;
    EXPECT_EQ(target->Drop(&data, 0, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
  }
}

TEST_F(Transfer, APictureThatCannotBeMadeIsReported) {
  WriteFileBytes(Pc("BAD.BMP"), "this is no picture");
  const ComPtr<IDropTarget> pictures = CameraTarget({"0:/", "DCIM/", "100LUMO1/"});
  MessageBoxWatcher box;
  DWORD effect = kBoth;
  ASSERT_EQ(pictures->DragEnter(PcFiles({"BAD.BMP"}).Get(), MK_LBUTTON, POINTL{1, 1}, &effect), S_OK);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  effect = kBoth;
  EXPECT_EQ(pictures->Drop(PcFiles({"BAD.BMP"}).Get(), 0, POINTL{1, 1}, &effect), E_UNEXPECTED);
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), "転送できないフォルダ／ファイルです。");
  EXPECT_FALSE(CameraHas("/d0/DCIM/100LUMO1/BAD.BMP"));
  EXPECT_FALSE(CameraHas("/d0/DCIM/100LUMO1/BAD.JPG"));
}

// The owner's parent (the browser, for a view) re-reads the folder after a drop.
TEST_F(Transfer, ADropRefreshesTheOwnersParent) {
  static UINT refreshes = 0;
  WNDCLASSA parentClass{};
  parentClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_KEYDOWN && wParam == VK_F5 && lParam == 1) ++refreshes;
    return DefWindowProcA(window, message, wParam, lParam);
  };
  parentClass.lpszClassName = "LumoTestBrowser";
  RegisterClassA(&parentClass);
  const unique_hwnd parent(CreateWindowA("LumoTestBrowser", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                         nullptr, nullptr));
  const HWND owner = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, parent.get(), nullptr, nullptr, nullptr);
  const ComPtr<IDropTarget> target = CameraTarget({"1:/"}, owner);
  DragAndDrop(target.Get(), PcFiles({"SMALL.BIN"}).Get(), MK_LBUTTON);
  EXPECT_EQ(refreshes, 1u);
}

TEST_F(Transfer, TheRightButtonAsksWhatToDo) {
  const unique_hwnd owner(CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                        nullptr, nullptr));
  const ComPtr<IDropTarget> target = CameraTarget({"0:/", "PLAIN/"}, owner.get());
  const ComPtr<IDataObject> data = CameraItems({"0:/", "SRC/"}, {"OUT1.JPG"});
  // The menu is answered with its keyboard shortcut for "copy here".
  std::thread chooser([] {
    for (int i = 0; i < 200; ++i) {
      if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu)) {
        Sleep(300);
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = 'C';
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof keys[0]);
        return;
      }
      Sleep(50);
    }
  });
  DWORD effect = kBoth;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_RBUTTON, POINTL{200, 200}, &effect), S_OK);
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  effect = kBoth;
  EXPECT_EQ(target->Drop(data.Get(), 0, POINTL{200, 200}, &effect), S_OK);
  chooser.join();
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  EXPECT_TRUE(CameraHas("/d0/PLAIN/OUT1.JPG"));
  EXPECT_TRUE(CameraHas("/d0/SRC/OUT1.JPG"));  // copied, not moved
}

// Every selected folder counts: two folders dropped onto the second of them
// would move that folder into itself and erase it with its copy.
TEST_F(Transfer, NoSelectedFolderIsDroppedIntoItself) {
  const ComPtr<IDataObject> both = CameraItems({"0:/", "TWO/"}, {"A", "B"});
  for (const std::vector<std::string> &target : {std::vector<std::string>{"0:/", "TWO/", "B/"},
                                                 std::vector<std::string>{"0:/", "TWO/"}}) {
    const ComPtr<IDropTarget> drop = CameraTarget(target);
    ASSERT_TRUE(both && drop);
    DWORD entered = 7;
    EXPECT_EQ(DragAndDrop(drop.Get(), both.Get(), MK_LBUTTON | MK_SHIFT, &entered), DROPEFFECT_NONE);
    EXPECT_EQ(entered, DROPEFFECT_NONE);
  }
  EXPECT_SAME_BYTES(OnCamera("/d0/TWO/A/A1.JPG"), Pattern(700, 31));
  EXPECT_SAME_BYTES(OnCamera("/d0/TWO/B/B1.JPG"), Pattern(800, 32));
}

// A file opened by its parsing name is fetched; a move of its folder still
// carries it, and the parsing name of a file replaced by a drop gives the new bytes.
TEST_F(Transfer, AFetchedFileIsMovedWithItsFolderAndReplacedBytesAreFetchedAnew) {
  const ComPtr<IShellFolder> fetched = BindPath(root_, {"0:/", "FETCHED/"});
  const std::string local = NameOf(fetched.Get(), Find(fetched.Get(), "P1.JPG").get(), SHGDN_FORPARSING);
  EXPECT_SAME_BYTES(ReadFileBytes(local), Pattern(900, 33));
  EXPECT_EQ(DragAndDrop(CameraTarget({"0:/", "MOVED/"}).Get(), CameraItems({"0:/"}, {"FETCHED"}).Get(),
                        MK_LBUTTON | MK_SHIFT),
            DROPEFFECT_MOVE);
  EXPECT_SAME_BYTES(OnCamera("/d0/MOVED/FETCHED/P1.JPG"), Pattern(900, 33));
  EXPECT_SAME_BYTES(OnCamera("/d0/MOVED/FETCHED/P2.JPG"), Pattern(950, 34));
  EXPECT_FALSE(CameraHas("/d0/FETCHED"));

  const ComPtr<IShellFolder> moved = BindPath(root_, {"0:/", "MOVED/", "FETCHED/"});
  const std::string opened = NameOf(moved.Get(), Find(moved.Get(), "P2.JPG").get(), SHGDN_FORPARSING);
  EXPECT_SAME_BYTES(ReadFileBytes(opened), Pattern(950, 34));
  WriteFileBytes(Pc("P2.JPG"), "replaced from the PC");
  {
    MessageBoxWatcher replace(IDYES);
    DragAndDrop(CameraTarget({"0:/", "MOVED/", "FETCHED/"}).Get(), PcFiles({"P2.JPG"}).Get(), MK_LBUTTON);
    ASSERT_TRUE(replace.Seen());
  }
  EXPECT_EQ(NameOf(moved.Get(), Find(moved.Get(), "P2.JPG").get(), SHGDN_FORPARSING), opened);
  EXPECT_EQ(ReadFileBytes(opened), "replaced from the PC");
}

// Names the PC takes for one another (case, a trailing dot) or for a device
// keep every picture: moved inside the camera under their own names, and
// fetched to the PC under local names of their own.
TEST_F(Transfer, NamesThePcTakesForOneAnotherLoseNothing) {
  const std::vector<std::pair<std::string, unsigned>> names{
      {"a.jpg", 41}, {"A.JPG", 42}, {"NUL.JPG", 43}, {"COM1.JPG", 44}, {"B.JPG.", 45}, {"B.JPG", 46}};
  const ComPtr<IDataObject> out = CameraItems({"0:/"}, {"CASES"});
  MarkDropMade(out.Get());
  const std::vector<std::string> handed = HandedOutFiles(out.Get());
  ASSERT_EQ(handed.size(), 1u);
  const std::string &folder = handed.front();
  std::multiset<std::string> fetched;
  std::string seen;
  WIN32_FIND_DATAA entry;
  const unique_find find(FindFirstFileA((folder + "\\*").c_str(), &entry));
  ASSERT_TRUE(find);
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      fetched.insert(ReadFileBytes(folder + "\\" + entry.cFileName));
    seen += std::string(" ") + entry.cFileName;
  } while (FindNextFileA(find.get(), &entry));
  std::multiset<std::string> expected;
  for (const auto &[name, seed] : names) expected.insert(Pattern(1000 + seed, seed));
  EXPECT_TRUE(fetched == expected) << fetched.size() << " local copies for " << names.size() << " pictures:" << seen
                                   << " in " << folder;

  EXPECT_EQ(DragAndDrop(CameraTarget({"0:/", "MOVED/"}).Get(), CameraItems({"0:/"}, {"CASES"}).Get(),
                        MK_LBUTTON | MK_SHIFT),
            DROPEFFECT_MOVE);
  for (const auto &[name, seed] : names)
    EXPECT_SAME_BYTES(ReadRawFile(card_->Windows("/d0/MOVED/CASES/" + name)), Pattern(1000 + seed, seed)) << name;
  EXPECT_FALSE(CameraHas("/d0/CASES"));
}

// DCF folders repeat on every card: two fetches of folders of the same name
// keep their local copies apart.
TEST_F(Transfer, FoldersOfTheSameNameAreFetchedApart) {
  const ComPtr<IDataObject> first = CameraItems({"0:/"}, {"SAMENAME"});
  const ComPtr<IDataObject> second = CameraItems({"1:/"}, {"SAMENAME"});
  std::vector<std::string> folders;
  for (IDataObject *data : {first.Get(), second.Get()}) {
    MarkDropMade(data);
    const std::vector<std::string> handed = HandedOutFiles(data);
    ASSERT_EQ(handed.size(), 1u);
    folders.push_back(handed.front());
  }
  EXPECT_NE(folders[0], folders[1]);
  EXPECT_SAME_BYTES(ReadFileBytes(folders[0] + "\\X.JPG"), Pattern(600, 51));
  EXPECT_SAME_BYTES(ReadFileBytes(folders[1] + "\\X.JPG"), Pattern(650, 52));
}

// "Replace all" belongs to the drop it was given in: a send of another
// transfer asks again.
TEST_F(Transfer, ReplaceAllHoldsForOneDropOnly) {
  WriteFileBytes(Pc("ALL1.TXT"), "all one");
  WriteFileBytes(Pc("ALL2.TXT"), "all two");
  card_->MakeFile("/d0/PLAIN/ALL1.TXT", "camera one");
  card_->MakeFile("/d0/PLAIN/ALL2.TXT", "camera two");
  card_->MakeFile("/d0/PLAIN/ALL3.TXT", "camera three");
  {
    MessageBoxWatcher all(11000);
    DragAndDrop(CameraTarget({"0:/", "PLAIN/"}).Get(), PcFiles({"ALL1.TXT", "ALL2.TXT"}).Get(), MK_LBUTTON);
    ASSERT_TRUE(all.Seen());
  }
  EXPECT_EQ(OnCamera("/d0/PLAIN/ALL2.TXT"), "all two");
  const HZLXCAMERA camera = OpenCamera();
  WriteFileBytes(Pc("ALL3.TXT"), "all three");
  camfolder::SendChoices choices;
  MessageBoxWatcher asked(IDNO);
  const tagZLXPROGRESSPARAM progress{0, 1, 1};
  EXPECT_EQ(camfolder::SendFile(camera, Pc("ALL3.TXT").c_str(), "0:/PLAIN/", 3, progress, false, choices), S_OK);
  ZlxCloseCamera(camera);
  EXPECT_TRUE(asked.Seen());
  EXPECT_EQ(choices.answer, 7);
  EXPECT_EQ(OnCamera("/d0/PLAIN/ALL3.TXT"), "camera three");
}

// Inside the camera bytes stay bytes: a picture copied into a picture folder
// is the same file. A picture from the PC made anew for a picture folder is
// no copy of the PC's file: a move keeps the original.
TEST_F(Transfer, OnlyFilesFromThePcAreMadeCameraPictures) {
  EXPECT_EQ(DragAndDrop(CameraTarget({"0:/", "DCIM/", "100LUMO1/"}).Get(),
                        CameraItems({"0:/", "SRC/"}, {"CAMPIC.BMP"}).Get(), MK_LBUTTON | MK_CONTROL),
            DROPEFFECT_COPY);
  EXPECT_SAME_BYTES(OnCamera("/d0/DCIM/100LUMO1/CAMPIC.BMP"), OnCamera("/d0/SRC/CAMPIC.BMP"));
  EXPECT_FALSE(CameraHas("/d0/DCIM/100LUMO1/CAMPIC.JPG"));

  const HZLXCAMERA camera = OpenCamera();
  camfolder::SendChoices choices;
  camfolder::MoveOutcome outcome = camfolder::MoveOutcome::kMoved;
  const tagZLXPROGRESSPARAM progress{0, 1, 1};
  EXPECT_EQ(camfolder::SendFile(camera, Pc("MOVE.BMP").c_str(), "0:/DCIM/101LUMO1/", 3, progress, true, choices,
                                &outcome),
            S_OK);
  ZlxCloseCamera(camera);
  EXPECT_EQ(outcome, camfolder::MoveOutcome::kKeptConverted);
  EXPECT_TRUE(CameraHas("/d0/DCIM/101LUMO1/MOVE.JPG"));
  EXPECT_NE(GetFileAttributesA(Pc("MOVE.BMP").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A drop source's block that the data object refuses stays the source's.
TEST_F(Transfer, ARefusedMediumIsLeftToItsOwner) {
  const ComPtr<IDataObject> data = CameraItems({"0:/", "SRC/"}, {"C1.JPG"});
  const CLIPFORMAT dragLoop = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("InShellDragLoop"));
  FORMATETC loop{dragLoop, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM small{};
  small.tymed = TYMED_HGLOBAL;
  small.hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2);  // shorter than its value
  EXPECT_EQ(data->SetData(&loop, &small, TRUE), E_INVALIDARG);
  EXPECT_EQ(GlobalSize(small.hGlobal), 2u);
  EXPECT_EQ(GlobalFree(small.hGlobal), nullptr);
}

// Cameras that fail in the middle, on shell threads of their own.
class FailingCamera : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(hr));
    ASSERT_EQ(RunProgram("camreg.exe install"), 0u);
  }
  static void TearDownTestSuite() {
    RunProgram("camreg.exe uninstall");
    CoUninitialize();
  }
  void SetUp() override {
    for (const char *folder : {"", "/d0", "/d0/A", "/d0/B"}) card_.MakeFolder(folder);
    card_.MakeFile("/d0/A/F.JPG", Pattern(20000, 9));
  }
  void TearDown() override { CloseLinkHosts(address); }
  void StartWith(const std::string &fault) {
    address = CamsimProcess::NextAddress();
    std::string error;
    ASSERT_TRUE(camsim.Start(address, {"--drive", "0=" + card_.Unix("/d0"), "--fault", fault}, error)) << error;
    ASSERT_EQ(ZlxSetConnectionInfo("LAN", address.c_str()), 0u);
  }
  // Moves the item (a name in the folder reached by the path) onto folder B
  // of drive 0, on a shell thread of its own; the drop's effect, and its
  // result in `dropped`.
  DWORD MoveOntoB(const std::vector<std::string> &path, const std::string &name, HRESULT &dropped) {
    DWORD effect = 7;
    OnShellThread([&] {
      const ComPtr<IShellFolder> root = BindCameraRoot();
      const ComPtr<IShellFolder> drive = BindPath(root.Get(), {"0:/"});
      const ComPtr<IShellFolder> from = BindPath(root.Get(), path);
      const Child child = Find(from.Get(), name), b = Find(drive.Get(), "B/");
      PCUITEMID_CHILD item = child.get(), folder = b.get();
      ComPtr<IDataObject> data;
      ComPtr<IDropTarget> target;
      if (SUCCEEDED(from->GetUIObjectOf(nullptr, 1, &item, IID_IDataObject, nullptr, &data)) &&
          SUCCEEDED(drive->GetUIObjectOf(nullptr, 1, &folder, IID_IDropTarget, nullptr, &target)))
        effect = DragAndDrop(target.Get(), data.Get(), MK_LBUTTON | MK_SHIFT, nullptr, &dropped);
    });
    return effect;
  }

  CameraCard card_;
  CamsimProcess camsim;
  std::string address;
};

TEST_F(FailingCamera, AMoveWhoseSendFailsKeepsItsSource) {
  StartWith("status=9@A1000000");  // the drive is full
  MessageBoxWatcher box;
  HRESULT dropped = S_OK;
  const DWORD effect = MoveOntoB({"0:/", "A/"}, "F.JPG", dropped);
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(box.Text(), "ドライブがいっぱいです。");
  // The camera refused the copy: the drop failed, and a drop source that
  // trusted it deletes nothing.
  EXPECT_EQ(dropped, E_UNEXPECTED);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_SAME_BYTES(ReadFileBytes(card_.Windows("/d0/A/F.JPG")), Pattern(20000, 9));
}

// The link breaks off while a folder is copied for a move: the source stays
// whole and the drop says it failed, so that no drop source deletes anything.
TEST_F(FailingCamera, AMoveWhoseLinkBreaksOffKeepsItsSource) {
  StartWith("close-mid@A1000000");
  HRESULT dropped = S_OK;
  MessageBoxWatcher box;
  const DWORD effect = MoveOntoB({"0:/"}, "A/", dropped);
  EXPECT_TRUE(box.Seen());
  EXPECT_EQ(dropped, E_UNEXPECTED);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_SAME_BYTES(ReadFileBytes(card_.Windows("/d0/A/F.JPG")), Pattern(20000, 9));
}

// A picture arrives in a folder while the folder is moved (another window, a
// camera in use): the source no longer holds just what was copied, so it is
// kept with everything in it, and the user is told what was not moved.
TEST_F(FailingCamera, AFolderThatChangedWhileMovedIsKept) {
  StartWith("slow=1500@A1000000");
  std::thread arriving([&] {
    for (int i = 0; i < 400 && GetFileAttributesA(card_.Windows("/d0/B/A").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
      Sleep(25);
    card_.MakeFile("/d0/A/NEW.JPG", Pattern(300, 10));
  });
  MessageBoxWatcher box(IDOK, 60000, [](HWND dialog) { ScreenshotForReview(dialog, "not-moved"); });
  HRESULT dropped = S_OK;
  const DWORD effect = MoveOntoB({"0:/"}, "A/", dropped);
  arriving.join();
  ASSERT_TRUE(box.Seen());
  const std::string told = box.Text();
  EXPECT_EQ(told.substr(told.size() < 7 ? 0 : told.size() - 7), "\n\n0:/A/") << told;  // the message names the folder
  EXPECT_EQ(dropped, E_UNEXPECTED);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_SAME_BYTES(ReadFileBytes(card_.Windows("/d0/A/F.JPG")), Pattern(20000, 9));
  EXPECT_SAME_BYTES(ReadFileBytes(card_.Windows("/d0/A/NEW.JPG")), Pattern(300, 10));
  EXPECT_SAME_BYTES(ReadFileBytes(card_.Windows("/d0/B/A/F.JPG")), Pattern(20000, 9));
}

TEST_F(FailingCamera, AReceiveThatBreaksOffLeavesNoLocalFile) {
  StartWith("close-mid@A0000000");
  std::string local;
  MessageBoxWatcher box;
  HRESULT hr = S_OK;
  OnShellThread([&] {
    const ComPtr<IShellFolder> a = BindPath(BindCameraRoot().Get(), {"0:/", "A/"});
    const Child file = Find(a.Get(), "F.JPG");
    PCUITEMID_CHILD item = file.get();
    ComPtr<IDataObject> data;
    if (FAILED(a->GetUIObjectOf(nullptr, 1, &item, IID_IDataObject, nullptr, &data))) return;
    // Before the drop is made the local paths are only named.
    const std::vector<std::string> named = HandedOutFiles(data.Get());
    if (named.empty()) return;
    local = named.front();
    MarkDropMade(data.Get());
    HandedOutFiles(data.Get(), &hr);
  });
  ASSERT_TRUE(box.Seen());
  EXPECT_EQ(hr, DV_E_FORMATETC);
  ASSERT_NE(local.find("\\F.JPG"), std::string::npos) << local;
  EXPECT_EQ(GetFileAttributesA(local.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
