// The server's settings: fixed port, user and password from the string
// table, and the root directory and log file name of the user's profile.
#pragma once

#include <string>

#include "ftp_session.h"
#include "profile.h"

struct ServerSettings {
  static constexpr int kPort = 6222;

  FtpSettings ftp;
  std::string logFileName;  // empty: no log

  static ServerSettings Load(const winfx::CProfile &profile);
  bool Save(const winfx::CProfile &profile) const;
};
