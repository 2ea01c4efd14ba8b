// The upload benchmark's files and its runs of the native upload client:
// the files sent, one or more cameras uploading them at once, and the
// check of what arrived.
#pragma once

#include <string>
#include <vector>

struct SentFile {
  std::string windowsPath, unixPath;
  std::string remoteName;  // the name the client stores it under
  size_t size;
};

// One camsim upload client and the files it sends, in order.
struct Camera {
  std::string address;  // its own loopback address; empty for the default
  std::vector<SentFile> files;
};

// One run's outcome: its bytes and wall time, or why it failed.
struct Measured {
  bool ok = true;
  unsigned long long bytes = 0;
  double seconds = 0;
  std::string error;

  void Fail(const std::string &why) {
    if (ok) error = why;
    ok = false;
  }
  double Rate() const { return seconds > 0 ? bytes / seconds / 1e6 : 0; }
  std::string Text() const;
};

// A scratch folder under Z:\tmp (/tmp natively), removed at the end.
class BenchmarkFolder {
 public:
  explicit BenchmarkFolder(const std::string &name);
  ~BenchmarkFolder();
  BenchmarkFolder(const BenchmarkFolder &) = delete;
  BenchmarkFolder &operator=(const BenchmarkFolder &) = delete;

  // The folder that receives the uploads, and the server's log file.
  std::string Root() const { return windows_ + "\\root"; }
  std::string LogFile() const { return windows_ + "\\uploadd.log"; }

  // count files of size bytes named TAGnnnn.JPG, each with its own content.
  std::vector<SentFile> MakeFiles(const std::string &tag, int count, size_t size);
  // The files of camera k: every fifth has a name that every camera uses,
  // twice each; the rest are the camera's own.
  std::vector<SentFile> MakeCameraFiles(int k, int count, size_t size);

  // Empties the root, runs one client per camera at once against the
  // server on 127.0.0.1:port, and checks that every file arrived whole and
  // that repeated names were kept as numbered backups in order of arrival.
  Measured Upload(int port, const std::vector<Camera> &cameras) const;

 private:
  SentFile MakeFile(const std::string &folder, const std::string &name, const std::string &identity, size_t size);
  void CheckReceived(const std::vector<Camera> &cameras, Measured &measured) const;

  std::string windows_, unix_;
};
