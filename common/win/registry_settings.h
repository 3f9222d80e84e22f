// Windows side of the settings and folder seams of the desktop programs.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/install_settings.h"

namespace quill::win {

// The installation key, HKEY_LOCAL_MACHINE "Software\Torvo\Torvo Quillfern": for reading
// (created when missing, KEY_READ) or for writing (KEY_ALL_ACCESS). Null when it cannot be opened.
std::unique_ptr<SettingsKey> OpenInstallKey(bool forWrite);

// Any key, opened the same way.
std::unique_ptr<SettingsKey> OpenSettingsKey(HKEY root, const std::u16string& path, bool forWrite);

// The user's roaming application-data folder (created when missing), without a closing
// backslash; empty when Windows gives none.
std::u16string RoamingAppDataFolder();

}  // namespace quill::win
