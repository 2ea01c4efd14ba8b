// Faults the simulated camera can inject, each for every request or only for
// the requests of one opcode ("--fault NAME[=VALUE][@OPCODE]").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class FaultKind {
  Interim,      // interim replies (detail 0x0004) before the final one; value = how many (1)
  Stale,        // a reply with an older sequence before the awaited one
  StaleShort,   // a data packet of an older sequence, shorter than a data prefix, first
  BadHeader,    // an invalid header instead of the reply
  HugeLength,   // a reply or data header announcing an absurd payload length
  Version1,     // answer the offer of version 2 with status 1
  Version3,     // accept the offer naming version 3
  DataTotal,    // the second data packet of a transfer carries another total
  DataOversize, // a data packet carrying more body than the transfer has left
  DataShort,    // every packet announces more body than the transfer sends
  Total,        // every data packet of a transfer announces value as its total
  BadEntry,     // a listing entry with length 0
  EntryPastEnd, // a listing entry running past the body
  CloseMid,     // close the connection in the middle of a transfer, or instead of a reply
  Silent,       // never answer
  Slow,         // answer after value milliseconds
  Detail,       // put value (a 16-bit detail word) into every reply
  Status,       // answer with camera status value
};

struct Fault {
  FaultKind kind;
  uint32_t value = 0;
  std::optional<uint32_t> opcode;  // none: every request
};

// Parses "NAME[=VALUE][@OPCODE]" (opcode as 8 hexadecimal digits).
std::optional<Fault> ParseFault(const std::string &text, std::string &error);
const char *FaultHelp();

class FaultSet {
 public:
  void Add(const Fault &fault) { faults_.push_back(fault); }
  // The fault of that kind for the opcode, if one is set.
  const Fault *Find(FaultKind kind, uint32_t opcode) const;
  bool Has(FaultKind kind, uint32_t opcode) const { return Find(kind, opcode) != nullptr; }

 private:
  std::vector<Fault> faults_;
};
