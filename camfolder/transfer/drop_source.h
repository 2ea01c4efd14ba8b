// CDropSource: the source side of a drag of camera items (IDropSource). It
// tells the data object when the drop is made, so that the items are
// fetched only then.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include "items/module_state.h"
#include "win_raii.h"

namespace camfolder {

class CDropSource final : public IDropSource {
 public:
  // button: MK_LBUTTON or MK_RBUTTON, the one that started the drag.
  static HRESULT Create(DWORD button, IDataObject *data, IDropSource **source);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDropSource
  STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  STDMETHODIMP GiveFeedback(DWORD effect) override;

 private:
  CDropSource(DWORD button, IDataObject *data) : button_(button), data_(data) {}
  ~CDropSource() = default;

  LONG references_ = 1;
  DWORD button_;
  ComPtr<IDataObject> data_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
