// The language commands of the main dialog (22000 + k for language k): switching closes the
// dialog and builds it again in language k; the tray is told one second later.
#pragma once
#include <cstdint>
#include <optional>

#include "common/tray_protocol.h"

namespace quill::cfg {

inline constexpr int kFirstLanguageCommand = 22000;
inline constexpr int kLastLanguageCommand = 22050;
inline constexpr uint32_t kTrayLanguageDelayMs = 1000;

struct LanguageSwitch {
  uint32_t language = 0;                            // the new current language
  uint32_t trayMessage = tray::UM_TRAY_LANGUAGE;          // sent to the tray ...
  uint32_t trayDelayMs = kTrayLanguageDelayMs;      // ... after this pause, from a thread of its own
  bool operator==(const LanguageSwitch&) const = default;
};

// The switch a command asks for; nullopt for a command outside the range, a language above the
// highest index of the language table (-1 without rows) or the language already current.
std::optional<LanguageSwitch> DecideLanguageCommand(int command, int32_t highestLanguageIndex, uint32_t currentLanguage);

}  // namespace quill::cfg
