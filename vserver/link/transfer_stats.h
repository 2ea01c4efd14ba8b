// The statistics of the server window, updated once per closed connection.
#pragma once

#include <cstdint>

namespace vserver {

struct ConnectionRecord {
  uint32_t elapsedMs;
  uint32_t received;
  uint32_t sent;
};

class TransferStats {
 public:
  void Add(const ConnectionRecord &record);

  uint32_t Connections() const { return connections_; }
  uint32_t Rate() const { return rate_; }
  uint64_t TotalReceived() const { return totalReceived_; }
  uint64_t TotalSent() const { return totalSent_; }

 private:
  uint32_t connections_ = 0;
  uint32_t rate_ = 0;
  bool rateShown_ = false;
  uint64_t totalReceived_ = 0;
  uint64_t totalSent_ = 0;
};

}  // namespace vserver
