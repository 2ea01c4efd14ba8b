// Texts of the window's connection list and of the log lines of a connection.
#pragma once

#include <string>

// "%d. %s:", which finds a connection's line in the list.
std::string ConnectionLinePrefix(unsigned number, const std::string &displayName);
// "%d. %s: Open control connection." or, while a file arrives,
// "%d. %s: Progress data transfer.".
std::string ConnectionLine(unsigned number, const std::string &displayName, bool transferring);

// "->(%d) %s": a received command, or the accept line.
std::string ReceivedLogLine(unsigned number, const std::string &text);
// "<-(%d) %s": a reply, which already ends in CR LF.
std::string SentLogLine(unsigned number, const std::string &reply);

// printf-style %s substitution for the reply formats.
std::string FormatWith(const char *format, const std::string &value);
