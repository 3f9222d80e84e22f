// Which function makes the feature object of each slot. Add a kind by including its header and
// putting its maker in the table; kinds left null answer E_NOTIMPL.
#include "middleware/objects/win/feature_slots.h"
#include "middleware/objects/win/features/polling_rate.h"

namespace quill::server {

const FeatureMakerTable& ProductFeatureMakers() {
  static constexpr FeatureMakerTable kMakers = {
      /* kProfile            */ nullptr,
      /* kMacroHandling      */ nullptr,
      /* kUserAction         */ nullptr,
      /* kDefaultMode        */ nullptr,
      /* kWirelessDistance   */ nullptr,
      /* kBattery            */ nullptr,
      /* kMeridex            */ nullptr,
      /* kOTFS               */ nullptr,
      /* kPollingRate        */ &MakeFeature<CPollingRate>,
      /* kSensorRomSwitching */ nullptr,
  };
  return kMakers;
}

}  // namespace quill::server
