#include "random_faults.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "camera_storage.h"
#include "zltp_wire.h"

using namespace zltp;

namespace {

// The requests that draw, and the failure statuses a camera answers them
// with when it cannot do them.
struct RequestFaults {
  uint32_t opcode;
  bool transfer;  // its data goes in data packets, one way or the other
  uint16_t statuses[2];
};

constexpr RequestFaults kRequests[] = {
    {kDriveList, false, {status::kDriveAccess, status::kDriveAccess}},
    {kDriveCapacity, false, {status::kDriveAccess, status::kDriveAccess}},
    {kDriveFree, false, {status::kDriveAccess, status::kDriveAccess}},
    {kFormatDriveFirst, false, {status::kDriveAccess, status::kDriveAccess}},
    {kFormatDriveSecond, false, {status::kDriveAccess, status::kDriveAccess}},
    {kCreateDirectory, false, {status::kDriveFull, status::kDriveAccess}},
    {kEraseDirectoryFirst, false, {status::kRefused, status::kDriveAccess}},
    {kEraseDirectorySecond, false, {status::kRefused, status::kDriveAccess}},
    {kRenameDirectory, false, {status::kRefused, status::kDriveAccess}},
    {kRenameFile, false, {status::kRefused, status::kDriveAccess}},
    {kCopyDirectory, false, {status::kDriveFull, status::kDriveAccess}},
    {kCopyFile, false, {status::kDriveFull, status::kDriveAccess}},
    {kMoveDirectory, false, {status::kRefused, status::kDriveAccess}},
    {kMoveFile, false, {status::kRefused, status::kDriveAccess}},
    {kSetAttribute, false, {status::kRefused, status::kDriveAccess}},
    {kEraseFileFirst, false, {status::kRefused, status::kDriveAccess}},
    {kEraseFileSecond, false, {status::kRefused, status::kDriveAccess}},
    {kQueryStampSize, false, {status::kDriveAccess, status::kDriveAccess}},
    {kListing, true, {status::kNotFound, status::kDriveAccess}},
    {kReceiveFile, true, {status::kNotFound, status::kDriveAccess}},
    {kReceiveThumbnail, true, {status::kNotFound, status::kDriveAccess}},
    {kSendFile, true, {status::kDriveFull, status::kDriveAccess}},
    {kSendStamp, true, {status::kDriveFull, status::kDriveAccess}},
};

const RequestFaults *Find(uint32_t opcode) {
  for (const RequestFaults &entry : kRequests) {
    if (entry.opcode == opcode) return &entry;
  }
  return nullptr;
}

constexpr RandomFaultKind kPlainKinds[] = {RandomFaultKind::CloseAtRequest, RandomFaultKind::Stall,
                                           RandomFaultKind::Refuse};
constexpr RandomFaultKind kTransferKinds[] = {RandomFaultKind::CloseAtRequest, RandomFaultKind::CloseInData,
                                              RandomFaultKind::Stall, RandomFaultKind::Refuse};

bool ParseSeed(const std::string &text, uint64_t &seed) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return false;
  errno = 0;
  seed = std::strtoull(text.c_str(), nullptr, 10);
  return errno != ERANGE;
}

bool ParseRate(const std::string &text, double &rate) {
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return false;
  char *end = nullptr;
  rate = std::strtod(text.c_str(), &end);
  return *end == '\0' && rate >= 0 && rate <= 1;
}

}  // namespace

bool ParseRandomFaults(const std::string &text, RandomFaultSettings &settings, std::string &error) {
  const size_t colon = text.find(':');
  const std::string seed = text.substr(0, colon);
  if (!ParseSeed(seed, settings.seed)) {
    error = "the seed of --random-faults must be a decimal number below 2^64: '" + seed + "'";
    return false;
  }
  settings.rate = RandomFaultSettings{}.rate;
  if (colon != std::string::npos && !ParseRate(text.substr(colon + 1), settings.rate)) {
    error = "the rate of --random-faults must be a number from 0 to 1: '" + text.substr(colon + 1) + "'";
    return false;
  }
  return true;
}

uint64_t ShareOf(uint64_t fraction, uint64_t count) {
  return static_cast<uint64_t>((static_cast<unsigned __int128>(fraction) * count) >> 64);
}

RandomFaultSource::RandomFaultSource(const RandomFaultSettings &settings)
    : settings_(settings),
      random_(settings.seed),
      threshold_(static_cast<uint64_t>(settings.rate * 4294967296.0)) {}

bool RandomFaultSource::Paused() {
  struct stat st{};
  const bool paused = !settings_.offWhileFile.empty() && stat(settings_.offWhileFile.c_str(), &st) == 0;
  if (paused != paused_)
    std::fprintf(stderr, "camsim: random faults %s\n",
                 paused ? ("paused: " + settings_.offWhileFile + " exists").c_str() : "resumed");
  paused_ = paused;
  return paused;
}

RandomFault RandomFaultSource::Draw(uint32_t opcode) {
  const RequestFaults *request = Find(opcode);
  if (!request || Paused()) return {};
  RandomFault fault;
  fault.request = ++requests_;
  // Every request takes three numbers whatever it gets, so that its fault
  // depends only on the seed and its place among the drawing requests.
  const uint64_t gate = random_.Next();
  const uint64_t choice = random_.Next();
  const uint64_t parameter = random_.Next();
  if ((gate >> 32) >= threshold_) return fault;
  if (request->transfer)
    fault.kind = kTransferKinds[choice % std::size(kTransferKinds)];
  else
    fault.kind = kPlainKinds[choice % std::size(kPlainKinds)];
  const uint32_t shortest = (settings_.maxStallMs + 1) / 2;
  fault.stallMs = shortest + static_cast<uint32_t>(parameter % (settings_.maxStallMs - shortest + 1));
  fault.status = request->statuses[parameter % 2];
  fault.cut = parameter;
  return fault;
}

const char *RandomFaultHelp() {
  return "Random faults (--random-faults SEED[:RATE]): each request that works on the card\n"
         "(not the version offer, link parameters, close, resynchronise or abort) draws,\n"
         "in arrival order, from a generator seeded by SEED (decimal, 64 bits) whether it\n"
         "gets a fault (probability RATE, 0 to 1, default 0.05) and which, with equal odds:\n"
         "  close            the link closes before the request is carried out\n"
         "  close in data    listings, receives, sends and stamps: the link closes partway\n"
         "                   through the data packets; a body being received is not stored\n"
         "  stall            the request is carried out after a pause of half to all of\n"
         "                   --random-stall-max\n"
         "  refuse           answered with a failure status and not carried out: 9 drive\n"
         "                   full, 12 drive access, 128 not found or 131 refused, as fits\n"
         "                   the request\n"
         "The same seed and the same requests give the same faults; the draws go on across\n"
         "links. Requests made while the --random-faults-off-while file exists draw nothing.\n"
         "Each fault is logged on standard error, -v or not:\n"
         "  camsim: random fault at request N (seq S, op OPCODE): WHAT\n";
}
