// CItemEnum: the items of a camera folder for the shell (IEnumIDList), over
// a private copy of the packed item block.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "items/module_state.h"

namespace camfolder {

class CItemEnum final : public IEnumIDList {
 public:
  // Loads the folder's contents from the camera. A failed load is returned
  // and no enumerator is made.
  static HRESULT Create(HWND owner, DWORD flags, const std::vector<uint8_t> &folderList, const std::string &path,
                        IEnumIDList **enumerator);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumIDList
  STDMETHODIMP Next(ULONG count, PITEMID_CHILD *items, ULONG *fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumIDList **copy) override;

 private:
  CItemEnum(HWND owner, DWORD flags) : owner_(owner), flags_(flags) {}
  ~CItemEnum() = default;

  // The item at the current position; nullptr at the end.
  const uint8_t *Current() const;

  LONG references_ = 1;
  size_t position_ = 0;         // items passed
  long count_ = -1;             // items in the block, -1 while none is loaded
  std::vector<uint8_t> block_;  // packed items ended by a zero length
  std::vector<uint8_t> folderList_;
  HWND owner_;
  DWORD flags_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
