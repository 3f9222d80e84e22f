#include "common/win/device_connection.h"

#include <objbase.h>
#include <oleauto.h>

#include "common/name_fields.h"
#include "winsupport/bstr.h"
#include "winsupport/co_task_string.h"

namespace quill::win {
namespace {

template <class T>
HRESULT SubInterface(IMeridexProfileObject* profile, com::ComPtr<T>& out) {
  com::ComPtr<IUnknown> part;
  return CreatedAs(profile->CreateSubInterface(__uuidof(T), part.Put()), part, out);
}

template <class T>
HRESULT FromMeridex(IMeridex* meridex, com::ComPtr<T>& out) {
  com::ComPtr<IUnknown> object;
  return CreatedAs(meridex->CreateInterfaceInstance(__uuidof(T), object.Put()), object, out);
}

// A string the middleware allocated with CoTaskMemAlloc, freed here.
std::u16string TakeText(LPWSTR raw, size_t maxUnits) {
  com::CoTaskMemPtr<wchar_t> owned(raw);
  return TextOf(owned.Get(), maxUnits);
}

void ReadStages(IDpi* dpi, ProfileEntry& entry) {
  ULONG size = 0;
  _stDpiStageType* raw = nullptr;
  HRESULT hr = dpi->GetDpiStages(&size, &raw);
  com::CoTaskMemPtr<_stDpiStageType> owned(raw);
  const _stDpiStageType* block = owned.Get();
  if (block && SUCCEEDED(hr)) {
    auto stages = std::make_unique<DpiStages>();
    stages->ulTotalStages = block->ulTotalStages < kMaxDpiStages ? block->ulTotalStages : kMaxDpiStages;
    stages->CurrentDpiStage = {block->CurrentDpiStage.ulXSensitivity, block->CurrentDpiStage.ulYSensitivity};
    stages->lCurrentStage = block->lCurrentStage;
    stages->lDefaultStage = block->lDefaultStage;
    for (size_t i = 0; i < kMaxDpiStages; ++i)
      stages->Sensitivity[i] = {block->Sensitivity[i].ulXSensitivity, block->Sensitivity[i].ulYSensitivity};
    entry.pDpiStages = std::move(stages);
  }
}

}  // namespace

ProfileLinks* LinksOf(const ProfileEntry& profile) { return dynamic_cast<ProfileLinks*>(profile.pLinks.get()); }
MacroLinks* LinksOf(const MacroEntry& macro) { return dynamic_cast<MacroLinks*>(macro.pLinks.get()); }

std::u16string TextOf(const wchar_t* text, size_t maxUnits) {
  if (!text) return {};
  return std::u16string(CutToUnits(reinterpret_cast<const char16_t*>(text), maxUnits));
}

bool DeviceConnection::OpenDevice(IDeviceType* device, USHORT productId, std::u16string& firmware) {
  if (!device) return false;
  if (FAILED(device->OpenDeviceInterface(productId))) {
    device->CloseDeviceInterface();
    return false;
  }
  LPWSTR text = nullptr;
  HRESULT hr = device->GetFirmwareVersion(&text);
  firmware = TakeText(text, kVersionUnits);
  if (FAILED(hr)) {
    device->CloseDeviceInterface();
    return false;
  }
  if (mainDevice) {
    LPWSTR driver = nullptr;
    const HRESULT driverResult = mainDevice->GetDriverVersion(&driver);
    std::u16string version = TakeText(driver, kVersionUnits);
    if (SUCCEEDED(driverResult)) driverVersion = std::move(version);
  }
  return firmware != u"0.0";
}

bool DeviceConnection::Open(USHORT productId, USHORT alternateId) {
  Release();
  if (FAILED(CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_ALL, IID_IDeviceEnumeration,
                              enumeration.PutVoid())) || !enumeration)
    return false;
  if (FAILED(enumeration->OpenDeviceEnumerationInterface())) return false;
  bool result = false;
  if (SUCCEEDED(enumeration->EnumDeviceType(productId, mainDevice.Put())) && mainDevice) {
    mainConnected = OpenDevice(mainDevice.Get(), productId, firmwareMain) ? 1 : 0;
    if (mainConnected) {
      result = ReadProfiles();
      ReadMacros();
    }
  }
  if (alternateId != 0 && SUCCEEDED(enumeration->EnumDeviceType(alternateId, alternateDevice.Put())) && alternateDevice)
    alternateConnected = OpenDevice(alternateDevice.Get(), alternateId, firmwareAlternate) ? 1 : 0;
  if (profileStore) profileStore->CreatePerformanceSettingsInterface(performance.Put());
  enumeration->CloseDeviceEnumerationInterface();
  return result;
}

bool DeviceConnection::ReadProfiles() {
  lists.profiles.Clear();
  profileManager.Reset();
  meridex.Reset();
  profileStore.Reset();
  activeIndex = selectedIndex = -1;
  if (!mainDevice) return false;
  mainDevice->CreateProfileInterface(profileStore.Put());
  if (FAILED(mainDevice->CreateMeridexInterface(meridex.Put())) || !meridex) return false;
  if (FAILED(FromMeridex(meridex.Get(), profileManager))) return false;

  activeProfileName.clear();
  {
    com::ComPtr<IMeridexProfileObject> active;
    if (SUCCEEDED(profileManager->GetActiveProfile(active.Put())) && active) {
      com::Bstr name;
      active->GetProfileName(name.Put());
      activeProfileName = std::u16string(CutToUnits(name.View(), kVersionUnits));
    }
  }
  for (LONG index = 0;; ++index) {
    com::ComPtr<IMeridexProfileObject> object;
    if (FAILED(profileManager->GetProfileByIndex(index, object.Put())) || !object) break;
    auto links = std::make_unique<ProfileLinks>();
    links->object = object;
    LONG number = 0;
    object->GetProfileNumber(&number);
    com::Bstr name;
    object->GetProfileName(name.Put());
    std::unique_ptr<ProfileEntry> entry = lists.profiles.Make(name.View());
    entry->lId = number;
    if (SUCCEEDED(SubInterface(object.Get(), links->leds))) {
      LONG status = 0;
      if (SUCCEEDED(links->leds->GetStatus(&status))) entry->ulLedFlags = static_cast<uint32_t>(status);
    }
    if (SUCCEEDED(SubInterface(object.Get(), links->dpi))) ReadStages(links->dpi.Get(), *entry);
    if (entry->szName == activeProfileName) activeIndex = selectedIndex = index;
    links->firstMapping = links->mappings.data();
    links->params.lVersion = 0;
    links->params.lNumMappings = static_cast<LONG>(kProfileButtons);
    links->params.ppMappings = &links->firstMapping;
    if (SUCCEEDED(object->GetProfileMappings(&links->params))) {
      auto slots = std::make_unique<MappingSlots>();
      for (size_t i = 0; i < kProfileButtons; ++i) {
        const _TButtonMappingInfo& r = links->mappings[i];
        (*slots)[i] = {r.lButton, r.mappingType, r.actionOrMacro.actionInfo.actionType,
                       {r.actionOrMacro.actionInfo.info.alWords[0], r.actionOrMacro.actionInfo.info.alWords[1],
                        r.actionOrMacro.actionInfo.info.alWords[2]}};
      }
      entry->pMappings = std::move(slots);
    }
    links->params.ppMappings = &links->firstMapping;
    links->params.lNumMappings = static_cast<LONG>(kProfileButtons);
    links->bStored = 1;
    entry->pLinks = std::move(links);
    lists.profiles.Adopt(std::move(entry));
  }
  return true;
}

void DeviceConnection::ReadMacros() {
  lists.macros.Clear();
  macroManager.Reset();
  if (!meridex || FAILED(FromMeridex(meridex.Get(), macroManager))) return;
  for (LONG index = 0;; ++index) {
    com::ComPtr<IMeridexMacroObject> listed;
    if (FAILED(macroManager->GetMacroByIndex(index, listed.Put())) || !listed) break;
    LONG id = 0;
    if (FAILED(listed->GetMacroId(&id))) continue;
    com::Bstr name;
    listed->GetMacroName(name.Put());
    std::unique_ptr<MacroEntry> entry = lists.macros.Make(name.View());
    entry->lId = id;
    auto links = std::make_unique<MacroLinks>();
    if (FAILED(macroManager->OpenMacro(id, links->object.Put()))) links->object = listed;
    links->bStored = 1;
    entry->pLinks = std::move(links);
    lists.macros.Adopt(std::move(entry));
  }
}

void DeviceConnection::Release() {
  // Entries hold profile and macro objects: they go before the managers, IMeridex and the device.
  lists.Clear();
  performance.Reset();
  macroManager.Reset();
  profileManager.Reset();
  meridex.Reset();
  profileStore.Reset();
  alternateDevice.Reset();
  mainDevice.Reset();
  enumeration.Reset();
  mainConnected = alternateConnected = 0;
  activeIndex = selectedIndex = -1;
}

int ProbeDevice(USHORT productId) {
  const bool com = SUCCEEDED(CoInitialize(nullptr));
  int present = 0;
  {
    com::ComPtr<IDeviceEnumeration> enumeration;
    if (SUCCEEDED(CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                   IID_IDeviceEnumeration, enumeration.PutVoid())) && enumeration) {
      enumeration->OpenDeviceEnumerationInterface();
      com::ComPtr<IDeviceType> device;
      if (SUCCEEDED(enumeration->EnumDeviceType(productId, device.Put())) && device) {
        if (SUCCEEDED(device->OpenDeviceInterface(productId))) {
          LPWSTR text = nullptr;
          present = SUCCEEDED(device->GetFirmwareVersion(&text)) ? 1 : 0;
          com::CoTaskMemPtr<wchar_t> freed(text);
        }
        device->CloseDeviceInterface();
      }
      enumeration->CloseDeviceEnumerationInterface();
    }
  }
  if (com) CoUninitialize();
  return present;
}

}  // namespace quill::win
