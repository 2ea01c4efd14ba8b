#include "benchmark_uploads.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <utility>

#include "backup_name.h"
#include "test_files.h"

namespace {

constexpr unsigned kClientTimeoutMs = 600000;
// Names that every camera sends, each twice when it sends 50 files.
constexpr int kSharedNames = 5;

void EmptyFolder(const std::string &folder) {
  for (const auto &name : FileNames(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The uploads of one name, in the order each camera sent them.
struct SentCopy {
  size_t camera;
  const SentFile *file;
};

}  // namespace

std::string Measured::Text() const {
  if (!ok) return "FAILED: " + error;
  char text[96];
  std::snprintf(text, sizeof text, "%llu bytes in %.3f s (%.1f MB/s)", bytes, seconds, Rate());
  return text;
}

BenchmarkFolder::BenchmarkFolder(const std::string &name) : windows_("Z:\\tmp\\" + name), unix_("/tmp/" + name) {
  RemoveTree(windows_);
  CreateDirectoryA(windows_.c_str(), nullptr);
  CreateDirectoryA((windows_ + "\\src").c_str(), nullptr);
  CreateDirectoryA(Root().c_str(), nullptr);
}

BenchmarkFolder::~BenchmarkFolder() { RemoveTree(windows_); }

// A line naming the file, then a pattern: no two files have the same bytes.
// folder is below src, with "/" between its parts.
SentFile BenchmarkFolder::MakeFile(const std::string &folder, const std::string &name, const std::string &identity,
                                   size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 4093) & 0xFF);
  bytes.replace(0, std::min(identity.size(), size), identity, 0, std::min(identity.size(), size));
  std::string windowsFolder = windows_ + "\\src";
  for (size_t start = 0, end; start <= folder.size(); start = end + 1) {
    end = std::min(folder.find('/', start), folder.size());
    windowsFolder += "\\" + folder.substr(start, end - start);
    CreateDirectoryA(windowsFolder.c_str(), nullptr);
  }
  SentFile file{windowsFolder + "\\" + name, unix_ + "/src/" + folder + "/" + name, name, size};
  WriteAll(file.windowsPath, bytes);
  return file;
}

std::vector<SentFile> BenchmarkFolder::MakeFiles(const std::string &tag, int count, size_t size) {
  std::vector<SentFile> files;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d.JPG", tag.c_str(), i);
    files.push_back(MakeFile(tag, name, std::string(name) + "\n", size));
  }
  return files;
}

std::vector<SentFile> BenchmarkFolder::MakeCameraFiles(int k, int count, size_t size) {
  std::vector<SentFile> files;
  for (int i = 0; i < count; ++i) {
    char name[32], identity[48];
    if (i % 5 == 0)
      std::snprintf(name, sizeof name, "SHR%04d.JPG", i / 5 % kSharedNames);
    else
      std::snprintf(name, sizeof name, "C%dF%04d.JPG", k, i);
    std::snprintf(identity, sizeof identity, "camera %d file %d\n", k, i);
    // The client stores each file under its base name: a folder per file
    // lets one camera send the same name twice.
    files.push_back(MakeFile("cam" + std::to_string(k) + "/" + std::to_string(i), name, identity, size));
  }
  return files;
}

Measured BenchmarkFolder::Upload(int port, const std::vector<Camera> &cameras) const {
  EmptyFolder(Root());
  std::string script = "start=$(date +%s%N)\npids=\n";
  for (size_t k = 0; k < cameras.size(); ++k) {
    std::string line = "timeout 600 " UPLOAD_CLIENT " upload --server 127.0.0.1:" + std::to_string(port) +
                       " --timeout 120 --quiet";
    if (!cameras[k].address.empty()) line += " --camera-address " + cameras[k].address;
    for (const auto &file : cameras[k].files) line += " " + file.unixPath;
    script += line + " >" + unix_ + "/client." + std::to_string(k) + ".out 2>&1 &\npids=\"$pids $!\"\n";
  }
  script += "status=0\nfor p in $pids; do wait $p || status=1; done\nend=$(date +%s%N)\n";
  script += "echo $((end - start)) >" + unix_ + "/elapsed\nexit $status\n";
  WriteAll(windows_ + "\\senders.sh", script);

  Measured measured;
  if (RunNative("bash " + unix_ + "/senders.sh", windows_, unix_, kClientTimeoutMs) != 0) {
    std::string why = "a client failed";
    for (size_t k = 0; k < cameras.size(); ++k)
      if (std::string out = ReadAll(windows_ + "\\client." + std::to_string(k) + ".out"); out.find("camsim upload:") != std::string::npos)
        why += ": " + out.substr(0, out.find('\n'));
    measured.Fail(why);
    return measured;
  }
  measured.seconds = std::atof(ReadAll(windows_ + "\\elapsed").c_str()) / 1e9;
  for (const auto &camera : cameras)
    for (const auto &file : camera.files) measured.bytes += file.size;
  CheckReceived(cameras, measured);
  return measured;
}

void BenchmarkFolder::CheckReceived(const std::vector<Camera> &cameras, Measured &measured) const {
  std::map<std::string, std::vector<SentCopy>> byName;
  size_t uploads = 0;
  for (size_t k = 0; k < cameras.size(); ++k)
    for (const auto &file : cameras[k].files) {
      byName[file.remoteName].push_back({k, &file});
      ++uploads;
    }
  for (const auto &[name, sent] : byName) {
    // After n uploads of a name the newest has the plain name and the
    // earlier ones, oldest first, the numbers 1 to n - 1.
    const std::string target = Root() + "\\" + name;
    const size_t n = sent.size();
    if (n > 1 && Exists(BackupName(target, static_cast<unsigned>(n)))) measured.Fail("too many copies of " + name);
    std::vector<std::string> contents;
    for (const auto &upload : sent) contents.push_back(ReadAll(upload.file->windowsPath));
    std::vector<size_t> number(n, 0);  // each upload's place in the order of arrival
    for (size_t place = 1; place <= n; ++place) {
      const std::string path = place == n ? target : BackupName(target, static_cast<unsigned>(place));
      const std::string received = ReadAll(path);
      size_t match = 0;
      while (match < n && (number[match] || contents[match] != received)) ++match;
      if (match == n) measured.Fail(path + " is missing or not a whole file that was sent");
      else number[match] = place;
    }
    for (size_t a = 0; a < n; ++a)
      for (size_t b = a + 1; b < n; ++b)
        if (sent[a].camera == sent[b].camera && number[a] > number[b])
          measured.Fail("the copies of " + name + " are numbered out of the order they were sent");
  }
  if (FileNames(Root()).size() != uploads) measured.Fail("the root holds other files than the uploads");
}
