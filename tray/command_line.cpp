#include "tray/command_line.h"

#include <limits>

namespace quill::tray {

int32_t ParseCommandLineAction(std::u16string_view text) {
  size_t i = 0;
  auto blank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (i < text.size() && blank(text[i])) ++i;
  if (i == text.size()) return kNoAction;
  bool negative = false;
  if (text[i] == u'+' || text[i] == u'-') negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > std::numeric_limits<int32_t>::max()) {  // out of range: saturate, as atoi does in practice
      value = std::numeric_limits<int32_t>::max();
      break;
    }
  }
  return static_cast<int32_t>(negative ? -value : value);
}

ActionPlan PlanCommandLineAction(int32_t action, bool trayWindowExists, bool ownWindow) {
  ActionPlan plan;
  plan.action = action;
  switch (action) {
    case 0:
      if (trayWindowExists) plan.step = ActionStep::kSendOpenConfig;
      else plan.action = 10;
      break;
    case 1: case 2: case 3: case 4: case 5: case 6:
      if (ownWindow) {
        plan.step = ActionStep::kActivateProfile;
        plan.profileIndex = action - 1;
      } else if (trayWindowExists) {
        plan.step = ActionStep::kHandOver;
      }
      break;
    case 9:
      plan.step = ActionStep::kCloseAll;
      break;
    case 10:
      plan.step = trayWindowExists ? ActionStep::kSendOpenConfig : ActionStep::kOpenConfigurator;
      break;
    default:
      break;
  }
  return plan;
}

}  // namespace quill::tray
