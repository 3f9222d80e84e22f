#include "configurator/language_command.h"

namespace quill::cfg {

std::optional<LanguageSwitch> DecideLanguageCommand(int command, int32_t highestLanguageIndex, uint32_t currentLanguage) {
  if (command < kFirstLanguageCommand || command > kLastLanguageCommand) return std::nullopt;
  const int language = command - kFirstLanguageCommand;
  if (language > highestLanguageIndex || static_cast<uint32_t>(language) == currentLanguage) return std::nullopt;
  LanguageSwitch result;
  result.language = static_cast<uint32_t>(language);
  return result;
}

}  // namespace quill::cfg
