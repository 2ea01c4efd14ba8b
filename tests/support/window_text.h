// Test helper: the texts of windows as UTF-16 carries them, in UTF-8, so
// that a test compares them with the stored texts whatever the ANSI code
// page of the system it runs on.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::string Utf8(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view utf8);
std::string WindowTextUtf8(HWND window);
