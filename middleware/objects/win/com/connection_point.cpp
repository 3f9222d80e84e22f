#include "middleware/objects/win/com/connection_point.h"

#include <limits>
#include <new>

#include "middleware/objects/win/com/snapshot_enumerator.h"

namespace quill::com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID events)
    : container_(container), events_(events) {}

ConnectionPoint::~ConnectionPoint() {
  for (IUnknown*& slot : slots_) {
    if (IUnknown* sink = slot) {
      slot = nullptr;
      sink->Release();
    }
  }
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return container_.AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return container_.Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  container_.AddRef();
  *container = &container_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  IUnknown* events = nullptr;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&events))) || !events) {
    return CONNECT_E_CANNOTCONNECT;
  }
  size_t slot = 0;
  while (slot < slots_.size() && slots_[slot]) ++slot;
  if (slot == slots_.size()) {
    // A cookie is a DWORD and 0 names no sink, so at most DWORD max slots.
    bool grown = slot < std::numeric_limits<DWORD>::max();
    if (grown) {
      try {
        slots_.push_back(nullptr);
      } catch (const std::bad_alloc&) {
        grown = false;
      }
    }
    if (!grown) {
      events->Release();
      return CONNECT_E_ADVISELIMIT;
    }
  }
  slots_[slot] = events;
  *cookie = static_cast<DWORD>(slot + 1);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1]) return CONNECT_E_NOCONNECTION;
  IUnknown* const sink = slots_[cookie - 1];
  slots_[cookie - 1] = nullptr;  // cleared first: the sink's Release may call back into us
  sink->Release();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (!connections) return E_POINTER;
  *connections = nullptr;
  std::vector<CONNECTDATA> live;
  try {
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      if (slots_[slot]) live.push_back(CONNECTDATA{slots_[slot], static_cast<DWORD>(slot + 1)});
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return HandOut(MakeComObject<ConnectionsEnumerator>(live, 0), connections);
}

size_t ConnectionPoint::LiveSinkCount() const {
  size_t live = 0;
  for (IUnknown* sink : slots_) live += sink != nullptr;
  return live;
}

STDMETHODIMP SinglePointContainer::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  *points = nullptr;
  try {
    const std::vector<IConnectionPoint*> one{&point_};
    return HandOut(MakeComObject<ConnectionPointsEnumerator>(one, 0), points);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP SinglePointContainer::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, point_.events())) return CONNECT_E_NOCONNECTION;
  point_.AddRef();
  *point = &point_;
  return S_OK;
}

}  // namespace quill::com
