#include "transfer_stats.h"

namespace vserver {

void TransferStats::Add(const ConnectionRecord &record) {
  ++connections_;
  const uint64_t bytes = uint64_t{record.received} + record.sent;
  const uint32_t seconds = record.elapsedMs / 1000;
  // Connections shorter than two seconds count as one second.
  uint64_t rate = seconds < 2 ? bytes : bytes / seconds;
  // Smooth with the rate shown before.
  if (rateShown_) rate = (rate + rate_) >> 1;
  rate_ = rate > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rate);
  rateShown_ = true;
  totalReceived_ += record.received;
  totalSent_ += record.sent;
}

}  // namespace vserver
