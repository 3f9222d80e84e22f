// Connection points of the module's objects: each object with an event interface is a
// connection-point container with exactly one point, for that interface.
//
//   class CThing final : public com::ComObject<IThing, com::EventSource<_IThingEvents>> {
//     HRESULT Notify(long value) {
//       return FireEvents(E_FAIL, [&](_IThingEvents* sink) { return sink->OnThing(value); });
//     }
//   };
//
// Sinks sit in a growing array; a cookie is the 1-based slot number, and a freed slot is reused
// by the next Advise. Firing walks the slots in order, holds a reference to each live sink while
// calling it, and returns the last sink's result (the caller's choice when there is none).
#pragma once
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstddef>
#include <vector>

namespace quill::com {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `container` is the object the point belongs to; the point shares its reference count.
  ConnectionPoint(IConnectionPointContainer& container, REFIID events);
  // Releases every sink still connected.
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  // The point has an identity of its own (IUnknown, IConnectionPoint) but keeps its container
  // alive: references are counted on the container.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  REFIID events() const { return events_; }
  size_t LiveSinkCount() const;

  // Calls `call(Sink*)` for every live sink in slot order (see above). Sinks may advise or
  // unadvise from inside the call.
  template <class Sink, class Call>
  HRESULT Fire(HRESULT result_without_sinks, Call&& call) {
    HRESULT result = result_without_sinks;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      IUnknown* const sink = slots_[slot];
      if (!sink) continue;
      sink->AddRef();
      result = call(static_cast<Sink*>(sink));
      sink->Release();
    }
    return result;
  }

 private:
  IConnectionPointContainer& container_;
  const IID events_;
  // Each live entry is the sink's event-interface pointer, with the reference Advise took.
  std::vector<IUnknown*> slots_;
};

// IConnectionPointContainer with its one point; the non-template part of EventSource.
class SinglePointContainer : public IConnectionPointContainer {
 public:
  using ComInterface = IConnectionPointContainer;

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 protected:
  explicit SinglePointContainer(REFIID events) : point_(*this, events) {}
  ~SinglePointContainer() = default;

  ConnectionPoint& point() { return point_; }

 private:
  ConnectionPoint point_;
};

// Base of every object with the event interface Events.
template <class Events>
class EventSource : public SinglePointContainer {
 protected:
  EventSource() : SinglePointContainer(__uuidof(Events)) {}
  ~EventSource() = default;

  template <class Call>
  HRESULT FireEvents(HRESULT result_without_sinks, Call&& call) {
    return point().template Fire<Events>(result_without_sinks, static_cast<Call&&>(call));
  }
  size_t SinkCount() { return point().LiveSinkCount(); }
};

}  // namespace quill::com
