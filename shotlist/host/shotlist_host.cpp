// A small host program for shotlist.dll: calls one export named on the
// command line, as a host application would, and prints what it returned.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shotlist/shotlist.h"

namespace {

const char kUsage[] =
    "usage: shotlist_host COMMAND [ARGUMENTS]\n"
    "  list [FOLDER]                          pick a list file by its title (SelectListFileDlg)\n"
    "  cut LIST                               pick a cut title of a list file (SelectCutNameDlg)\n"
    "  image LIST LIST-TITLE CUT COUNT-TEXT   pick an image of a cut (GetImageFileName)\n"
    "  images PICTURE...                      pick one of the pictures (ShowImageListDlg)\n"
    "  save CUT...                            save a new list file with these cuts (SaveListFile)\n"
    "  common                                 the cut titles of c:\\tmp\\data\\gtest.lst (ShowCommonFileDlg)\n";

// A VARIANT holding a SAFEARRAY of the arguments as BSTRs.
class Strings {
 public:
  Strings(char **first, char **last) {
    VariantInit(&variant_);
    SAFEARRAY *array = SafeArrayCreateVector(VT_BSTR, 0, ULONG(last - first));
    for (LONG i = 0; first + i < last; ++i) {
      std::wstring wide(std::strlen(first[i]) + 1, L'\0');
      wide.resize(size_t(MultiByteToWideChar(CP_ACP, 0, first[i], -1, wide.data(), int(wide.size()))));
      static_cast<BSTR *>(array->pvData)[i] = SysAllocString(wide.c_str());
    }
    variant_.vt = VT_ARRAY | VT_BSTR;
    variant_.parray = array;
  }
  ~Strings() { VariantClear(&variant_); }
  Strings(const Strings &) = delete;
  Strings &operator=(const Strings &) = delete;
  VARIANT *Variant() { return &variant_; }

 private:
  VARIANT variant_;
};

int Run(const std::string &command, int count, char **arguments) {
  char path[MAX_PATH] = "", title[2048] = "";
  if (command == "list" && count <= 1) {
    const int result = SelectListFileDlg(count == 1 ? arguments[0] : "", path, title);
    std::printf("result=%d path=%s title=%s\n", result, path, title);
  } else if (command == "cut" && count == 1) {
    const int result = SelectCutNameDlg(arguments[0], title);
    std::printf("result=%d cut=%s\n", result, title);
  } else if (command == "image" && count == 4) {
    const int result = GetImageFileName(arguments[0], arguments[1], arguments[2], arguments[3], path);
    std::printf("result=%d path=%s\n", result, path);
  } else if (command == "images" && count >= 1) {
    Strings pictures(arguments, arguments + count);
    int chosen = 0;
    const int result = ShowImageListDlg(pictures.Variant(), &chosen);
    std::printf("result=%d chosen=%d\n", result, chosen);
  } else if (command == "save" && count >= 1) {
    Strings cuts(arguments, arguments + count);
    const int result = SaveListFile(cuts.Variant(), path);
    std::printf("result=%d path=%s\n", result, path);
  } else if (command == "common" && count == 0) {
    std::printf("result=%d\n", ShowCommonFileDlg(0, 0));
  } else {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int code = Run(argv[1], argc - 2, argv + 2);
  CoUninitialize();
  return code;
}
