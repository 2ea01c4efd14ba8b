#include "serial_link.h"

#include <cstring>

#include "link/speed_table.h"

namespace vserver {
namespace {

constexpr DWORD kReaderPollMs = 5;
constexpr size_t kReceiveBuffer = 5606;
constexpr int kAckPolls = 600;
constexpr DWORD kAckPollMs = 10;
constexpr int kMaxWrites = 8;
constexpr DWORD kSettleAfterSetupMs = 1000;
constexpr DWORD kReaderExitMs = 1000;

}  // namespace

SerialLink::SerialLink(ChannelTable &table, EventLog &log) : table_(table), log_(log), receiver_(*this) {
  InitializeCriticalSection(&sendLock_);
}

SerialLink::~SerialLink() {
  Close();
  DeleteCriticalSection(&sendLock_);
}

bool SerialLink::Open(const std::string &portName, ConnectionContext &probe) {
  if (open_) return true;
  closedCount_ = 0;
  watchDsr_ = false;
  ackflow_ = false;
  pendingMode_ = -1;
  receiver_.Reset(false);
  DWORD error = 0;
  port_ = OpenSerialPort(portName, error);
  if (!port_) {
    log_.Logf("Error CreateFile(%s): %lx", portName.c_str(), error);
    return false;
  }
  stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  reader_ = stopEvent_ ? CreateThread(nullptr, 0, ReaderThread, this, 0, nullptr) : nullptr;
  if (!reader_) {
    log_.Log("Couldn't start ComRead thread");
    if (stopEvent_) CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
    port_.reset();
    return false;
  }
  open_ = true;
  speed_ = kSpeedTable[0].bitsPerSecond;
  probeWaitMs_ = kSpeedTable[0].probeWaitMs;
  if (!port_->Setup(speed_, log_)) {
    Close();
    return false;
  }
  Sleep(kSettleAfterSetupMs);
  if (!Probe(probe)) {
    log_.Log("Couldn't start ComOpen ");
    Close();
    return false;
  }
  if (!port_->RaiseLines()) {
    log_.Log("Error EscapeCommFunction:");
    Close();
    return false;
  }
  watchDsr_ = true;
  log_.Logf("%s speed=%d: ", portName.c_str(), static_cast<int>(speed_));
  return true;
}

bool SerialLink::Probe(ConnectionContext &probe) {
  table_.ArmSlot(probe, channel::kProbe);
  for (const LineSpeed &speed : kSpeedTable) {
    port_->SetSpeed(speed.bitsPerSecond);
    port_->RaiseLines();
    std::memcpy(probe.SendPayload(), kProbePayload.data(), kProbePayload.size());
    if (!SendFrame(probe, static_cast<uint16_t>(kProbePayload.size()), channel::kProbe)) continue;
    const size_t length = table_.WaitForPayload(probe, speed.probeWaitMs);
    if (length >= 2 && probe.receiveBuffer[0] == 0x02 && probe.receiveBuffer[1] == 0x01) {
      speed_ = speed.bitsPerSecond;
      probeWaitMs_ = speed.probeWaitMs;
      // A reply longer than 02 01 accepts the acknowledged mode.
      if (length > 2) {
        EnterCriticalSection(&sendLock_);
        sendCounter_ = 0;
        ackflow_ = true;
        LeaveCriticalSection(&sendLock_);
        pendingMode_ = 1;
      }
      return true;
    }
  }
  return false;
}

void SerialLink::Close() {
  closedCount_ = -1;
  if (!open_) return;
  const bool cameraGone = !watchDsr_ || !port_->DsrOn();
  stopping_ = true;
  SetEvent(stopEvent_);
  // Releases a reader that waits for a slow connection to take its payload.
  table_.EndAll();
  if (WaitForSingleObject(reader_, kReaderExitMs) != WAIT_OBJECT_0) {
    log_.Log("TIMEOUT waiting for ComRead thread");
    WaitForSingleObject(reader_, INFINITE);
  }
  // Senders give up their acknowledgement wait on stopping_; then the port can go.
  EnterCriticalSection(&sendLock_);
  // A camera that is still there gets time to finish before the lines drop.
  port_->Shutdown(!cameraGone);
  port_.reset();
  LeaveCriticalSection(&sendLock_);
  CloseHandle(reader_);
  CloseHandle(stopEvent_);
  reader_ = stopEvent_ = nullptr;
  open_ = false;
  watchDsr_ = false;
  stopping_ = false;
}

bool SerialLink::SendFrame(ConnectionContext &context, uint16_t length, uint16_t type) {
  return SendFrameBuffer(context.sendFrame, length, type);
}

bool SerialLink::SendEmptyFrame(uint16_t type) {
  uint8_t frame[kFrameHeaderSize + kAckflowTrailerSize];
  return SendFrameBuffer(frame, 0, type);
}

bool SerialLink::SendFrameBuffer(uint8_t *frame, uint16_t length, uint16_t type) {
  EnterCriticalSection(&sendLock_);
  if (!port_ || stopping_) {
    LeaveCriticalSection(&sendLock_);
    return false;
  }
  const bool ackflow = ackflow_;
  const size_t size = BuildFrame(frame, length, type, ackflow, sendCounter_);
  if (ackflow) ++sendCounter_;
  bool sent = false;
  for (int write = 1; write <= kMaxWrites; ++write) {
    lastReceived_ = 0;
    if (!port_->Write(frame, size)) {
      log_.Logf("Error WriteFile: %lx", GetLastError());
      port_->ClearErrors();
      break;
    }
    if (!ackflow) {
      sent = true;
      break;
    }
    uint8_t answer = 0;
    for (int poll = 0; poll < kAckPolls && answer == 0 && !stopping_; ++poll) {
      Sleep(kAckPollMs);
      answer = lastReceived_;
    }
    if (answer != 0 && answer != kNak) {
      sent = true;
      break;
    }
    if (stopping_) break;
    if (write == kMaxWrites) log_.Log(answer == kNak ? "Error WriteFile: SEND OVER" : "Error WriteFile: TIMEOUT");
  }
  LeaveCriticalSection(&sendLock_);
  return sent;
}

DWORD WINAPI SerialLink::ReaderThread(void *self) {
  static_cast<SerialLink *>(self)->ReadLoop();
  return 0;
}

void SerialLink::ReadLoop() {
  uint8_t buffer[kReceiveBuffer];
  for (;;) {
    if (WaitForSingleObject(stopEvent_, kReaderPollMs) == WAIT_OBJECT_0) {
      table_.EndAll();
      return;
    }
    DWORD errors = 0;
    size_t queued = 0;
    if (!port_->Poll(errors, queued)) queued = 0;
    if (errors) {
      log_.Logf("ClearCommError=%lx", errors);
      receiver_.OnLineError();
    }
    if (queued == 0) {
      if (watchDsr_ && !port_->DsrOn()) {
        // The camera is gone: end every connection and let the server stop.
        table_.EndAll();
        ++closedCount_;
        return;
      }
      continue;
    }
    size_t got = 0;
    if (!port_->Read(buffer, queued < sizeof buffer ? queued : sizeof buffer, got)) {
      log_.Logf("Error ReadFile: %lx", GetLastError());
      continue;
    }
    if (got == 0) continue;
    lastReceived_ = buffer[0];
    // The probe switches the mode; the receiver belongs to this thread.
    if (const int mode = pendingMode_.exchange(-1); mode >= 0) receiver_.Reset(mode == 1);
    receiver_.Feed(buffer, got);
  }
}

bool SerialLink::WriteControl(const uint8_t *bytes, size_t length) { return port_->Write(bytes, length); }

void SerialLink::Deliver(uint16_t type, const uint8_t *payload, size_t length) {
  if (table_.Deliver(type, payload, length) == ChannelTable::Delivery::SlotGone)
    log_.Log("ERROR waiting for LanRecvData");
}

}  // namespace vserver
