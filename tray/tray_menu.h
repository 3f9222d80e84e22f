// The tray icon's menu: "Load Quillfern Configurator", the first five profiles between two
// separators, "Close Tray Icon"; with no profiles only "Close Tray Icon".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/profile_records.h"

namespace quill::tray {

constexpr int32_t kMenuResource = 105;
constexpr uint32_t kCmdOpenConfigurator = 40016;
constexpr uint32_t kCmdFirstProfile = 40008;   // 40008 to 40012
constexpr uint32_t kCmdCloseTray = 40014;
constexpr size_t kMenuProfiles = 5;

struct MenuItem {
  uint32_t command = 0;   // 0 for a separator
  std::u16string text;    // as shown (a profile's name as it is)
  bool separator() const { return command == 0; }
};

// openText and closeText are the translated item texts.
std::vector<MenuItem> BuildTrayMenu(const ProfileList& profiles, const std::u16string& openText,
                                    const std::u16string& closeText);

enum class MenuAction { kNothing, kOpenConfigurator, kActivateProfile, kCloseTray };
struct MenuChoice {
  MenuAction action = MenuAction::kNothing;
  int32_t profileIndex = -1;
};
MenuChoice InterpretMenuCommand(uint32_t command);

// One line per item ("40016 Load Quillfern Configurator", "---" for a separator), for logs.
std::u16string DescribeMenu(const std::vector<MenuItem>& items);

}  // namespace quill::tray
