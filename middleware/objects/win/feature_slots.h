// The feature objects a device type object makes, one slot per kind.
//
// A feature kind is plugged in by writing its maker (a function that creates the object bound
// to its device type, with one reference) and naming it in the table of feature_makers.cpp.
// Tests may give a device type object a table of their own.
// A kind without a maker answers E_NOTIMPL with a null out-pointer.
#pragma once
#include <objbase.h>

#include <array>
#include <cstddef>

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

using FeatureMakerTable = std::array<FeatureMaker, kFeatureSlotCount>;

// The makers of the product (feature_makers.cpp); null entries for kinds without one.
const FeatureMakerTable& ProductFeatureMakers();

}  // namespace quill::server
