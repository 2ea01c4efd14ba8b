// Parsing of camctl's command line into one invocation.
#pragma once

#include <string>
#include <vector>

#include "command_table.h"

struct Invocation {
  std::string address;            // --address, empty: the stored settings
  bool progress = false;          // --progress: the link host's progress dialog
  bool yes = false;               // --yes: no confirmation questions
  bool help = false;              // --help, or the help command
  const CommandInfo *command = nullptr;  // nullptr with help: general help
  std::vector<std::string> operands;
  unsigned options = 0;           // CommandOption bits given
};

// Parses the arguments after the program name. Global options may stand
// before or after the command; "--" ends the options. Returns false with a
// one-line message in error.
bool ParseCommandLine(const std::vector<std::string> &args, Invocation &invocation, std::string &error);

// True for a dotted IPv4 address such as "192.168.0.5" (at most 15 characters).
bool IsDottedIPv4(const std::string &text);
