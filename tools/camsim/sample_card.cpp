#include "sample_card.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

#include "exif_thumbnail.h"
#include "sample_images.h"

namespace fs = std::filesystem;

namespace {

bool WriteBytes(const fs::path &path, const std::vector<uint8_t> &bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool WriteText(const fs::path &path, const std::string &text) {
  return WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// Gives the file the local time 1999-12-31 23:59:59, the last second of the
// old century, which the camera reports as decimal-coded date and time.
void SetCenturyEnd(const fs::path &path) {
  std::tm local{};
  local.tm_year = 99;
  local.tm_mon = 11;
  local.tm_mday = 31;
  local.tm_hour = 23;
  local.tm_min = 59;
  local.tm_sec = 59;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  const timespec times[2] = {{when, 0}, {when, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

SampleCard::~SampleCard() {
  if (!root_.empty()) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

bool SampleCard::Create(ServeOptions &options, std::string &error) {
  std::string pattern = (fs::temp_directory_path() / "camsim-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    error = "cannot create a temporary folder";
    return false;
  }
  root_ = pattern;
  const std::vector<uint8_t> pictureA = WithExifThumbnail(kPictureA, kThumbnailA);
  const std::vector<uint8_t> pictureB = WithExifThumbnail(kPictureB, kThumbnailB);
  const fs::path root(root_);
  std::error_code ec;
  bool ok = true;
  for (int drive = 0; drive < 2; ++drive) {
    const fs::path card = root / ("drive" + std::to_string(drive));
    const fs::path first = card / "DCIM" / "100LUMO01";
    const fs::path second = card / "DCIM" / "101LUMO01";
    fs::create_directories(first, ec);
    fs::create_directories(second, ec);
    const int base = drive * 100;
    auto name = [&](int n) {
      char text[16];
      std::snprintf(text, sizeof text, "LUMO%04d.JPG", base + n);
      return std::string(text);
    };
    ok = ok && WriteBytes(first / name(1), pictureA) && WriteBytes(first / name(2), pictureB) &&
         WriteBytes(second / name(3), pictureA);
    const fs::path memo = first / "MEMO.TXT";
    ok = ok && WriteText(memo, "Lumo sample card, drive " + std::to_string(drive) + ".\r\n");
    SetCenturyEnd(memo);
    options.driveFolders[drive] = card.string();
  }
  options.driveFolders[2].clear();
  if (!ok) error = "cannot write the sample card in " + root_;
  return ok;
}
