// The data connection of one upload (active mode: the server connects to
// the client) and the temporary file that receives it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "async_socket.h"
#include "win_raii.h"

class CCommandSocket;

// The file being received.
struct CDataRaw {
  unique_file file;
  unsigned long long bytesWritten = 0;
  std::string temporaryName;
};

class CDataSocket : public winfx::CAsyncSocket {
 public:
  // buffer takes each read; the server lends one to all its uploads.
  CDataSocket(CCommandSocket &owner, std::string targetPath, std::vector<char> &buffer)
      : owner_(owner), targetPath_(std::move(targetPath)), buffer_(buffer) {}

  // Opens the socket and starts connecting; false on failure.
  bool Start(const std::string &address, int port);
  // Closes the file: deletes it after a failure, else puts it in place.
  // True when the file now stands under the target path.
  bool FinishFile(bool failed);

 protected:
  void OnConnect(int error) override;
  void OnReceive(int error) override;
  void OnClose(int error) override;

 private:
  enum class ReadResult { Data, Idle, Ended, Failed };
  bool CreateFile();
  // Reads what is pending into the file. With nothing pending it still
  // looks for the end of the stream, which some socket layers report only
  // to a read and not by a close notification.
  ReadResult ReceivePending();
  bool AppendToFile(const char *data, size_t length);

  CCommandSocket &owner_;
  std::string targetPath_;
  std::vector<char> &buffer_;
  std::unique_ptr<CDataRaw> raw_;
};
