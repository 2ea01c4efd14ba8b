// String arrays the host passes as automation VARIANTs: a one-dimensional
// SAFEARRAY of BSTR, held by value (VT_ARRAY | VT_BSTR) or by reference.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <vector>

// The array inside the VARIANT, or nullptr when the VARIANT holds anything
// else or the array does not have exactly one dimension.
SAFEARRAY *BstrArrayOf(const VARIANT *variant);

// The strings of the array from its lower to its upper bound, each converted
// to text in the ANSI code page of at most 1024 bytes; a string that cannot
// be converted becomes empty. Nothing when the array cannot be locked.
std::optional<std::vector<std::string>> ReadBstrArray(SAFEARRAY *array);

// Converts the titles from the ANSI code page to wide text into the existing
// BSTRs of the array, position by position from its lower bound. Each BSTR
// keeps its length: a title is cut to the characters it holds. Elements
// without a title stay unchanged. False when the array cannot be locked.
bool WriteTitlesIntoBstrs(SAFEARRAY *array, const std::vector<std::string> &titles);
