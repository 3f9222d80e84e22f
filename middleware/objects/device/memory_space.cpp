#include "middleware/objects/device/memory_space.h"

#include "middleware/objects/device/channel_io.h"
#include "middleware/transport/commands.h"

namespace quill::device {
namespace {

HResult ReadSpace(FeatureChannel& channel, MemorySpace& space) {
  FeatureReport report = BuildMemorySpaceRead();
  const HResult hr = ReadReport(channel, report);
  if (Succeeded(hr)) space = ParseMemorySpace(report);
  return hr;
}

}  // namespace

HResult GetTotalSpace(FeatureChannel& channel, int32_t& total) {
  MemorySpace space;
  const HResult hr = ReadSpace(channel, space);
  if (Succeeded(hr)) total = space.total;
  return hr;
}

HResult GetRemainingSpace(FeatureChannel& channel, int32_t& remaining) {
  MemorySpace space;
  const HResult hr = ReadSpace(channel, space);
  if (Succeeded(hr)) remaining = static_cast<int32_t>(space.total) - static_cast<int32_t>(space.used);
  return hr;
}

bool HasFreeSpace(FeatureChannel& channel) {
  int32_t remaining = 0;
  return Succeeded(GetRemainingSpace(channel, remaining)) && remaining > 0;
}

}  // namespace quill::device
