// Error and question lines on the console. Errors go to standard error as one
// line each, so that standard output carries only the command's results.
#pragma once

#include <cstdio>
#include <string>

#include "exit_codes.h"

// Prints "camctl: <message>" and returns code.
ExitCode ReportError(const std::string &message, ExitCode code);
// Prints the line for a failed camera operation and returns its exit code.
ExitCode ReportCameraError(const std::string &action, ZLXRESULT result, const char *hint = nullptr);
// Asks a yes/no question on out and reads the answer line from in; only an
// answer starting with y or Y counts as yes (end of input counts as no).
bool AskYesNo(const std::string &question, std::FILE *in, std::FILE *out);
