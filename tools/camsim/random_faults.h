// Seeded random faults ("--random-faults SEED[:RATE]"): every request that
// works on the card draws, in arrival order, whether the camera misbehaves
// and how. The same seed and the same requests give the same faults; the
// draws go on across the links of one run.
#pragma once

#include <cstdint>
#include <string>

#include "split_mix64.h"

// Half the link host's shortest wait for an answer (10 s): a stall never
// makes it give up.
constexpr uint32_t kLongestStallMs = 5000;

struct RandomFaultSettings {
  uint64_t seed = 0;
  double rate = 0.05;       // probability that a request gets a fault
  uint32_t maxStallMs = 800;
  std::string offWhileFile;  // no faults while this file exists
};

// "SEED[:RATE]": a decimal 64-bit seed, a rate from 0 to 1.
bool ParseRandomFaults(const std::string &text, RandomFaultSettings &settings, std::string &error);
const char *RandomFaultHelp();

enum class RandomFaultKind {
  None,
  CloseAtRequest,  // the link closes before the request is carried out
  CloseInData,     // the link closes partway through the request's data packets
  Stall,           // the request is carried out stallMs late
  Refuse,          // the request is answered with status and not carried out
};

struct RandomFault {
  RandomFaultKind kind = RandomFaultKind::None;
  uint64_t request = 0;  // the drawing request's number in this run, from 1
  uint32_t stallMs = 0;
  uint16_t status = 0;
  uint64_t cut = 0;  // where the data stops, as a fraction of 2^64
};

// The share fraction / 2^64 of count, rounded down: below count unless count is 0.
uint64_t ShareOf(uint64_t fraction, uint64_t count);

class RandomFaultSource {
 public:
  explicit RandomFaultSource(const RandomFaultSettings &settings);

  // The fault for the next request with this opcode. Requests that set up,
  // resynchronise, abort or end the link, unknown opcodes, and every request
  // while the pause file exists draw nothing and never get a fault.
  RandomFault Draw(uint32_t opcode);

 private:
  bool Paused();

  RandomFaultSettings settings_;
  SplitMix64 random_;
  uint64_t threshold_;  // a draw's upper 32 bits below it give a fault
  uint64_t requests_ = 0;
  bool paused_ = false;
};
