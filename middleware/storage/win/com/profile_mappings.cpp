// CProfile: the current button-mapping set and the eight-byte-per-button block conversions.
#include <cstring>

#include "middleware/objects/device/button_block_conversion.h"
#include "middleware/objects/win/features/record_copy.h"
#include "middleware/storage/store_names.h"
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/profile_mapping_records.h"
#include "middleware/storage/win/com/profile_mapping_upload.h"
#include "winsupport/co_task_string.h"

namespace quill::server {
namespace {

// The driver's information block reports a mapping set of its own when its fourth word is set.
bool DriverHoldsMappingSet(const std::array<uint8_t, kControlInformationSize>& information) {
  return (information[12] | information[13] | information[14] | information[15]) != 0;
}

}  // namespace

HRESULT CProfile::ApplyMappingSet(std::vector<storage::ButtonMapping> records) {
  mappings_.mappings = std::move(records);  // the version stays
  DriverHandler* const device = Device();
  if (!device) return E_FAIL;
  HRESULT hr = private_profiles_->Save(storage::kLastActiveProfile, mappings_);
  if (FAILED(hr)) return hr;
  return UploadMappingSet(*device, profiles_->macros(), mappings_);
}

storage::ProfileRecord CProfile::CurrentMappingSet() {
  DriverHandler* const device = Device();
  if (device && Succeeded(device->ReadControlInformation()) &&
      DriverHoldsMappingSet(device->control_information())) {
    // The driver's own set; this middleware reads it as empty.
    mappings_ = storage::ProfileRecord{};
    private_profiles_->Save(storage::kLastActiveProfile, mappings_);
  }
  return mappings_;
}

STDMETHODIMP CProfile::SetButtonMappings(LONG lNumMappings, _TButtonMappingInfo* ppInfo) {
  // Every record is read before anything changes: a refused set leaves the current one.
  std::vector<storage::ButtonMapping> records;
  const HRESULT hr = ReadMappingRecords(ppInfo, lNumMappings, max_mappings_, records);
  if (FAILED(hr)) return hr;
  return ApplyMappingSet(std::move(records));
}

STDMETHODIMP CProfile::GetButtonMappings(LONG* lpNumMappings, _TButtonMappingInfo** ppInfo) {
  if (ppInfo) *ppInfo = nullptr;
  if (lpNumMappings) *lpNumMappings = 0;
  if (!lpNumMappings || !ppInfo) return E_POINTER;
  try {
    return HandOutMappingRecords(CurrentMappingSet().mappings, lpNumMappings, ppInfo);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP CProfile::MappingsToButtonBlock(const _TProfileParams* pParams, ULONG cbBlock, BYTE* pbBlock) {
  if (!pParams || !pbBlock) return E_POINTER;
  const LONG count = pParams->lNumMappings;
  if (count < 0 || static_cast<size_t>(count) > max_mappings_ || cbBlock < device::kButtonBlockSize) {
    return E_INVALIDARG;
  }
  if (count > 0 && (!pParams->ppMappings || !*pParams->ppMappings)) return E_POINTER;
  std::vector<device::ButtonMappingRecord> records;
  try {
    for (LONG i = 0; i < count; ++i) records.push_back(DeviceRecordOf((*pParams->ppMappings)[i]));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return device::MappingsToButtonBlock(records, std::span<uint8_t>(pbBlock, cbBlock));
}

STDMETHODIMP CProfile::ButtonBlockToMappings(ULONG cbBlock, const BYTE* pbBlock, _TProfileParams* pParams) {
  if (!pbBlock || !pParams || !pParams->ppMappings) return E_POINTER;
  *pParams->ppMappings = nullptr;
  if (cbBlock < device::kButtonBlockSize) return E_INVALIDARG;
  std::vector<device::ButtonMappingRecord> records;
  HRESULT hr = E_OUTOFMEMORY;
  try {
    hr = device::ButtonBlockToMappings(std::span<const uint8_t>(pbBlock, cbBlock), records);
  } catch (...) {
  }
  if (FAILED(hr)) return hr;
  com::CoTaskMemPtr<_TButtonMappingInfo> out(
      static_cast<_TButtonMappingInfo*>(CoTaskMemAlloc(records.size() * sizeof(_TButtonMappingInfo))));
  if (!out.Get()) return E_OUTOFMEMORY;
  for (size_t i = 0; i < records.size(); ++i) {
    std::memset(&out.Get()[i], 0, sizeof(_TButtonMappingInfo));
    ToTypelib(records[i], out.Get()[i]);
  }
  pParams->lNumMappings = static_cast<LONG>(records.size());
  *pParams->ppMappings = out.Detach();
  return S_OK;
}

}  // namespace quill::server
