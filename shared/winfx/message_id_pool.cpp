#include "message_id_pool.h"

namespace winfx {

std::optional<unsigned> MessageIdPool::Take() {
  // Each number of the range is looked at once at most.
  for (unsigned tried = 0; tried <= last_ - first_; ++tried) {
    next_ = next_ >= last_ ? first_ : next_ + 1;
    if (taken_.insert(next_).second) return next_;
  }
  return std::nullopt;
}

}  // namespace winfx
