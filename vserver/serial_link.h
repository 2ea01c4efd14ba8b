// The link to the camera over its serial port: opening with the speed
// probe, sending acknowledged frames, and the reader thread that routes the
// camera's frames into the channel table.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "channel_table.h"
#include "event_log.h"
#include "link/link_receiver.h"
#include "serial_port.h"

namespace vserver {

class SerialLink : private LinkReceiverPeer {
 public:
  SerialLink(ChannelTable &table, EventLog &log);
  ~SerialLink();
  SerialLink(const SerialLink &) = delete;
  SerialLink &operator=(const SerialLink &) = delete;

  // Opens the port, starts the reader and finds the line speed; the probe
  // runs on the probe context's slot (armed here).
  bool Open(const std::string &portName, ConnectionContext &probe);
  void Close();
  // Sends the payload written at the context's SendPayload() as one frame;
  // in ackflow mode true only once the camera acknowledged it.
  bool SendFrame(ConnectionContext &context, uint16_t length, uint16_t type);
  bool SendEmptyFrame(uint16_t type);

  // Above 0 once the camera went away; -1 after Close.
  long ClosedCount() const { return closedCount_; }
  uint32_t ProbeWaitMs() const { return probeWaitMs_; }

 private:
  bool Probe(ConnectionContext &probe);
  bool SendFrameBuffer(uint8_t *frame, uint16_t length, uint16_t type);
  static DWORD WINAPI ReaderThread(void *self);
  void ReadLoop();

  // LinkReceiverPeer: called on the reader thread.
  bool WriteControl(const uint8_t *bytes, size_t length) override;
  void AnswerEmptyFrame(uint16_t type) override { SendEmptyFrame(type); }
  bool HasChannel(uint16_t type) override { return table_.HasChannel(type); }
  void Deliver(uint16_t type, const uint8_t *payload, size_t length) override;
  void Log(const std::string &line) override { log_.Log(line); }

  ChannelTable &table_;
  EventLog &log_;
  LinkReceiver receiver_;
  std::unique_ptr<SerialPort> port_;
  HANDLE stopEvent_ = nullptr;
  HANDLE reader_ = nullptr;
  CRITICAL_SECTION sendLock_;
  bool open_ = false;
  std::atomic<bool> ackflow_{false};
  std::atomic<bool> watchDsr_{false};  // set once the link is up
  std::atomic<bool> stopping_{false};  // Close has begun: senders give up
  std::atomic<int> pendingMode_{-1};   // receiver mode for the reader to take up: 0 plain, 1 ackflow
  uint8_t sendCounter_ = 0;
  std::atomic<uint8_t> lastReceived_{0};
  std::atomic<long> closedCount_{0};
  uint32_t speed_ = 0;
  uint32_t probeWaitMs_ = 0;
};

}  // namespace vserver
