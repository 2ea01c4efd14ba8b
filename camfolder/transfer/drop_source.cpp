#include "transfer/drop_source.h"

#include <new>

#include "transfer/clipboard_formats.h"

namespace camfolder {

namespace {

constexpr DWORD kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

// Tells the data object that the drop is made ("InShellDragLoop" 0).
void MarkDropped(IDataObject *data) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
  if (!block) return;
  FORMATETC format{Formats().dragLoop, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = block;
  if (FAILED(data->SetData(&format, &medium, TRUE))) GlobalFree(block);
}

}  // namespace

HRESULT CDropSource::Create(DWORD button, IDataObject *data, IDropSource **source) {
  if (!source || !data) return E_INVALIDARG;
  *source = new (std::nothrow) CDropSource(button, data);
  return *source ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CDropSource::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDropSource)) {
    *object = static_cast<IDropSource *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CDropSource::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CDropSource::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (keyState & kButtons & ~button_) return DRAGDROP_S_CANCEL;
  if (keyState & button_) return S_OK;
  MarkDropped(data_.Get());
  return DRAGDROP_S_DROP;
}

STDMETHODIMP CDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

}  // namespace camfolder
