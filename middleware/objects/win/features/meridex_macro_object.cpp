#include "middleware/objects/win/features/meridex_macro_object.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "middleware/objects/device/channel_io.h"
#include "middleware/objects/device/macro_object.h"
#include "middleware/objects/device/macro_stream.h"
#include "middleware/objects/device/memory_space.h"
#include "middleware/objects/win/features/record_copy.h"
#include "winsupport/bstr.h"
#include "winsupport/co_task_string.h"

namespace quill::server {
namespace {

uint8_t Wire(int32_t number) { return static_cast<uint8_t>(number); }

// Copies `bytes` into the caller's buffer of `capacity` bytes (E_INVALIDARG when they do not fit).
HRESULT CopyOut(const std::vector<uint8_t>& bytes, BYTE* buffer, LONG capacity, LONG* written) {
  if (capacity < 0 || bytes.size() > static_cast<size_t>(capacity)) return E_INVALIDARG;
  std::memcpy(buffer, bytes.data(), bytes.size());
  *written = static_cast<LONG>(bytes.size());
  return S_OK;
}

// The decoders' common part: checks, then one action with or without its delay.
HRESULT DecodeOne(const BYTE* data, LONG size, BYTE* button_state, _TMacroElement* element,
                  LONG* consumed, bool with_delay) {
  if (!button_state || !element || !consumed || (size > 0 && !data)) return E_POINTER;
  *consumed = 0;
  if (size < 0) return E_INVALIDARG;
  const std::span<const uint8_t> bytes(data, static_cast<size_t>(size));
  uint8_t state = *button_state;
  device::MacroElementRecord decoded;
  size_t read = 0;
  const HResult hr = with_delay ? device::DecodeMacroElement(bytes, state, decoded, read)
                                : device::DecodeMacroAction(bytes, state, decoded, read);
  if (Failed(hr)) return hr;
  ToTypelib(decoded, *element);
  *button_state = state;
  *consumed = static_cast<LONG>(read);
  return S_OK;
}

}  // namespace

HRESULT ReadDirectoryInto(DriverHandler& channel, LONG* numbers, LONG* sizes) {
  MacroDirectory directory;
  const HResult hr = ReadMacroDirectory(channel, directory);
  for (size_t i = 0; i < kMaxMacros; ++i) {
    numbers[i] = directory.numbers[i];
    sizes[i] = static_cast<LONG>(directory.sizes[i]);
  }
  return hr;
}

STDMETHODIMP CMeridexMacroObject::GetMacroId(LONG* lpMacroId) {
  if (!lpMacroId) return E_POINTER;
  // An object bound to no macro has no identifier (0 would read as a macro to callers such as
  // DeleteMacro), nor has one bound to a number whose identifier would not fit a LONG.
  if (number_ == device::kNoNumber || number_ == std::numeric_limits<int32_t>::max()) return E_FAIL;
  *lpMacroId = number_ + 1;
  return S_OK;
}

STDMETHODIMP CMeridexMacroObject::SetMacroName(BSTR name) {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(name ? name : L""),
                                 SysStringLen(name));
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetMacroName(channel, number_, text); });
}

STDMETHODIMP CMeridexMacroObject::GetMacroName(BSTR* pName) {
  if (!pName) return E_POINTER;
  *pName = nullptr;
  return WithHandler([&](DriverHandler& channel) -> HResult {
    std::u16string name;
    const HResult hr = device::GetMacroName(channel, number_, name);
    if (Failed(hr)) return hr;
    com::Bstr text = com::Bstr::FromText(name);
    if (!text) return E_OUTOFMEMORY;
    *pName = text.Detach();
    return hr;
  });
}

STDMETHODIMP CMeridexMacroObject::SetMacro(_TMacroParams* pParams) {
  device::MacroRecord macro;
  if (pParams) {
    const HRESULT hr = FromTypelib(*pParams, macro);
    if (FAILED(hr)) return hr;
  }
  return WithHandler([&](DriverHandler& channel) {
    return device::SetMacro(channel, number_, pParams ? &macro : nullptr);
  });
}

STDMETHODIMP CMeridexMacroObject::GetMacro(_TMacroParams* pParams) {
  if (!pParams || !pParams->ppElements) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) -> HResult {
    device::MacroRecord macro;
    const HResult hr = device::GetMacro(channel, number_, macro);
    if (Failed(hr)) return hr;
    return ToTypelib(macro, *pParams);
  });
}

STDMETHODIMP CMeridexMacroObject::ReadMacroHeader(BYTE abReport[91]) {
  if (!abReport) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    FeatureReport reply{};
    const HResult hr = device::ReadMacroNameBlock(channel, number_, reply);
    std::memcpy(abReport, reply.data(), reply.size());
    return hr;
  });
}

STDMETHODIMP CMeridexMacroObject::UploadStream(LONG cbData, const BYTE* pbData) {
  if (cbData < 0) return E_INVALIDARG;
  if (cbData > 0 && !pbData) return E_POINTER;
  const HRESULT checked = device::CheckMacroNumber(number_);
  if (FAILED(checked)) return checked;
  return WithHandler([&](DriverHandler& channel) {
    return WriteMacroData(channel, Wire(number_),
                          std::span<const uint8_t>(pbData, static_cast<size_t>(cbData)));
  });
}

STDMETHODIMP CMeridexMacroObject::DownloadStream(LONG cbData, BYTE* pbData) {
  if (cbData < 0) return E_INVALIDARG;
  if (cbData > 0 && !pbData) return E_POINTER;
  const HRESULT checked = device::CheckMacroNumber(number_);
  if (FAILED(checked)) return checked;
  return WithHandler([&](DriverHandler& channel) {
    std::vector<uint8_t> data;
    const HResult hr = ReadMacroData(channel, Wire(number_), static_cast<size_t>(cbData), data);
    if (Succeeded(hr)) std::memcpy(pbData, data.data(), std::min<size_t>(data.size(), cbData));
    return hr;
  });
}

STDMETHODIMP CMeridexMacroObject::BindMacro(IDeviceType* pDeviceType, LONG lNumber) {
  if (!pDeviceType) return E_POINTER;
  CDeviceType* const device = DeviceTypeOf(pDeviceType);
  if (!device) return E_INVALIDARG;
  Rebind(*device);
  number_ = lNumber;
  return S_OK;
}

STDMETHODIMP CMeridexMacroObject::SetMacroSize(LONG lSize) {
  if (lSize < 0 || lSize > 0xFFFF) return E_INVALIDARG;
  const HRESULT checked = device::CheckMacroNumber(number_);
  if (FAILED(checked)) return checked;
  return WithHandler([&](DriverHandler& channel) {
    FeatureReport report = BuildMacroSizeWrite(Wire(number_), static_cast<uint16_t>(lSize));
    return device::WriteReport(channel, report);
  });
}

STDMETHODIMP CMeridexMacroObject::GetMacroSize(LONG* lpSize) {
  if (!lpSize) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    uint32_t size = 0;
    const HResult hr = device::GetMacroSize(channel, number_, size);
    if (Succeeded(hr)) *lpSize = static_cast<LONG>(size);
    return hr;
  });
}

STDMETHODIMP CMeridexMacroObject::EncodeAction(const _TActionInfo* pAction, BYTE* pbButtonState,
                                               BYTE* pbBuffer, LONG cbBuffer, LONG* lpWritten) {
  if (!pAction) return E_POINTER;
  _TMacroElement element{};
  element.action = *pAction;
  return EncodeElement(&element, pbButtonState, pbBuffer, cbBuffer, lpWritten);
}

STDMETHODIMP CMeridexMacroObject::EncodeElement(const _TMacroElement* pElement,
                                                BYTE* pbButtonState, BYTE* pbBuffer,
                                                LONG cbBuffer, LONG* lpWritten) {
  if (!pElement || !pbButtonState || !lpWritten || (cbBuffer > 0 && !pbBuffer)) return E_POINTER;
  *lpWritten = 0;
  uint8_t state = *pbButtonState;
  std::vector<uint8_t> bytes;
  const HResult hr = device::EncodeMacroElement(FromTypelib(*pElement), state, bytes);
  if (Failed(hr)) return hr;
  const HRESULT copied = CopyOut(bytes, pbBuffer, cbBuffer, lpWritten);
  if (SUCCEEDED(copied)) *pbButtonState = state;
  return copied;
}

STDMETHODIMP CMeridexMacroObject::EncodeMacro(const _TMacroParams* pParams, BYTE** ppbStream,
                                              LONG* lpLength) {
  if (!pParams || !ppbStream || !lpLength) return E_POINTER;
  *ppbStream = nullptr;
  *lpLength = 0;
  device::MacroRecord macro;
  HRESULT hr = FromTypelib(*pParams, macro);
  if (FAILED(hr)) return hr;
  std::vector<uint8_t> stream;
  hr = device::EncodeMacroStream(macro, stream);
  if (FAILED(hr)) return hr;
  com::CoTaskMemPtr<BYTE> block(static_cast<BYTE*>(CoTaskMemAlloc(stream.size())));
  if (!block.Get()) return E_OUTOFMEMORY;
  std::memcpy(block.Get(), stream.data(), stream.size());
  *lpLength = static_cast<LONG>(stream.size());
  *ppbStream = block.Detach();
  return S_OK;
}

STDMETHODIMP CMeridexMacroObject::DecodeAction(const BYTE* pbData, LONG cbData,
                                               BYTE* pbButtonState, _TActionInfo* pAction,
                                               LONG* lpConsumed) {
  if (!pAction) return E_POINTER;
  _TMacroElement element{};
  const HRESULT hr = DecodeOne(pbData, cbData, pbButtonState, &element, lpConsumed, false);
  if (SUCCEEDED(hr)) *pAction = element.action;
  return hr;
}

STDMETHODIMP CMeridexMacroObject::DecodeElement(const BYTE* pbData, LONG cbData,
                                                BYTE* pbButtonState, _TMacroElement* pElement,
                                                LONG* lpConsumed) {
  return DecodeOne(pbData, cbData, pbButtonState, pElement, lpConsumed, true);
}

STDMETHODIMP CMeridexMacroObject::DecodeMacro(const BYTE* pbStream, LONG cbStream,
                                              _TMacroParams* pParams) {
  if (!pParams || (cbStream > 0 && !pbStream)) return E_POINTER;
  if (cbStream < 0) return E_INVALIDARG;
  device::MacroRecord macro;
  const HResult hr = device::DecodeMacroStream(
      std::span<const uint8_t>(pbStream, static_cast<size_t>(cbStream)), macro);
  if (Failed(hr)) return hr;
  return ToTypelib(macro, *pParams);
}

STDMETHODIMP CMeridexMacroObject::ReadMacroDirectory(LONG alNumbers[70], LONG alSizes[70]) {
  if (!alNumbers || !alSizes) return E_POINTER;
  return WithHandler(
      [&](DriverHandler& channel) { return ReadDirectoryInto(channel, alNumbers, alSizes); });
}

STDMETHODIMP CMeridexMacroObject::CheckSpace(LONG lBytes) {
  if (lBytes < 0) return E_INVALIDARG;
  return WithHandler([&](DriverHandler& channel) -> HResult {
    int32_t remaining = 0;
    const HResult hr = device::GetRemainingSpace(channel, remaining);
    if (Failed(hr)) return hr;
    return device::MacroFits(remaining, static_cast<size_t>(lBytes)) ? S_OK : E_OUTOFMEMORY;
  });
}

}  // namespace quill::server
