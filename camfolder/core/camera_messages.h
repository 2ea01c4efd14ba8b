// Which message the user sees for a camera result, and which results mean
// the connection itself is gone.
#pragma once

#include <cstdint>

enum class MessageIcon { kWarning, kError };

struct CameraMessage {
  int message;       // string-table number of the text, 0 when nothing is shown
  MessageIcon icon;
  int returned;      // what the error display returns when it shows nothing
};

// Values from 20000 to 29999 are message numbers already; anything else is
// a camera result whose low half is the code.
CameraMessage MessageForResult(uint32_t result);

// The message shown when a result has no message of its own.
constexpr int kInternalErrorMessage = 29999;
constexpr int kOutOfMemoryMessage = 20004;
constexpr int kInvalidNameMessage = 20012;
constexpr int kConnectionSettingsMessage = 20021;
constexpr int kFolderNotSentMessage = 20019;
// The items a move kept where they were, because the camera does not show
// their copies whole.
constexpr int kNotMovedMessage = 20023;
// Pictures a move sent as camera pictures made from them: the PC keeps them.
constexpr int kConvertedKeptMessage = 20024;
// Before a camera file that is a program is opened.
constexpr int kOpenProgramQuestion = 20025;

// What a failed open of the camera shows: the result itself for the codes
// that have a message of their own there, nothing when the user declined to
// wait (the wait dialog asked already), and the internal error (0xFFFF)
// for any other code.
uint32_t OpenFailureShown(uint32_t result);

// Results after which the connection is closed so that the next operation
// opens a new one: unsupported connection or model, no connection, time-out.
bool IsConnectionClassFailure(uint32_t result);
