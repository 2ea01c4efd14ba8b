// One-line descriptions of camera results for error messages.
#pragma once

#include <string>

#include "zlx_result.h"

// "0xFE07 (the drive, folder or file does not exist)", with the camera's
// detail word appended when it is not zero.
std::string DescribeResult(ZLXRESULT result);
// "camctl: <action>: error <description>", followed by the hint when one is
// given (connection failures get a default hint).
std::string ResultErrorLine(const std::string &action, ZLXRESULT result, const char *hint = nullptr);
