#include "core/text_format.h"

namespace camfolder {

std::wstring FormatText(std::wstring_view format, std::initializer_list<std::wstring_view> values) {
  std::wstring text;
  auto next = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') {
      text += format[i];
      continue;
    }
    size_t at = i + 1;
    const bool left = at < format.size() && format[at] == L'-';
    if (left) ++at;
    size_t width = 0;
    while (at < format.size() && format[at] >= L'0' && format[at] <= L'9' && width < 1000)
      width = width * 10 + static_cast<size_t>(format[at++] - L'0');
    if (at < format.size() && (format[at] == L's' || format[at] == L'd')) {
      const std::wstring_view value = next != values.end() ? *next++ : std::wstring_view();
      const std::wstring padding(value.size() < width ? width - value.size() : 0, L' ');
      text += left ? std::wstring(value) + padding : padding + std::wstring(value);
      i = at;
    } else if (at == i + 1 && at < format.size() && format[at] == L'%') {
      text += L'%';
      i = at;
    } else {
      text += L'%';  // no directive: the sign stays as written
    }
  }
  return text;
}

}  // namespace camfolder
