#include "help_text.h"

#include <cctype>
#include <cstdio>

std::string GeneralHelp() {
  std::string text =
      "Usage: camctl [--address A] [--progress] [--yes] COMMAND [ARGS]\n"
      "Operates a Lumo camera through the camera API.\n"
      "\n"
      "Options:\n"
      "  --address A   camera address (dotted IPv4); default: the stored settings\n"
      "  --progress    show the transfer progress dialog\n"
      "  -y, --yes     do not ask for confirmation\n"
      "  -h, --help    show this help, or the help of COMMAND\n"
      "\n"
      "Commands:\n";
  int count = 0;
  const CommandInfo *commands = AllCommands(count);
  for (int i = 0; i < count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "  %-12s %s\n", commands[i].name, commands[i].summary);
    text += line;
  }
  text +=
      "\n"
      "Camera paths start with the drive number: 0:/DCIM/100LUMO01/LUMO0001.JPG;\n"
      "folders end in \"/\". Drives: 0 internal memory, 1 CF card, 2 ATA card.\n"
      "\n"
      "Exit codes:\n"
      "  0  success\n"
      "  1  the camera or the API refused or failed the operation\n"
      "  2  bad command line\n"
      "  3  a local file or folder could not be read or written\n"
      "  4  cancelled: not confirmed, cancelled in the dialog, or waiting declined\n"
      "  5  no camera address stored, or the camera cannot be reached\n";
  return text;
}

std::string CommandHelp(const CommandInfo &command) {
  std::string text = std::string("Usage: camctl [OPTIONS] ") + command.name;
  if (*command.operands) text += std::string(" ") + command.operands;
  std::string summary = command.summary;
  if (!summary.empty()) summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
  text += "\n" + summary + ".\n";
  if (*command.details) text += std::string("\n") + command.details;
  return text;
}
