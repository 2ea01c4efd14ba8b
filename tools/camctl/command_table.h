// The commands camctl knows: their names, operands, options and help texts.
#pragma once

#include <string>

enum class CommandId {
  Info, Drives, Ls, Get, Put, Thumb, Rm, Rmdir, Mkdir, Mv, Cp, Attr, Format,
  ConfigGet, ConfigSet, StampSizes, Settings, Help,
};

// Options a command accepts besides the global ones.
enum CommandOption : unsigned {
  kOptionRecursive = 1u << 0,  // -R, --recursive
  kOptionReplace = 1u << 1,    // --replace
  kOptionForce = 1u << 2,      // -f, --force
};

constexpr int kUnlimitedOperands = -1;

struct CommandInfo {
  CommandId id;
  const char *name;
  const char *operands;  // as shown in the usage line
  const char *summary;   // one line for the command list
  const char *details;   // the rest of the per-command help
  int minOperands;
  int maxOperands;       // kUnlimitedOperands for no limit
  unsigned options;      // CommandOption bits
  bool needsCamera;
};

// The command with this name, or nullptr.
const CommandInfo *FindCommand(const std::string &name);
// All commands in help order; count receives their number.
const CommandInfo *AllCommands(int &count);
