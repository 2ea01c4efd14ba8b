#include "bstr_titles.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

constexpr size_t kMaxWideCharacters = 1024;
constexpr size_t kMaxMultibyteBytes = 1024;

// Releases a SafeArrayLock on every path.
class ArrayLock {
 public:
  explicit ArrayLock(SAFEARRAY *array) : array_(SUCCEEDED(SafeArrayLock(array)) ? array : nullptr) {}
  ~ArrayLock() {
    if (array_) SafeArrayUnlock(array_);
  }
  ArrayLock(const ArrayLock &) = delete;
  ArrayLock &operator=(const ArrayLock &) = delete;
  explicit operator bool() const { return array_ != nullptr; }

 private:
  SAFEARRAY *array_;
};

// The title's first 1024 characters (up to its first null) in UTF-16; empty
// when they are not valid text in the ANSI code page. The conversion calls
// take the code page as an argument: the host's C locale is never touched.
std::wstring WideTitle(const std::string &title) {
  const char *text = title.c_str();
  const size_t end = std::strlen(text);
  size_t length = 0;
  for (size_t characters = 0; characters < kMaxWideCharacters && length < end; ++characters) {
    length += IsDBCSLeadByte(static_cast<BYTE>(text[length])) ? 2 : 1;
  }
  length = std::min(length, end);  // a lead byte at the end stays alone, and invalid
  if (length == 0) return {};
  std::wstring wide(length, L'\0');  // never more characters than bytes
  const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), wide.data(),
                                        static_cast<int>(wide.size()));
  wide.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return wide;
}

void WriteTitle(BSTR target, const std::string &title) {
  const std::wstring wide = WideTitle(title);
  const size_t count = std::min<size_t>(wide.size(), SysStringLen(target));
  std::wmemcpy(target, wide.data(), count);
  target[count] = L'\0';  // a BSTR always has room for its terminator
}

// The text up to its first null in the ANSI code page: as many whole
// characters as fit in 1024 bytes, or empty when one of them has no exact
// equivalent there (no best-fit look-alikes).
std::string ReadString(BSTR text) {
  std::string narrow;
  for (const wchar_t *unit = text; unit && *unit; ++unit) {
    char bytes[4];
    BOOL substituted = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, unit, 1, bytes, sizeof bytes, nullptr, &substituted);
    if (size <= 0 || substituted) return {};
    if (narrow.size() + static_cast<size_t>(size) > kMaxMultibyteBytes) break;
    narrow.append(bytes, static_cast<size_t>(size));
  }
  return narrow;
}

// The bounds of the array's one dimension.
bool Bounds(SAFEARRAY *array, LONG &lower, LONG &upper) {
  return SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) && SUCCEEDED(SafeArrayGetUBound(array, 1, &upper));
}

}  // namespace

std::optional<std::vector<std::string>> ReadBstrArray(SAFEARRAY *array) {
  ArrayLock lock(array);
  LONG lower = 0, upper = -1;
  if (!lock || !Bounds(array, lower, upper)) return std::nullopt;
  std::vector<std::string> strings;
  const auto *elements = static_cast<const BSTR *>(array->pvData);
  for (int64_t index = lower; index <= upper; ++index) strings.push_back(ReadString(elements[index - lower]));
  return strings;
}

SAFEARRAY *BstrArrayOf(const VARIANT *variant) {
  if (!variant) return nullptr;
  SAFEARRAY *array = nullptr;
  if (variant->vt == (VT_ARRAY | VT_BSTR)) {
    array = variant->parray;
  } else if (variant->vt == (VT_BYREF | VT_ARRAY | VT_BSTR) && variant->pparray) {
    array = *variant->pparray;
  }
  VARTYPE elementType = VT_EMPTY;
  if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetVartype(array, &elementType)) ||
      elementType != VT_BSTR || array->cbElements != sizeof(BSTR)) {
    return nullptr;
  }
  return array;
}

bool WriteTitlesIntoBstrs(SAFEARRAY *array, const std::vector<std::string> &titles) {
  ArrayLock lock(array);
  if (!lock) return false;
  LONG lower = 0, upper = -1;
  if (!Bounds(array, lower, upper)) return false;
  auto *elements = static_cast<BSTR *>(array->pvData);
  for (LONG index = lower; index <= upper; ++index) {
    const size_t position = static_cast<size_t>(int64_t(index) - lower);
    if (position >= titles.size()) break;
    if (elements[position]) WriteTitle(elements[position], titles[position]);
  }
  return true;
}
