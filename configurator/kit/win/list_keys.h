// The navigation keys of the kit's lists: arrows up and down, Page Up / Page Down, Home, End.
#pragma once
#include <windows.h>

#include "configurator/kit/list_cursor.h"

namespace quill::kit::win {

inline bool ListKeyOf(WPARAM vk, ListKey& key) {
  switch (vk) {
    case VK_UP: key = ListKey::kUp; return true;
    case VK_DOWN: key = ListKey::kDown; return true;
    case VK_PRIOR: key = ListKey::kPageUp; return true;
    case VK_NEXT: key = ListKey::kPageDown; return true;
    case VK_HOME: key = ListKey::kHome; return true;
    case VK_END: key = ListKey::kEnd; return true;
    default: return false;
  }
}

}  // namespace quill::kit::win
