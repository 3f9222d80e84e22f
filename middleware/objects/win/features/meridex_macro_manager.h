// CMeridexMacroManager (IMeridexMacroManager): the macro directory of the mouse, handed out as
// macro objects. Its own table is refreshed by CompactDirectory (index 0 of GetMacroByIndex).
#pragma once
#include <ServerLib.h>

#include "middleware/objects/device/macro_manager.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CMeridexMacroManager final : public com::ComObject<IMeridexMacroManager>,
                                   private DeviceBound {
 public:
  explicit CMeridexMacroManager(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP GetMacroByIndex(LONG lIndex, IMeridexMacroObject** ppMacro) override;
  // No device traffic; the macro need not exist.
  STDMETHODIMP OpenMacro(LONG lMacroId, IMeridexMacroObject** ppMacro) override;
  STDMETHODIMP CreateMacro(IMeridexMacroObject** ppMacro) override;
  STDMETHODIMP DeleteMacro(IMeridexMacroObject* pMacro) override;
  // E_INVALIDARG for a device type object of another implementation.
  STDMETHODIMP Bind(IDeviceType* pDeviceType) override;
  STDMETHODIMP ReadDirectory(LONG alNumbers[70], LONG alSizes[70]) override;
  STDMETHODIMP CompactDirectory() override;
  STDMETHODIMP_(BOOL) HasFreeSpace() override;

 private:
  HRESULT HandOutMacro(CDeviceType& device, LONG macro_id, IMeridexMacroObject** out);

  device::MacroManager macros_;
};

}  // namespace quill::server
