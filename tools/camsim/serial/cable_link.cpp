#include "cable_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "link/speed_table.h"
#include "socket_io.h"

namespace camsim_serial {
namespace {

constexpr int kPollMs = 100;
constexpr int kMaxWrites = 8;
// The PC acknowledges before it hands a payload on, but its reader can be held
// up by a slow connection: give it time before sending again.
constexpr auto kAckWait = std::chrono::milliseconds(3000);
constexpr size_t kReadChunk = 4096;

}  // namespace

using namespace vserver;

CableLink::CableLink(int fd, const SerialOptions &options, CablePayloads &payloads)
    : fd_(fd), options_(options), payloads_(payloads), scanner_(*this) {}

void CableLink::Log(const char *format, ...) {
  if (!options_.verbose) return;
  va_list args;
  va_start(args, format);
  std::fputs("camsim serial: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputc('\n', stderr);
  va_end(args);
}

void CableLink::Run(const std::atomic<bool> &stop) {
  uint8_t buffer[kReadChunk];
  while (!stop && !closed_) {
    pollfd p{fd_, POLLIN, 0};
    const int ready = poll(&p, 1, kPollMs);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    for (ssize_t i = 0; i < got; ++i) {
      // The byte after a stray ACK is its counter, whatever its value: a
      // counter of 0x10 must not be taken for the start of a frame.
      if (!TakeAckCounter(buffer[i])) scanner_.Feed(buffer[i]);
    }
  }
  closed_ = true;
  shutdown(fd_, SHUT_RDWR);
  answered_.notify_all();
}

bool CableLink::Write(const uint8_t *data, size_t length) {
  std::lock_guard<std::mutex> lock(writeMutex_);
  return WriteAll(fd_, data, length);
}

bool CableLink::Send(uint16_t type, const uint8_t *payload, size_t length) {
  if (length > kMaxFrameBody - kAckflowTrailerSize) return false;
  std::lock_guard<std::mutex> cycle(sendMutex_);
  const bool ackflow = ackflow_;
  std::vector<uint8_t> frame(FrameSize(length, ackflow));
  if (length) std::memcpy(frame.data() + kFrameHeaderSize, payload, length);
  const uint8_t counter = sendCounter_;
  BuildFrame(frame.data(), static_cast<uint16_t>(length), type, ackflow, counter);
  if (ackflow) ++sendCounter_;
  const unsigned number = ++framesSent_;
  for (int write = 1; write <= kMaxWrites; ++write) {
    {
      std::lock_guard<std::mutex> lock(answerMutex_);
      answer_ = Answer::None;
      awaitedCounter_ = counter;
    }
    std::vector<uint8_t> bytes = frame;
    if (write == 1 && number == options_.faults.badCrcFrame) {
      bytes[kFrameHeaderSize + length] ^= 0x5A;
      Log("fault: frame %u sent with a wrong CRC", number);
    }
    if (closed_ || !Write(bytes.data(), bytes.size())) return false;
    if (write == 1 && number == options_.faults.repeatFrame) {
      Log("fault: frame %u sent twice", number);
      if (!Write(bytes.data(), bytes.size())) return false;
    }
    if (!ackflow) return true;
    std::unique_lock<std::mutex> lock(answerMutex_);
    answered_.wait_for(lock, kAckWait, [&] { return answer_ != Answer::None || closed_; });
    if (answer_ == Answer::Ack) return true;
    if (closed_) return false;
    Log("frame %u: %s, sending again", number, answer_ == Answer::Nak ? "NAK" : "no acknowledgement");
  }
  return false;
}

bool CableLink::TakeAckCounter(uint8_t byte) {
  if (!ackCounterNext_) return false;
  ackCounterNext_ = false;
  std::lock_guard<std::mutex> lock(answerMutex_);
  // An acknowledgement of an earlier frame (the PC repeats those) is no answer.
  if (byte == awaitedCounter_) {
    answer_ = Answer::Ack;
    answered_.notify_all();
  }
  return true;
}

void CableLink::OnStrayByte(uint8_t byte) {
  if (!ackflow_) return;
  std::lock_guard<std::mutex> lock(answerMutex_);
  if (byte == kAck) {
    ackCounterNext_ = true;
  } else if (byte == kNak) {
    answer_ = Answer::Nak;
    answered_.notify_all();
  }
}

void CableLink::AnswerProbe(const ScannedFrame &frame) {
  ++probes_;
  size_t fitting = 0;
  while (fitting < kSpeedTable.size() && kSpeedTable[fitting].bitsPerSecond != options_.speed) ++fitting;
  // Probes at other speeds arrive garbled on a real line: they go unanswered.
  if ((probes_ - 1) % kSpeedTable.size() != fitting) {
    Log("probe %u ignored (line at %u bit/s)", probes_, options_.speed);
    return;
  }
  const bool offered =
      frame.length > 2 &&
      std::string(reinterpret_cast<const char *>(frame.payload) + 2, frame.length - 2).find("ackflow") !=
          std::string::npos;
  const bool ackflow = offered && options_.ackflow;
  std::vector<uint8_t> reply{0x02, 0x01};
  if (ackflow) reply.insert(reply.end(), {'a', 'c', 'k', 'f', 'l', 'o', 'w', 0});
  std::vector<uint8_t> bytes(FrameSize(reply.size(), false));
  std::memcpy(bytes.data() + kFrameHeaderSize, reply.data(), reply.size());
  BuildFrame(bytes.data(), static_cast<uint16_t>(reply.size()), channel::kProbe, false, 0);
  {
    std::lock_guard<std::mutex> cycle(sendMutex_);
    Write(bytes.data(), bytes.size());
    sendCounter_ = 0;
    ackflow_ = ackflow;
  }
  expected_ = 0;
  scanner_.SetAckflow(ackflow);
  Log("probe %u answered, %s mode", probes_, ackflow ? "ackflow" : "plain");
}

void CableLink::OnFrame(const ScannedFrame &frame) {
  const unsigned number = ++framesReceived_;
  if (options_.faults.goneAfterFrames && number > options_.faults.goneAfterFrames) {
    Log("fault: camera gone after %u frames", options_.faults.goneAfterFrames);
    closed_ = true;
    return;
  }
  if (frame.type == channel::kProbe && frame.length >= 2 && frame.payload[0] == 0x01 && frame.payload[1] == 0x01) {
    if (frame.crcOk) AnswerProbe(frame);
    return;
  }
  if (!ackflow_) {
    if (frame.crcOk) payloads_.OnPayload(frame.type, frame.payload, frame.length);
    return;
  }
  const uint8_t ack[2] = {kAck, frame.counter};
  if (frame.counter == static_cast<uint8_t>(expected_ - 1)) {
    Log("frame with counter %u repeated, acknowledged again", frame.counter);
    Write(ack, sizeof ack);
    return;
  }
  if (frame.counter != expected_ || !frame.crcOk) {
    Log("frame refused (counter %u, expected %u, CRC %s)", frame.counter, expected_, frame.crcOk ? "ok" : "wrong");
    const uint8_t nak = kNak;
    Write(&nak, 1);
    return;
  }
  ++expected_;
  if (number == options_.faults.dropAckFrame)
    Log("fault: frame %u not acknowledged", number);
  else
    Write(ack, sizeof ack);
  payloads_.OnPayload(frame.type, frame.payload, frame.length);
}

}  // namespace camsim_serial
