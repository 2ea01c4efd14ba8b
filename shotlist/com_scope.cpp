#include "com_scope.h"

#include <objbase.h>

ComScope::ComScope() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  uninitialize_ = SUCCEEDED(hr);  // RPC_E_CHANGED_MODE: the thread already runs COM its own way
}

ComScope::~ComScope() {
  if (uninitialize_) CoUninitialize();
}
