#include "data_socket.h"

#include <algorithm>

#include "backup_name.h"
#include "command_socket.h"
#include "file_placement.h"

namespace {

// One read takes at most this much; the rest comes with the next notification.
constexpr u_long kMaxReadBytes = 1 << 20;

}  // namespace

bool CDataSocket::Start(const std::string &address, int port) {
  if (!Create()) return false;
  const BOOL dontLinger = TRUE;
  SetSockOpt(SO_DONTLINGER, &dontLinger, sizeof dontLinger);
  return Connect(address.c_str(), static_cast<unsigned>(port));
}

bool CDataSocket::CreateFile() {
  auto raw = std::make_unique<CDataRaw>();
  char name[MAX_PATH] = "";
  std::string folder = FolderOf(targetPath_);
  if (folder.empty()) folder = ".";
  if (!GetTempFileNameA(folder.c_str(), "ZLX", 0, name)) return false;
  raw->temporaryName = name;
  raw->file.reset(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!raw->file) {
    DeleteFileA(name);
    return false;
  }
  raw_ = std::move(raw);
  return true;
}

void CDataSocket::OnConnect(int error) {
  owner_.TransferActivity();
  // A failed connect leaves the transfer to the watchdog.
  if (error) return;
  if (!CreateFile()) owner_.FailTransfer();
}

bool CDataSocket::AppendToFile(const char *data, size_t length) {
  DWORD written = 0;
  if (!WriteFile(raw_->file.get(), data, static_cast<DWORD>(length), &written, nullptr) || written != length)
    return false;
  raw_->bytesWritten += length;
  return true;
}

CDataSocket::ReadResult CDataSocket::ReceivePending() {
  if (!raw_) return ReadResult::Failed;
  u_long pending = 0;
  if (!IOCtl(FIONREAD, &pending)) return ReadResult::Failed;
  const size_t wanted = std::clamp<u_long>(pending, 1, kMaxReadBytes);
  // The buffer only grows: a fresh block per read would cost more than the
  // read itself (zeroing and first-touch faults of up to a megabyte).
  try {
    if (buffer_.size() < wanted) buffer_.resize(wanted);
  } catch (const std::bad_alloc &) {
    return ReadResult::Failed;
  }
  size_t filled = 0;
  ReadResult result = ReadResult::Data;
  while (filled < wanted) {
    const int got = Receive(buffer_.data() + filled, static_cast<int>(wanted - filled));
    if (got == SOCKET_ERROR && GetLastError() == WSAEWOULDBLOCK) {
      if (filled == 0) result = ReadResult::Idle;
      break;
    }
    if (got == SOCKET_ERROR) return ReadResult::Failed;
    if (got == 0) {
      result = ReadResult::Ended;
      break;
    }
    filled += static_cast<size_t>(got);
  }
  if (filled > 0 && !AppendToFile(buffer_.data(), filled)) return ReadResult::Failed;
  return result;
}

void CDataSocket::OnReceive(int) {
  owner_.TransferActivity();
  switch (ReceivePending()) {
    case ReadResult::Failed: owner_.FailTransfer(); break;
    case ReadResult::Ended: owner_.EndTransfer(false); break;  // destroys this socket
    default: break;
  }
}

void CDataSocket::OnClose(int error) {
  owner_.TransferActivity();
  // The peer's close may overtake the last read notification: take what is
  // still pending first. A reset shows as a failed read.
  ReadResult result = error ? ReadResult::Failed : ReadResult::Data;
  while (result == ReadResult::Data) result = ReceivePending();
  owner_.EndTransfer(result == ReadResult::Failed);  // destroys this socket
}

bool CDataSocket::FinishFile(bool failed) {
  if (!raw_) return false;
  raw_->file.reset();
  bool placed = !failed && PutFileInPlace(raw_->temporaryName, targetPath_);
  if (!placed) DeleteFileA(raw_->temporaryName.c_str());
  raw_.reset();
  return placed;
}
