#include "command_line.h"

namespace {

struct OptionName {
  const char *shortName;
  const char *longName;
  CommandOption bit;
};

const OptionName kCommandOptions[] = {
    {"-R", "--recursive", kOptionRecursive},
    {"", "--replace", kOptionReplace},
    {"-f", "--force", kOptionForce},
};

// "-r", "-ra", "-a+s": attribute changes of the attr command, not options.
bool IsAttributeChange(const std::string &arg) {
  return arg.find_first_not_of("+-rhsa", 1) == std::string::npos && arg.find_first_of("rhsa") != std::string::npos &&
         arg != "-h";
}

bool CheckOperandCount(const Invocation &invocation, std::string &error) {
  const CommandInfo &command = *invocation.command;
  const int count = static_cast<int>(invocation.operands.size());
  if (count < command.minOperands) {
    error = std::string("missing operand for '") + command.name + "'; usage: camctl " + command.name + " " + command.operands;
    return false;
  }
  if (command.maxOperands != kUnlimitedOperands && count > command.maxOperands) {
    error = std::string("too many operands for '") + command.name + "'; usage: camctl " + command.name + " " +
            command.operands;
    return false;
  }
  return true;
}

// "help COMMAND" becomes the help of that command.
bool ResolveHelpCommand(Invocation &invocation, std::string &error) {
  invocation.help = true;
  if (invocation.operands.empty()) {
    invocation.command = nullptr;
    return true;
  }
  invocation.command = FindCommand(invocation.operands[0]);
  if (!invocation.command) {
    error = "unknown command '" + invocation.operands[0] + "'";
    return false;
  }
  invocation.operands.clear();
  return true;
}

}  // namespace

bool IsDottedIPv4(const std::string &text) {
  if (text.size() > 15) return false;
  int parts = 0;
  size_t i = 0;
  while (i <= text.size()) {
    size_t digits = 0;
    unsigned value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) {
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
      ++digits;
      ++i;
    }
    if (digits == 0 || value > 255) return false;
    ++parts;
    if (i == text.size()) break;
    if (text[i] != '.' || parts == 4) return false;
    ++i;
  }
  return parts == 4;
}

bool ParseCommandLine(const std::vector<std::string> &args, Invocation &invocation, std::string &error) {
  invocation = Invocation{};
  bool optionsEnded = false;
  std::vector<std::string> words;
  unsigned givenOptions = 0;
  std::string firstCommandOption;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || IsAttributeChange(arg)) {
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      invocation.help = true;
    } else if (arg == "--progress") {
      invocation.progress = true;
    } else if (arg == "--yes" || arg == "-y") {
      invocation.yes = true;
    } else if (arg == "--address" || arg.rfind("--address=", 0) == 0) {
      std::string value;
      if (arg == "--address") {
        if (i + 1 >= args.size()) {
          error = "missing value after --address";
          return false;
        }
        value = args[++i];
      } else {
        value = arg.substr(10);
      }
      if (!IsDottedIPv4(value)) {
        error = "bad camera address '" + value + "': expected a dotted IPv4 address such as 192.168.0.5";
        return false;
      }
      invocation.address = value;
    } else {
      bool known = false;
      for (const OptionName &option : kCommandOptions) {
        if (arg == option.shortName || arg == option.longName) {
          givenOptions |= option.bit;
          if (firstCommandOption.empty()) firstCommandOption = arg;
          known = true;
        }
      }
      if (!known) {
        error = "unknown option '" + arg + "'";
        return false;
      }
    }
  }

  if (words.empty()) {
    if (invocation.help) return true;
    error = "no command given; 'camctl --help' lists the commands";
    return false;
  }
  invocation.command = FindCommand(words[0]);
  if (!invocation.command) {
    error = "unknown command '" + words[0] + "'; 'camctl --help' lists the commands";
    return false;
  }
  invocation.operands.assign(words.begin() + 1, words.end());
  if (invocation.command->id == CommandId::Help) {
    if (invocation.operands.size() > 1) return CheckOperandCount(invocation, error);
    return ResolveHelpCommand(invocation, error);
  }
  if (invocation.help) return true;  // "camctl ls --help": no operand checks
  if (givenOptions & ~invocation.command->options) {
    for (const OptionName &option : kCommandOptions) {
      if ((givenOptions & option.bit) && !(invocation.command->options & option.bit)) {
        error = std::string("option '") + option.longName + "' does not apply to '" + invocation.command->name + "'";
        return false;
      }
    }
  }
  invocation.options = givenOptions;
  return CheckOperandCount(invocation, error);
}
