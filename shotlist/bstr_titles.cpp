#include "bstr_titles.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
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

void WriteTitle(BSTR target, const std::string &title) {
  wchar_t wide[kMaxWideCharacters + 1] = {};
  size_t count = std::mbstowcs(wide, title.c_str(), kMaxWideCharacters);
  if (count == static_cast<size_t>(-1)) count = 0;  // not valid text in this locale
  count = std::min<size_t>(count, SysStringLen(target));
  std::wmemcpy(target, wide, count);
  target[count] = L'\0';  // a BSTR always has room for its terminator
}

std::string ReadString(BSTR text) {
  if (!text) return {};
  char converted[kMaxMultibyteBytes];
  const size_t count = std::wcstombs(converted, text, sizeof converted);
  return count == static_cast<size_t>(-1) ? std::string() : std::string(converted, count);
}

// The bounds of the array's one dimension.
bool Bounds(SAFEARRAY *array, LONG &lower, LONG &upper) {
  return SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) && SUCCEEDED(SafeArrayGetUBound(array, 1, &upper));
}

}  // namespace

std::optional<std::vector<std::string>> ReadBstrArray(SAFEARRAY *array) {
  std::setlocale(LC_ALL, "");
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
  std::setlocale(LC_ALL, "");
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
