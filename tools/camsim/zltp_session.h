// One link host's session with the simulated camera: requests arrive on the
// control connection, listings and file bodies leave as data packets on the
// data connection, and sent bodies arrive there. Single-threaded: one poll
// loop over both connections.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "camera_storage.h"
#include "packet_reader.h"
#include "random_faults.h"
#include "serve_options.h"

class ZltpSession {
 public:
  // randomFaults may be null (no random faults).
  ZltpSession(int control, int data, const ServeOptions &options, CameraStorage &storage,
              std::string &configuration, RandomFaultSource *randomFaults, const std::atomic<bool> &stop);
  ~ZltpSession();
  ZltpSession(const ZltpSession &) = delete;
  ZltpSession &operator=(const ZltpSession &) = delete;

  // Serves until the link host closes the link or goes away, or stop is set.
  void Run();

 private:
  // A body the link host is sending (file, configuration or stamp).
  struct Incoming {
    uint32_t opcode = 0;
    uint16_t sequence = 0;
    std::string name;
    uint32_t total = 0;
    std::vector<uint8_t> body;
    bool closeAfterFirst = false;
    std::optional<RandomFault> closeInData;
    uint32_t packets = 0;
  };

  bool ReadControl(int timeoutMs);
  bool ReadData(int timeoutMs);
  // A request with its random fault; false ends the session.
  bool Serve(const Packet &request);
  void LogRandomFault(const RandomFault &fault, uint16_t sequence, uint32_t opcode, const std::string &what) const;
  // Request handling (camera_requests.cpp); false ends the session.
  bool HandleRequest(const Packet &request);
  bool Refuse(const Packet &request, uint16_t status);
  bool HandleDataPacket(const Packet &packet);
  bool HandleSendRequest(const Packet &request);
  bool HandleStampRequest(const Packet &request);
  bool HandleReceive(const Packet &request, bool thumbnail);
  bool HandleListing(const Packet &request);
  bool FinishIncoming();
  bool StartIncoming(Incoming incoming);

  // Replies and data packets, with the faults chosen for the request.
  bool Reply(const Packet &request, uint16_t status, const std::vector<uint8_t> &extra = {},
             std::optional<uint32_t> opcode = std::nullopt);
  bool SendError(const Packet &request, uint16_t status);  // a lone data packet with the status
  bool SendChunks(const Packet &request, const std::vector<std::vector<uint8_t>> &chunks, uint32_t total);
  bool SendDataPacket(uint16_t sequence, uint16_t status, bool last, uint32_t total, const uint8_t *body,
                      size_t length);
  bool SendPacket(int fd, uint32_t opcode, uint16_t sequence, const std::vector<uint8_t> &payload,
                  std::optional<uint32_t> announcedLength = std::nullopt);
  bool AbortPending(uint16_t sequence);
  uint16_t Detail(uint32_t opcode) const;
  size_t ChunkLimit() const;
  void Log(const Packet &request, const std::string &what) const;
  void Pause(uint32_t opcode) const;

  int control_;
  int data_;
  const ServeOptions &options_;
  CameraStorage &storage_;
  std::string &configuration_;
  RandomFaultSource *randomFaults_;
  const std::atomic<bool> &stop_;
  PacketReader controlReader_;
  PacketReader dataReader_;
  std::deque<Packet> requests_;
  std::optional<Incoming> incoming_;
  // A close in the data drawn for the request being handled.
  std::optional<RandomFault> closeInData_;
  // Data packets that came before their send request was read (the two
  // connections are not ordered against each other); a few are kept.
  std::deque<Packet> early_;
  uint16_t version_ = 2;
  bool closing_ = false;
};
