// A port the serial camera link runs on: a real COM port, or a TCP
// connection standing in for the cable (simulation and tests).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "event_log.h"

namespace vserver {

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Applies the line settings and time-outs at the first speed; logs what failed.
  virtual bool Setup(uint32_t bitsPerSecond, EventLog &log) = 0;
  virtual bool SetSpeed(uint32_t bitsPerSecond) = 0;
  // Raises DTR and RTS.
  virtual bool RaiseLines() = 0;
  // Writes every byte; safe to call from several threads (writes do not interleave).
  virtual bool Write(const uint8_t *data, size_t length) = 0;
  // Clears and reports line errors and the number of bytes waiting.
  virtual bool Poll(DWORD &errors, size_t &queued) = 0;
  virtual bool Read(uint8_t *buffer, size_t capacity, size_t &got) = 0;
  // DSR: the camera is there.
  virtual bool DsrOn() = 0;
  virtual void ClearErrors() = 0;
  // Ends the session: when settle is set the camera gets time to finish
  // before the lines drop; pending data is purged.
  virtual void Shutdown(bool settle) = 0;
};

// Opens "COMn", "\\.\COMn" or "tcp:HOST:PORT"; null with the system error.
std::unique_ptr<SerialPort> OpenSerialPort(const std::string &name, DWORD &error);
// True for names of the TCP-backed port.
bool IsTcpPortName(const std::string &name);

}  // namespace vserver
