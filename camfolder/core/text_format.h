// Message texts of the string table filled in with their values. The
// formats come from resources a translator may edit, so they are never
// handed to printf: each "%s" or "%d" (with an optional "-" and width, as in
// "%-3d") takes the next value, already made a text; a format asking for
// more values than given gets empty texts, and "%%" is a percent sign.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace camfolder {

std::wstring FormatText(std::wstring_view format, std::initializer_list<std::wstring_view> values);

}  // namespace camfolder
