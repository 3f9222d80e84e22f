// The device session of the desktop programs: the middleware's DeviceEnumeration, the device
// type object of the Quillfern, its profile store, IMeridex with the profile and macro managers,
// and the profile and macro lists read from the mouse, each entry holding its middleware
// objects (ProfileLinks, MacroLinks). Every pointer is owned here and released exactly once:
// by Release(), by replacing it, or with the entry that holds it.
//
// All calls run on the thread (apartment) that created the objects.
#pragma once
#include <windows.h>

#include <ServerLib.h>

#include <array>
#include <cstdint>
#include <string>

#include "common/profile_records.h"
#include "winsupport/com_ptr.h"

namespace quill::win {

constexpr size_t kVersionUnits = 127;   // firmware and driver version lines (128 with terminator)

// What an entry of the profile list holds of the middleware.
struct ProfileLinks final : EntryAttachment {
  com::ComPtr<IMeridexProfileObject> object;
  com::ComPtr<ILedStatus> leds;
  com::ComPtr<IDpi> dpi;
  std::array<_TButtonMappingInfo, kProfileButtons> mappings{};
  _TButtonMappingInfo* firstMapping = nullptr;   // ppMappings points here
  _TProfileParams params{};                      // lVersion 0, lNumMappings 9
  int32_t bStored = 0;
  int32_t bMappingsChanged = 0;
  int32_t bReset = 0;
  int32_t bCopied = 0;
};

struct MacroLinks final : EntryAttachment {
  com::ComPtr<IMeridexMacroObject> object;
  int32_t bStored = 0;
};

// The links of an entry; null when it has none of this kind.
ProfileLinks* LinksOf(const ProfileEntry& profile);
MacroLinks* LinksOf(const MacroEntry& macro);

class DeviceConnection {
 public:
  DeviceConnection() = default;
  ~DeviceConnection() { Release(); }
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  // Creates DeviceEnumeration afresh (releasing the session first) and opens the main device on
  // productId: firmware and driver versions, then the profiles and the macros, then (with an
  // alternateId other than 0) the alternate device and its firmware, then the performance
  // interface. True when the main device answered and its profiles were read. The enumeration
  // interface is closed again at the end; the objects stay.
  bool Open(USHORT productId, USHORT alternateId = 0);

  // OpenDeviceInterface, firmware ("0.0" counts as absent) and driver version of a device type;
  // on failure the device interface is closed again.
  bool OpenDevice(IDeviceType* device, USHORT productId, std::u16string& firmware);

  // Reads the profile list (through a new profile store, IMeridex and profile manager) and the
  // macro list (through a new macro manager). False when the profile manager is missing.
  bool ReadProfiles();
  void ReadMacros();

  // Frees the lists and releases every object, the device's last: nothing is left.
  void Release();

  com::ComPtr<IDeviceEnumeration> enumeration;
  com::ComPtr<IDeviceType> mainDevice;
  com::ComPtr<IDeviceType> alternateDevice;
  com::ComPtr<IProfile> profileStore;
  com::ComPtr<IMeridex> meridex;
  com::ComPtr<IMeridexProfileManager> profileManager;
  com::ComPtr<IMeridexMacroManager> macroManager;
  com::ComPtr<IPerformanceSettings> performance;
  int32_t mainConnected = 0;
  int32_t alternateConnected = 0;
  std::u16string firmwareMain;
  std::u16string firmwareAlternate;
  std::u16string driverVersion;
  std::u16string activeProfileName;
  int32_t activeIndex = -1;
  int32_t selectedIndex = -1;
  EntryLists lists;
};

// The interface T of an object a middleware factory method created into `object`: the factory's
// failure, E_POINTER for no object, or QueryInterface's result.
template <class T>
HRESULT CreatedAs(HRESULT created, const com::ComPtr<IUnknown>& object, com::ComPtr<T>& out) {
  if (FAILED(created)) return created;
  if (!object) return E_POINTER;
  return object.As(out);
}

// 1 when a Quillfern answers through a fresh middleware object of its own (created and released
// here), else 0.
int ProbeDevice(USHORT productId);

// A text the middleware handed out, cut to maxUnits at a character boundary (null gives "").
std::u16string TextOf(const wchar_t* text, size_t maxUnits);

}  // namespace quill::win
