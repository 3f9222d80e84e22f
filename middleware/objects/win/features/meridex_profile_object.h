// CMeridexProfileObject (IMeridexProfileObject): one on-board profile, by slot number 1 to 5.
// A thin handle: every method works on the device anew.
#pragma once
#include <ServerLib.h>

#include <cstdint>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CMeridexProfileObject final : public com::ComObject<IMeridexProfileObject>,
                                    private DeviceBound {
 public:
  CMeridexProfileObject(CDeviceType& owner, int32_t number) : DeviceBound(owner), number_(number) {}

  // IDpi or ILedStatus objects addressing this profile's block, handed out as IUnknown.
  STDMETHODIMP CreateSubInterface(REFIID iid, IUnknown** ppInterface) override;
  STDMETHODIMP GetProfileNumber(LONG* lpNumber) override;
  STDMETHODIMP SetProfileName(LPCWSTR pszName) override;
  // A new BSTR, the caller's to free.
  STDMETHODIMP GetProfileName(BSTR* pName) override;
  // The records are pParams->ppMappings[0][0 .. lNumMappings - 1].
  STDMETHODIMP SetProfileMappings(_TProfileParams* pParams) override;
  // Writes nine records into the array at *pParams->ppMappings and sets the count to 9.
  STDMETHODIMP GetProfileMappings(_TProfileParams* pParams) override;

 private:
  int32_t number_;
};

}  // namespace quill::server
