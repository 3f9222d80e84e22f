#include "configurator/win/com_middleware.h"

#include <algorithm>
#include <string>

#include "winsupport/bstr.h"

namespace quill::cfg::win {
namespace {

template <class T>
HRESULT SubInterface(IMeridexProfileObject* profile, com::ComPtr<T>& out) {
  com::ComPtr<IUnknown> part;
  return quill::win::CreatedAs(profile->CreateSubInterface(__uuidof(T), part.Put()), part, out);
}

ComProfileObject* AsCom(ProfileObject& profile) { return dynamic_cast<ComProfileObject*>(&profile); }
ComMacroObject* AsCom(MacroObject& macro) { return dynamic_cast<ComMacroObject*>(&macro); }


}  // namespace

ILedStatus* ComProfileObject::Leds() {
  if (!leds_ && object_) SubInterface(object_.Get(), leds_);
  return leds_.Get();
}

IDpi* ComProfileObject::Dpi() {
  if (!dpi_ && object_) SubInterface(object_.Get(), dpi_);
  return dpi_.Get();
}

void ComProfileObject::Adopt(com::ComPtr<ILedStatus> leds, com::ComPtr<IDpi> dpi) {
  leds_ = std::move(leds);
  dpi_ = std::move(dpi);
}

HRESULT ComProfileObject::SetMappings(const MappingSlots& slots) {
  if (!object_) return E_POINTER;
  for (size_t i = 0; i < kProfileButtons; ++i) mappings_[i] = ToMappingInfo(slots[i]);
  firstMapping_ = mappings_.data();
  params_.lVersion = 0;
  params_.lNumMappings = static_cast<LONG>(kProfileButtons);
  params_.ppMappings = &firstMapping_;
  return object_->SetProfileMappings(&params_);
}

_TButtonMappingInfo ToMappingInfo(const buttons::MappingWords& words) {
  _TButtonMappingInfo info{};
  info.lButton = words.lButton;
  info.mappingType = static_cast<_TButtonMappingType>(words.mappingType);
  info.actionOrMacro.actionInfo.actionType = static_cast<_TButtonActionType>(words.actionType);
  for (size_t w = 0; w < 3; ++w) info.actionOrMacro.actionInfo.info.alWords[w] = words.info[w];
  return info;
}

_stDpiStageType ToDpiRecord(const DpiStages& stages) {
  _stDpiStageType record{};
  record.ulTotalStages = std::min<ULONG>(stages.ulTotalStages, static_cast<ULONG>(kMaxDpiStages));
  record.CurrentDpiStage = {stages.CurrentDpiStage.ulXSensitivity, stages.CurrentDpiStage.ulYSensitivity};
  record.lCurrentStage = stages.lCurrentStage;
  record.lDefaultStage = stages.lDefaultStage;
  for (size_t i = 0; i < kMaxDpiStages; ++i)
    record.Sensitivity[i] = {stages.Sensitivity[i].ulXSensitivity, stages.Sensitivity[i].ulYSensitivity};
  return record;
}

std::vector<_TMacroElement> ToMacroElements(const macro_store::MacroUpload& upload) {
  const size_t count = static_cast<size_t>(std::clamp<int32_t>(upload.lNumElements, 0, static_cast<int32_t>(upload.elements.size())));
  std::vector<_TMacroElement> elements(count);
  for (size_t i = 0; i < count; ++i) {
    const macro_store::MacroElement& e = upload.elements[i];
    elements[i].action.actionType = static_cast<_TButtonActionType>(e.actionType);
    for (size_t w = 0; w < 3; ++w) elements[i].action.info.alWords[w] = e.info[w];
    elements[i].lDelayMs = e.lDelayMs;
    elements[i].lHoldMs = e.lHoldMs;
  }
  return elements;
}

void AdoptSessionLinks(EntryLists& lists) {
  for (ProfileEntry& profile : lists.profiles) {
    auto* session = quill::win::LinksOf(profile);
    if (!session) continue;
    auto links = std::make_unique<ProfileLinks>();
    auto object = std::make_unique<ComProfileObject>(session->object);
    object->Adopt(session->leds, session->dpi);
    if (session->object) links->object = std::move(object);
    links->stored = session->bStored != 0;
    profile.pLinks = std::move(links);
  }
  for (MacroEntry& macro : lists.macros) {
    auto* session = quill::win::LinksOf(macro);
    if (!session) continue;
    auto links = std::make_unique<MacroLinks>();
    if (session->object) links->object = std::make_unique<ComMacroObject>(session->object);
    links->stored = session->bStored != 0;
    macro.pLinks = std::move(links);
  }
}

IPollingRate* ComConfigMiddleware::Polling() {
  if (!polling_ && c_.mainDevice) c_.mainDevice->CreatePollingRateInterface(polling_.Put());
  return polling_.Get();
}

std::optional<int32_t> ComConfigMiddleware::GetRate() {
  LONG rate = 0;
  if (!polling_ || FAILED(polling_->GetRate(&rate))) return std::nullopt;
  return rate;
}

bool ComConfigMiddleware::SetRate(int32_t hz) { return polling_ && SUCCEEDED(polling_->SetRate(hz)); }

std::unique_ptr<ProfileObject> ComConfigMiddleware::CreateProfile() {
  com::ComPtr<IMeridexProfileObject> object;
  if (!c_.profileManager || FAILED(c_.profileManager->CreateProfile(object.Put())) || !object) return nullptr;
  return std::make_unique<ComProfileObject>(std::move(object));
}

bool ComConfigMiddleware::DeleteProfile(ProfileObject& profile) {
  ComProfileObject* p = AsCom(profile);
  return c_.profileManager && p && SUCCEEDED(c_.profileManager->DeleteProfile(p->object()));
}

bool ComConfigMiddleware::SetActiveProfile(ProfileObject& profile) {
  ComProfileObject* p = AsCom(profile);
  return c_.profileManager && p && SUCCEEDED(c_.profileManager->SetActiveProfile(p->object()));
}

std::optional<int32_t> ComConfigMiddleware::GetActiveProfileNumber() {
  LONG number = 0;
  if (!c_.profileManager || FAILED(c_.profileManager->GetActiveProfileNumber(&number))) return std::nullopt;
  return number;
}

std::optional<int32_t> ComConfigMiddleware::GetProfileNumber(ProfileObject& profile) {
  ComProfileObject* p = AsCom(profile);
  LONG number = 0;
  if (!p || !p->object() || FAILED(p->object()->GetProfileNumber(&number))) return std::nullopt;
  return number;
}

bool ComConfigMiddleware::SetProfileName(ProfileObject& profile, std::u16string_view name) {
  ComProfileObject* p = AsCom(profile);
  if (!p || !p->object()) return false;
  const com::Bstr text = com::Bstr::FromText(name);
  return text && SUCCEEDED(p->object()->SetProfileName(text.Get()));
}

bool ComConfigMiddleware::SetStatus(ProfileObject& profile, uint32_t ledFlags) {
  ComProfileObject* p = AsCom(profile);
  ILedStatus* leds = p ? p->Leds() : nullptr;
  return leds && SUCCEEDED(leds->SetStatus(static_cast<LONG>(ledFlags)));
}

bool ComConfigMiddleware::SetDpiStages(ProfileObject& profile, const DpiStages& stages) {
  ComProfileObject* p = AsCom(profile);
  IDpi* dpi = p ? p->Dpi() : nullptr;
  if (!dpi) return false;
  _stDpiStageType record = ToDpiRecord(stages);
  return SUCCEEDED(dpi->SetDpiStages(0, &record));   // the record carries its stage count
}

bool ComConfigMiddleware::SetProfileMappings(ProfileObject& profile, const MappingSlots& mappings) {
  ComProfileObject* p = AsCom(profile);
  return p && SUCCEEDED(p->SetMappings(mappings));
}

std::unique_ptr<MacroObject> ComConfigMiddleware::CreateMacro() {
  com::ComPtr<IMeridexMacroObject> object;
  if (!c_.macroManager || FAILED(c_.macroManager->CreateMacro(object.Put())) || !object) return nullptr;
  return std::make_unique<ComMacroObject>(std::move(object));
}

bool ComConfigMiddleware::DeleteMacro(MacroObject& macro) {
  ComMacroObject* m = AsCom(macro);
  return c_.macroManager && m && SUCCEEDED(c_.macroManager->DeleteMacro(m->object()));
}

std::optional<int32_t> ComConfigMiddleware::GetMacroId(MacroObject& macro) {
  ComMacroObject* m = AsCom(macro);
  LONG id = 0;
  if (!m || !m->object() || FAILED(m->object()->GetMacroId(&id))) return std::nullopt;
  return id;
}

bool ComConfigMiddleware::SetMacroName(MacroObject& macro, std::u16string_view name) {
  ComMacroObject* m = AsCom(macro);
  if (!m || !m->object()) return false;
  const com::Bstr text = com::Bstr::FromText(name);
  return text && SUCCEEDED(m->object()->SetMacroName(text.Get()));
}

bool ComConfigMiddleware::SetMacro(MacroObject& macro, const macro_store::MacroUpload& upload) {
  ComMacroObject* m = AsCom(macro);
  if (!m || !m->object()) return false;
  std::vector<_TMacroElement> elements = ToMacroElements(upload);
  _TMacroElement* first = elements.data();
  _TMacroParams params{};
  params.lNumElements = static_cast<LONG>(elements.size());
  params.ppElements = &first;
  return SUCCEEDED(m->object()->SetMacro(&params));
}

bool ComConfigMiddleware::SetAcceleration(int32_t level) {
  return c_.performance && SUCCEEDED(c_.performance->SetAcceleration(level));
}

bool ComConfigMiddleware::SetAccelerationControl(bool enabled) {
  return c_.performance && SUCCEEDED(c_.performance->SetAccelerationControl(enabled ? 1 : 0));
}

void ComConfigMiddleware::SaveProfileFiles() {
  if (saveProfileFiles) saveProfileFiles();
}

}  // namespace quill::cfg::win
