// Which function makes the feature object of each slot. Add a kind by including its header and
// putting its maker in the table; kinds left null answer E_NOTIMPL.
#include "middleware/objects/win/feature_slots.h"
#include "middleware/objects/win/features/battery.h"
#include "middleware/objects/win/features/default_mode.h"
#include "middleware/objects/win/features/meridex.h"
#include "middleware/objects/win/features/otfs.h"
#include "middleware/objects/win/features/polling_rate.h"
#include "middleware/objects/win/features/sensor_rom_switching.h"
#include "middleware/objects/win/features/wireless_distance.h"
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/macro_handling.h"
#include "middleware/storage/win/com/user_action.h"

namespace quill::server {

const FeatureMakerTable& ProductFeatureMakers() {
  static constexpr FeatureMakerTable kMakers = {
      /* kProfile            */ &MakeProfile,
      /* kMacroHandling      */ &MakeMacroHandling,
      /* kUserAction         */ &MakeUserAction,
      /* kDefaultMode        */ &MakeFeature<CDefaultMode>,
      /* kWirelessDistance   */ &MakeFeature<CWirelessDistance>,
      /* kBattery            */ &MakeFeature<CBattery>,
      /* kMeridex            */ &MakeMeridex,
      /* kOTFS               */ &MakeFeature<COTFS>,
      /* kPollingRate        */ &MakeFeature<CPollingRate>,
      /* kSensorRomSwitching */ &MakeFeature<CSensorRomSwitching>,
  };
  return kMakers;
}

}  // namespace quill::server
