// An on-board profile as the commands read it (name, LEDs, DPI stages, the nine button records),
// and its buttons in words as `profiles` and `buttons` print them.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "cli/button_text.h"
#include "cli/win/onboard.h"
#include "common/button_catalogue.h"

namespace quill::cli {

struct ProfileView {
  LONG slot = 0;
  std::string name;
  LONG leds = 0;
  StageView stages;
  std::vector<ButtonMapping> buttons;  // as the mouse reports them, in slot order
};

HRESULT ReadProfile(IMeridexProfileObject* profile, ProfileView& view);
// Every existing profile in slot order (failures printed).
bool ReadProfiles(Onboard& onboard, std::vector<ProfileView>& views);

// The buttons of the profiles, named as `profiles` shows them: per profile the records of its
// buttons (button, assignment, and macro and macro name where one plays a macro), and the rows
// of the text table (slot, button, assignment). False after printing a failure.
bool DescribeButtons(Onboard& onboard, const std::vector<ProfileView>& views,
                     std::vector<std::vector<Record>>& per_profile, std::vector<Record>& rows);

// Between the middleware's record and the catalogue's six words.
buttons::MappingWords WordsOf(const ButtonMapping& mapping);
_TButtonMappingInfo RecordOf(const buttons::MappingWords& words);
// Writes nine records (in slot order) in one write.
HRESULT WriteMappings(IMeridexProfileObject* profile, const std::vector<buttons::MappingWords>& slots);

}  // namespace quill::cli
