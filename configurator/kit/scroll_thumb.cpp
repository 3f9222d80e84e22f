#include "configurator/kit/scroll_thumb.h"

#include <algorithm>

namespace quill::kit {

ScrollThumb ThumbOf(int count, int visible, int top, int track, int min_length) {
  track = std::max(0, track);
  if (count <= visible || visible < 1) return {0, track};  // everything shown: the thumb fills the track
  const int length = std::min(track, std::max(min_length, static_cast<int>(static_cast<long long>(track) * visible / count)));
  const int max_top = count - visible;
  const int room = track - length;
  top = std::clamp(top, 0, max_top);
  return {static_cast<int>((static_cast<long long>(room) * top + max_top / 2) / max_top), length};
}

int TopForThumb(int count, int visible, int offset, int track, int min_length) {
  if (count <= visible || visible < 1) return 0;
  const ScrollThumb thumb = ThumbOf(count, visible, 0, track, min_length);
  const int room = std::max(0, track) - thumb.length;
  if (room <= 0) return 0;
  const int max_top = count - visible;
  offset = std::clamp(offset, 0, room);
  return static_cast<int>((static_cast<long long>(offset) * max_top + room / 2) / room);
}

}  // namespace quill::kit
