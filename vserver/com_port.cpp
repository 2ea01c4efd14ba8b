// The real serial port: a COM port with the camera's line settings.
#include <windows.h>

#include "serial_port.h"
#include "win_raii.h"

namespace vserver {
namespace {

class ComPort : public SerialPort {
 public:
  explicit ComPort(unique_file handle) : handle_(std::move(handle)) { InitializeCriticalSection(&writeLock_); }
  ~ComPort() override { DeleteCriticalSection(&writeLock_); }

  bool Setup(uint32_t bitsPerSecond, EventLog &log) override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_.get(), &dcb)) {
      log.Logf("Error GetCommState1: %lx", GetLastError());
      return false;
    }
    dcb.BaudRate = bitsPerSecond;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = TRUE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = TRUE;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.ErrorChar = '?';
    dcb.EofChar = 0x1A;
    dcb.EvtChar = 0;
    dcb.XonLim = 0;
    dcb.XoffLim = 0;
    if (!SetCommState(handle_.get(), &dcb)) {
      log.Logf("Error SetCommState1: %lx", GetLastError());
      return false;
    }
    if (!RaiseLines()) {
      log.Log("Error EscapeCommFunction:");
      return false;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 50;
    timeouts.WriteTotalTimeoutConstant = 3000;
    if (!SetCommTimeouts(handle_.get(), &timeouts)) {
      log.Logf("Error SetCommTimeouts: %lx", GetLastError());
      return false;
    }
    return true;
  }

  bool SetSpeed(uint32_t bitsPerSecond) override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_.get(), &dcb)) return false;
    dcb.BaudRate = bitsPerSecond;
    return SetCommState(handle_.get(), &dcb);
  }

  bool RaiseLines() override {
    return EscapeCommFunction(handle_.get(), SETDTR) && EscapeCommFunction(handle_.get(), SETRTS);
  }

  bool Write(const uint8_t *data, size_t length) override {
    EnterCriticalSection(&writeLock_);
    DWORD written = 0;
    const BOOL ok = WriteFile(handle_.get(), data, static_cast<DWORD>(length), &written, nullptr);
    const DWORD error = GetLastError();
    LeaveCriticalSection(&writeLock_);
    if (ok && written == length) return true;
    SetLastError(ok ? ERROR_WRITE_FAULT : error);
    return false;
  }

  bool Poll(DWORD &errors, size_t &queued) override {
    COMSTAT status{};
    errors = 0;
    if (!ClearCommError(handle_.get(), &errors, &status)) return false;
    queued = status.cbInQue;
    return true;
  }

  bool Read(uint8_t *buffer, size_t capacity, size_t &got) override {
    DWORD read = 0;
    const BOOL ok = ReadFile(handle_.get(), buffer, static_cast<DWORD>(capacity), &read, nullptr);
    got = read;
    return ok;
  }

  bool DsrOn() override {
    DWORD status = 0;
    if (!GetCommModemStatus(handle_.get(), &status)) return false;
    return (status & MS_DSR_ON) != 0;
  }

  void ClearErrors() override {
    DWORD errors = 0;
    ClearCommError(handle_.get(), &errors, nullptr);
  }

  void Shutdown(bool settle) override {
    if (settle) Sleep(3000);
    EscapeCommFunction(handle_.get(), CLRRTS);
    EscapeCommFunction(handle_.get(), CLRDTR);
    if (settle) Sleep(1000);
    PurgeComm(handle_.get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  }

 private:
  unique_file handle_;
  CRITICAL_SECTION writeLock_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenComPort(const std::string &name, DWORD &error) {
  unique_file handle(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!handle) {
    error = GetLastError();
    return nullptr;
  }
  return std::make_unique<ComPort>(std::move(handle));
}

}  // namespace vserver
