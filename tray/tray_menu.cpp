#include "tray/tray_menu.h"

#include "common/utf16.h"

namespace quill::tray {

std::vector<MenuItem> BuildTrayMenu(const ProfileList& profiles, const std::u16string& openText,
                                    const std::u16string& closeText) {
  std::vector<MenuItem> items;
  if (!profiles.empty()) {
    items.push_back({kCmdOpenConfigurator, openText});
    items.push_back({});
    uint32_t command = kCmdFirstProfile;
    for (const ProfileEntry& profile : profiles) {
      if (command == kCmdFirstProfile + kMenuProfiles) break;
      items.push_back({command++, profile.szName});
    }
    items.push_back({});
  }
  items.push_back({kCmdCloseTray, closeText});
  return items;
}

MenuChoice InterpretMenuCommand(uint32_t command) {
  if (command == kCmdOpenConfigurator) return {MenuAction::kOpenConfigurator, -1};
  if (command == kCmdCloseTray) return {MenuAction::kCloseTray, -1};
  if (command >= kCmdFirstProfile && command < kCmdFirstProfile + kMenuProfiles)
    return {MenuAction::kActivateProfile, static_cast<int32_t>(command - kCmdFirstProfile)};
  return {};
}

std::u16string DescribeMenu(const std::vector<MenuItem>& items) {
  std::u16string out;
  for (const MenuItem& item : items) {
    out += item.separator() ? u"---" : DecimalText(item.command) + u" " + item.text;
    out += u'\n';
  }
  return out;
}

}  // namespace quill::tray
