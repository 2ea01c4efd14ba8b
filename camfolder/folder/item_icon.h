// CItemIcon: where the shell finds the icon of a camera item. Two interface
// tables: IExtractIconA, and IExtractIconW with the same answers for shells
// that ask only for the wide one.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/camera_item.h"
#include "core/camera_path.h"
#include "items/module_state.h"

namespace camfolder {

class CItemIcon final : public IExtractIconA, public IExtractIconW {
 public:
  static HRESULT Create(const CameraItem &item, REFIID interfaceId, void **object);

  // IUnknown (through IExtractIconA)
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IExtractIconA
  STDMETHODIMP GetIconLocation(UINT flags, LPSTR iconFile, UINT size, int *index, UINT *outFlags) override;
  STDMETHODIMP Extract(LPCSTR iconFile, UINT index, HICON *large, HICON *small, UINT sizes) override;

  // IExtractIconW
  STDMETHODIMP GetIconLocation(UINT flags, LPWSTR iconFile, UINT size, int *index, UINT *outFlags) override;
  STDMETHODIMP Extract(LPCWSTR iconFile, UINT index, HICON *large, HICON *small, UINT sizes) override;

 private:
  CItemIcon() = default;
  ~CItemIcon() = default;

  // The shell's file information for the item's name, by file attributes.
  bool FileInfo(UINT flags, SHFILEINFOA &info) const;

  LONG references_ = 1;
  char name_[kItemTextField] = "";  // the item's last path component
  PathKind kind_ = kNoPath;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
