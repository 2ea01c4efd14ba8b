// The window message numbers of one thread's asynchronous sockets: each
// socket takes a number of its own from a fixed range, so a notification
// still queued for a closed socket never reaches a later one. Portable code.
#pragma once

#include <optional>
#include <unordered_set>

namespace winfx {

class MessageIdPool {
 public:
  MessageIdPool(unsigned first, unsigned last) : first_(first), last_(last), next_(last) {}

  // The next free number after the one taken last (wrapping within the
  // range), or none when every number is in use.
  std::optional<unsigned> Take();
  void Release(unsigned id) { taken_.erase(id); }
  bool InUse(unsigned id) const { return taken_.count(id) != 0; }

 private:
  unsigned first_, last_, next_;
  std::unordered_set<unsigned> taken_;
};

}  // namespace winfx
