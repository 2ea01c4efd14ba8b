// The seeded random faults: the generator's numbers, the option syntax, and
// what a seed draws for a stream of requests.
#include <gtest/gtest.h>

#include <vector>

#include "random_faults.h"
#include "serve_options.h"
#include "zltp_wire.h"

using namespace zltp;

namespace {

bool Parse(std::vector<std::string> arguments, ServeOptions &options, std::string &error) {
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(argument.data());
  bool help = false;
  return ParseServeOptions(static_cast<int>(argv.size()), argv.data(), options, help, error);
}

bool Same(const RandomFault &a, const RandomFault &b) {
  return a.kind == b.kind && a.request == b.request && a.stallMs == b.stallMs && a.status == b.status &&
         a.cut == b.cut;
}

RandomFaultSettings Settings(uint64_t seed, double rate) {
  RandomFaultSettings settings;
  settings.seed = seed;
  settings.rate = rate;
  return settings;
}

const uint32_t kCardRequests[] = {kListing,    kCreateDirectory, kReceiveFile,     kRenameFile,
                                  kSendFile,   kEraseFileFirst,  kEraseFileSecond, kMoveDirectory,
                                  kSendStamp,  kDriveFree,       kSetAttribute,    kReceiveThumbnail};

}  // namespace

TEST(RandomFaults, TheGeneratorGivesTheReferenceSplitMix64Numbers) {
  // A recorded seed must keep giving the same faults in later builds.
  SplitMix64 random(1234567);
  for (uint64_t expected : {6457827717110365317ull, 3203168211198807973ull, 9817491932198370423ull,
                            4593380528125082431ull, 16408922859458223821ull})
    EXPECT_EQ(random.Next(), expected);
}

TEST(RandomFaults, OptionsGiveSeedRateStallAndPauseFile) {
  ServeOptions plain;
  std::string error;
  ASSERT_TRUE(Parse({}, plain, error));
  EXPECT_FALSE(plain.randomFaults);

  ServeOptions defaults;
  ASSERT_TRUE(Parse({"--random-faults", "42"}, defaults, error)) << error;
  ASSERT_TRUE(defaults.randomFaults);
  EXPECT_EQ(defaults.randomFaults->seed, 42u);
  EXPECT_EQ(defaults.randomFaults->rate, 0.05);
  EXPECT_EQ(defaults.randomFaults->maxStallMs, 800u);
  EXPECT_EQ(defaults.randomFaults->offWhileFile, "");

  // The other options may come first; the last --random-faults counts whole.
  ServeOptions all;
  ASSERT_TRUE(Parse({"--random-stall-max", "5000", "--random-faults-off-while", "/tmp/off", "--random-faults",
                     "1:0.5", "--random-faults", "18446744073709551615"},
                    all, error))
      << error;
  EXPECT_EQ(all.randomFaults->seed, 18446744073709551615ull);
  EXPECT_EQ(all.randomFaults->rate, 0.05);
  EXPECT_EQ(all.randomFaults->maxStallMs, 5000u);
  EXPECT_EQ(all.randomFaults->offWhileFile, "/tmp/off");

  for (const auto &[rate, expected] : {std::pair<const char *, double>{"0", 0}, {"1", 1}, {".25", 0.25}}) {
    ServeOptions options;
    ASSERT_TRUE(Parse({"--random-faults", std::string("7:") + rate}, options, error)) << rate << ": " << error;
    EXPECT_EQ(options.randomFaults->rate, expected);
  }
}

TEST(RandomFaults, BadOptionsGetAClearError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--random-faults"}, "missing value"},
      {{"--random-faults", ""}, "seed"},
      {{"--random-faults", "-1"}, "seed"},
      {{"--random-faults", "0x10"}, "seed"},
      {{"--random-faults", "18446744073709551616"}, "seed"},
      {{"--random-faults", "5:"}, "rate"},
      {{"--random-faults", "5:1.01"}, "rate"},
      {{"--random-faults", "5:-0.1"}, "rate"},
      {{"--random-faults", "5:nan"}, "rate"},
      {{"--random-faults", "5:0.1:2"}, "rate"},
      {{"--random-faults", "5", "--random-stall-max", "0"}, "1 to 5000"},
      {{"--random-faults", "5", "--random-stall-max", "5001"}, "1 to 5000"},
      {{"--random-faults", "5", "--random-faults-off-while", ""}, "file name"},
      {{"--random-stall-max", "100"}, "needs --random-faults"},
      {{"--random-faults-off-while", "/tmp/off"}, "needs --random-faults"},
  };
  for (const auto &[arguments, message] : cases) {
    ServeOptions options;
    std::string error;
    EXPECT_FALSE(Parse(arguments, options, error)) << arguments.back();
    EXPECT_NE(error.find(message), std::string::npos) << arguments.back() << ": " << error;
  }
}

TEST(RandomFaults, ASeedGivesTheSameFaultsWhateverLinkRequestsComeBetween) {
  RandomFaultSource plain(Settings(99, 0.3));
  RandomFaultSource interleaved(Settings(99, 0.3));
  RandomFaultSource other(Settings(100, 0.3));
  const uint32_t linkRequests[] = {kVersionOffer, kLinkParameters, kAbortTransfer, kResynchronise, kCloseCamera,
                                   0x12345678};
  bool differs = false;
  for (int round = 0; round < 40; ++round) {
    for (uint32_t opcode : kCardRequests) {
      for (uint32_t link : linkRequests) EXPECT_EQ(interleaved.Draw(link).kind, RandomFaultKind::None);
      const RandomFault expected = plain.Draw(opcode);
      EXPECT_TRUE(Same(interleaved.Draw(opcode), expected)) << "request " << expected.request;
      differs = differs || !Same(other.Draw(opcode), expected);
    }
  }
  EXPECT_TRUE(differs);
}

TEST(RandomFaults, TheRateIsTheShareOfFaultedRequestsAndEveryFaultFitsItsRequest) {
  RandomFaultSource never(Settings(3, 0));
  RandomFaultSource sometimes(Settings(3, 0.05));
  RandomFaultSettings alwaysSettings = Settings(3, 1);
  alwaysSettings.maxStallMs = 301;
  RandomFaultSource always(alwaysSettings);
  int some = 0;
  int kinds[5] = {};
  for (int i = 0; i < 20000; ++i) {
    const uint32_t opcode = kCardRequests[i % std::size(kCardRequests)];
    EXPECT_EQ(never.Draw(opcode).kind, RandomFaultKind::None);
    some += sometimes.Draw(opcode).kind != RandomFaultKind::None;
    const RandomFault fault = always.Draw(opcode);
    ++kinds[static_cast<int>(fault.kind)];
    const bool transfer = opcode == kListing || opcode == kReceiveFile || opcode == kReceiveThumbnail ||
                          opcode == kSendFile || opcode == kSendStamp;
    EXPECT_TRUE(transfer || fault.kind != RandomFaultKind::CloseInData) << std::hex << opcode;
    if (fault.kind == RandomFaultKind::Stall) {
      EXPECT_GE(fault.stallMs, 151u);
      EXPECT_LE(fault.stallMs, 301u);
    }
    // A failure with a meaning of its own in the link host's table.
    EXPECT_TRUE(fault.kind != RandomFaultKind::Refuse || MapCameraStatus(fault.status) != ZLX_E_GENERAL);
  }
  EXPECT_GT(some, 800);
  EXPECT_LT(some, 1200);
  EXPECT_EQ(kinds[static_cast<int>(RandomFaultKind::None)], 0);
  for (int kind = 1; kind < 5; ++kind) EXPECT_GT(kinds[kind], 2000) << kind;
}

TEST(RandomFaults, AShareStaysBelowItsCount) {
  EXPECT_EQ(ShareOf(0, 4), 0u);
  EXPECT_EQ(ShareOf(~0ull, 4), 3u);
  EXPECT_EQ(ShareOf(1ull << 63, 10), 5u);
  EXPECT_EQ(ShareOf(~0ull, 0xFFFFFFFFull), 0xFFFFFFFEull);
  EXPECT_EQ(ShareOf(~0ull, 0), 0u);
}
