#include "tray/win/event_sink.h"

namespace quill::tray {

STDMETHODIMP CSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID__IOTFSEvents))
    *object = static_cast<_IOTFSEvents*>(this);
  else if (IsEqualIID(iid, IID__IMeridexProfileManagerEvents))
    *object = static_cast<_IMeridexProfileManagerEvents*>(this);
  else if (IsEqualIID(iid, IID__IDpiEvents))
    *object = static_cast<_IDpiEvents*>(this);
  else if (IsEqualIID(iid, IID__IMeridexEvents))
    *object = static_cast<_IMeridexEvents*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CSink::Release() {
  const int32_t count = --references_;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CSink::OnMeridexEvent(_TMeridexInfoType* info) {
  if (!info || !owner_) return S_OK;
  try {
    owner_->OnMeridexInfo(*info);
  } catch (...) {
    // Nothing of the tray's may escape into the middleware.
  }
  return S_OK;
}

}  // namespace quill::tray
