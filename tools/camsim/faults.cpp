#include "faults.h"

#include <cstdlib>

namespace {

struct FaultName {
  const char *name;
  FaultKind kind;
};

constexpr FaultName kNames[] = {
    {"interim", FaultKind::Interim},         {"stale", FaultKind::Stale},
    {"bad-header", FaultKind::BadHeader},    {"huge-length", FaultKind::HugeLength},
    {"version1", FaultKind::Version1},       {"version3", FaultKind::Version3},
    {"data-total", FaultKind::DataTotal},    {"data-oversize", FaultKind::DataOversize},
    {"bad-entry", FaultKind::BadEntry},      {"entry-past-end", FaultKind::EntryPastEnd},
    {"close-mid", FaultKind::CloseMid},      {"silent", FaultKind::Silent},
    {"slow", FaultKind::Slow},               {"detail", FaultKind::Detail},
    {"status", FaultKind::Status},           {"data-short", FaultKind::DataShort},
    {"total", FaultKind::Total},             {"stale-short", FaultKind::StaleShort},
};

bool ParseNumber(const std::string &text, uint32_t &value) {
  if (text.empty()) return false;
  char *end = nullptr;
  const unsigned long parsed = std::strtoul(text.c_str(), &end, 0);
  if (*end != '\0' || parsed > 0xFFFFFFFFul) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

}  // namespace

std::optional<Fault> ParseFault(const std::string &text, std::string &error) {
  std::string rest = text;
  Fault fault{FaultKind::Interim};
  if (const size_t at = rest.find('@'); at != std::string::npos) {
    const std::string opcode = rest.substr(at + 1);
    uint32_t value = 0;
    if (opcode.size() != 8 || !ParseNumber("0x" + opcode, value)) {
      error = "opcode must be 8 hexadecimal digits: " + opcode;
      return std::nullopt;
    }
    fault.opcode = value;
    rest.resize(at);
  }
  if (const size_t eq = rest.find('='); eq != std::string::npos) {
    if (!ParseNumber(rest.substr(eq + 1), fault.value)) {
      error = "bad fault value: " + rest.substr(eq + 1);
      return std::nullopt;
    }
    rest.resize(eq);
  } else {
    fault.value = 1;
  }
  for (const FaultName &entry : kNames) {
    if (rest == entry.name) {
      fault.kind = entry.kind;
      return fault;
    }
  }
  error = "unknown fault: " + rest;
  return std::nullopt;
}

const Fault *FaultSet::Find(FaultKind kind, uint32_t opcode) const {
  for (const Fault &fault : faults_) {
    if (fault.kind == kind && (!fault.opcode || *fault.opcode == opcode)) return &fault;
  }
  return nullptr;
}

const char *FaultHelp() {
  return "Faults (--fault NAME[=VALUE][@OPCODE], repeatable; OPCODE as 8 hex digits,\n"
         "e.g. 81030000, limits the fault to that request; without it every request):\n"
         "  interim[=N]      N interim replies (detail bit 0x0004) before the final one\n"
         "  stale            a reply with an older sequence number before the awaited one\n"
         "  stale-short      a 3-byte data packet of an older sequence before the answer\n"
         "  bad-header       an invalid header instead of the reply\n"
         "  huge-length      a header announcing a payload of 0x7FFFFFF0 bytes\n"
         "  version1         a version-1-only camera (answers the offer of 2 with status 1)\n"
         "  version3         the version reply names version 3\n"
         "  data-total       the second data packet of a transfer carries another total\n"
         "  data-oversize    a data packet with more body than the transfer has left\n"
         "  data-short       every data packet announces 100 bytes more than are sent\n"
         "  total=N          every data packet of a transfer announces the total N\n"
         "  bad-entry        a listing entry whose length field is 0\n"
         "  entry-past-end   a listing entry whose length runs past the body\n"
         "  close-mid        close the connection after the first data packet (or instead\n"
         "                   of the reply of a request without data packets)\n"
         "  silent           never answer\n"
         "  slow=MS          answer after MS milliseconds, and wait as long between data packets\n"
         "  detail=WORD      put WORD (16 bits) into the detail word of every reply\n"
         "                   (a word with bit 0x0004 makes it an interim reply)\n"
         "  status=N         answer with camera status N\n";
}
