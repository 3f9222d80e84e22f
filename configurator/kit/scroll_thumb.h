// The thumb of a scroll bar over a list of `count` rows of which `visible` are shown from row
// `top`, in a track `track` pixels long: its place and length (never shorter than `min_length`
// unless the track is), and the top row for a thumb dragged to a place.
#pragma once

namespace quill::kit {

struct ScrollThumb {
  int offset = 0;  // from the track's start
  int length = 0;
};

ScrollThumb ThumbOf(int count, int visible, int top, int track, int min_length);
int TopForThumb(int count, int visible, int offset, int track, int min_length);

}  // namespace quill::kit
