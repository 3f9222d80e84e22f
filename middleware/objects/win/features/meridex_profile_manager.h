// CMeridexProfileManager (IMeridexProfileManager): the five on-board profile slots, handed out
// as profile objects by slot number.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CMeridexProfileManager final
    : public com::ComObject<IMeridexProfileManager,
                            com::EventSource<_IMeridexProfileManagerEvents>>,
      private DeviceBound {
 public:
  explicit CMeridexProfileManager(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP GetProfileByIndex(LONG lIndex, IMeridexProfileObject** ppProfile) override;
  STDMETHODIMP OpenProfile(LONG lNumber, IMeridexProfileObject** ppProfile) override;
  STDMETHODIMP SetActiveProfile(IMeridexProfileObject* pProfile) override;
  STDMETHODIMP GetActiveProfile(IMeridexProfileObject** ppProfile) override;
  STDMETHODIMP CreateProfile(IMeridexProfileObject** ppProfile) override;
  STDMETHODIMP DeleteProfile(IMeridexProfileObject* pProfile) override;
  STDMETHODIMP Reserved1() override { return S_OK; }
  STDMETHODIMP Reserved2() override { return S_OK; }
  // Tells every sink the active slot; the last sink's result, E_FAIL without sinks.
  STDMETHODIMP NotifyActiveProfile() override;
  STDMETHODIMP GetActiveProfileNumber(LONG* lpNumber) override;
  STDMETHODIMP ProfileExists(LONG lNumber) override;

 private:
  // Runs find(channel, slot) and hands out a profile object for the slot it gives.
  template <class Find>
  HRESULT HandOutProfile(IMeridexProfileObject** out, Find&& find);
};

}  // namespace quill::server
