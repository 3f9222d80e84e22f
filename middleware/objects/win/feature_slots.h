// The feature objects a device type object makes, one slot per kind.
//
// A feature kind is plugged in by naming its maker (a function that creates the object bound
// to its device type, with one reference) in the table of feature_makers.cpp; MakeFeature<T>
// is that function for any class constructed from its CDeviceType&:
//
//   class COTFS final : public com::ComObject<IOTFS, com::EventSource<_IOTFSEvents>> {
//    public:
//     explicit COTFS(CDeviceType& owner) : owner_(&owner) {}
//     STDMETHODIMP GetStatus(...) override;   // owner_->handler(): null while not open
//    private:
//     CDeviceType* owner_;   // plain pointer: clients keep the device type object alive
//   };
//   // feature_makers.cpp:   /* kOTFS */ &MakeFeature<COTFS>,
//
// A kind without a maker answers E_NOTIMPL with a null out-pointer. Tests may give a device
// type object a table of their own.
#pragma once
#include <objbase.h>

#include <array>
#include <cstddef>

#include "middleware/objects/win/com/com_object.h"

namespace quill::server {

class CDeviceType;

enum class FeatureSlot : size_t {
  kProfile,
  kMacroHandling,
  kUserAction,
  kDefaultMode,
  kWirelessDistance,
  kBattery,
  kMeridex,
  kOTFS,
  kPollingRate,
  kSensorRomSwitching,
  kCount,
};
constexpr size_t kFeatureSlotCount = static_cast<size_t>(FeatureSlot::kCount);

// Creates a new feature object bound to `owner` and stores its one reference in *object (the
// object's IUnknown). E_OUTOFMEMORY when it cannot be allocated.
using FeatureMaker = HRESULT (*)(CDeviceType& owner, IUnknown** object);

// The maker of feature class T: a new T(owner), its one reference handed over as IUnknown.
template <class T>
HRESULT MakeFeature(CDeviceType& owner, IUnknown** object) {
  *object = nullptr;
  com::ComPtr<T> made = com::MakeComObject<T>(owner);
  if (!made) return E_OUTOFMEMORY;
  *object = made->Identity();
  made.Detach();
  return S_OK;
}

using FeatureMakerTable = std::array<FeatureMaker, kFeatureSlotCount>;

// The makers of the product (feature_makers.cpp); null entries for kinds without one.
const FeatureMakerTable& ProductFeatureMakers();

}  // namespace quill::server
