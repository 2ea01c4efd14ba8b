// The commands of camctl. Each runs against an open camera (or, for the
// settings, the stored connection settings), prints its results on standard
// output and its errors on standard error, and returns the exit code.
#pragma once

#include <string>

#include "camapi.h"
#include "command_line.h"
#include "exit_codes.h"

struct CommandContext {
  const Invocation &invocation;
  HZLXCAMERA camera;
  tagZLXMODEL model;
  std::string address;
};

// Normalises a camera path operand; a bad one is reported as a usage error.
bool CameraOperand(const std::string &text, std::string &path, ExitCode &failure);

ExitCode RunInfo(CommandContext &context);
ExitCode RunDrives(CommandContext &context);
ExitCode RunFormat(CommandContext &context);
ExitCode RunStampSizes(CommandContext &context);
ExitCode RunLs(CommandContext &context);
ExitCode RunAttr(CommandContext &context);
ExitCode RunGet(CommandContext &context);
ExitCode RunThumb(CommandContext &context);
ExitCode RunPut(CommandContext &context);
ExitCode RunConfigGet(CommandContext &context);
ExitCode RunConfigSet(CommandContext &context);
ExitCode RunRm(CommandContext &context);
ExitCode RunRmdir(CommandContext &context);
ExitCode RunMkdir(CommandContext &context);
ExitCode RunMv(CommandContext &context);
ExitCode RunCp(CommandContext &context);
ExitCode RunSettings(const Invocation &invocation);
