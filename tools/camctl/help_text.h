// The help texts of camctl: the general usage and the help of one command.
#pragma once

#include <string>

#include "command_table.h"

std::string GeneralHelp();
std::string CommandHelp(const CommandInfo &command);
