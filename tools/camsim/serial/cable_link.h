// The camera's end of the serial link on a connected socket: answers the
// speed probe, acknowledges the PC's frames in ackflow mode and sends its
// own frames, resending them until the PC acknowledges.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "link/frame_scanner.h"
#include "serial_options.h"

namespace camsim_serial {

// Receives the payloads of the PC's frames (on the link's reading thread,
// which must not wait for the link's own sends).
class CablePayloads {
 public:
  virtual void OnPayload(uint16_t type, const uint8_t *payload, size_t length) = 0;

 protected:
  ~CablePayloads() = default;
};

class CableLink : private vserver::FrameScannerEvents {
 public:
  CableLink(int fd, const SerialOptions &options, CablePayloads &payloads);

  // Reads and handles the PC's bytes until the PC closes, stop is set, or the
  // camera "goes away" (fault); then no more sends succeed.
  void Run(const std::atomic<bool> &stop);
  // Sends one frame; in ackflow mode true once the PC acknowledged it.
  bool Send(uint16_t type, const uint8_t *payload, size_t length);
  bool Ackflow() const { return ackflow_; }

 private:
  void OnFrame(const vserver::ScannedFrame &frame) override;
  void OnStrayByte(uint8_t byte) override;
  // True when the byte is the counter of the ACK just seen (then it is no
  // frame byte).
  bool TakeAckCounter(uint8_t byte);
  void AnswerProbe(const vserver::ScannedFrame &frame);
  bool Write(const uint8_t *data, size_t length);
  void Log(const char *format, ...) __attribute__((format(printf, 2, 3)));

  int fd_;
  const SerialOptions &options_;
  CablePayloads &payloads_;
  vserver::FrameScanner scanner_;
  std::atomic<bool> ackflow_{false};
  std::atomic<bool> closed_{false};
  std::mutex writeMutex_;  // keeps acknowledgements out of frames
  std::mutex sendMutex_;   // one send-and-acknowledge cycle at a time
  std::mutex answerMutex_;
  std::condition_variable answered_;
  int awaitedCounter_ = -1;
  enum class Answer { None, Ack, Nak } answer_ = Answer::None;
  // Reading thread only:
  uint8_t expected_ = 0;
  bool ackCounterNext_ = false;
  unsigned probes_ = 0;
  unsigned framesReceived_ = 0;
  // Under sendMutex_:
  uint8_t sendCounter_ = 0;
  unsigned framesSent_ = 0;
};

}  // namespace camsim_serial
