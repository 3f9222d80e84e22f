// CSink: the tray's one sink object for the middleware's four event interfaces, with one
// reference count. _IOTFSEvents is its primary interface (also IUnknown). Device events are
// passed to the owner on the tray's thread; the other three events are only acknowledged.
#pragma once
#include <windows.h>

#include <ServerLib.h>

#include <cstdint>

namespace quill::tray {

class SinkOwner {
 public:
  virtual void OnMeridexInfo(const _TMeridexInfoType& info) = 0;

 protected:
  ~SinkOwner() = default;
};

class CSink final : public _IOTFSEvents,
                    public _IMeridexProfileManagerEvents,
                    public _IDpiEvents,
                    public _IMeridexEvents {
 public:
  // Reference count 1, for the creator. The owner must outlive every use of the sink; Detach()
  // cuts it off for calls that arrive after the tray let go.
  explicit CSink(SinkOwner* owner) : owner_(owner) {}
  void Detach() { owner_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references_); }
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP OnOTFSEvent(_TButtonStatus*) override { return S_OK; }
  STDMETHODIMP OnMeridexProfileManagerEvent(_TMeridexProfileManagerInfo*) override { return S_OK; }
  STDMETHODIMP OnDpiEvent() override { return S_OK; }
  STDMETHODIMP OnMeridexEvent(_TMeridexInfoType* info) override;

 private:
  ~CSink() = default;
  int32_t references_ = 1;
  SinkOwner* owner_;
};

}  // namespace quill::tray
