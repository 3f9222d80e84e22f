// CMeridexMacroObject (IMeridexMacroObject): one on-board macro by its 0-based device number
// (clients see lMacroId = number + 1). A thin handle: every method works on the device anew.
// The slots after GetMacro are the object's own steps (transfers, stream codec, directory).
#pragma once
#include <ServerLib.h>

#include <cstdint>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CMeridexMacroObject final : public com::ComObject<IMeridexMacroObject>,
                                  private DeviceBound {
 public:
  CMeridexMacroObject(CDeviceType& owner, int32_t number) : DeviceBound(owner), number_(number) {}

  STDMETHODIMP GetMacroId(LONG* lpMacroId) override;
  STDMETHODIMP SetMacroName(BSTR name) override;
  STDMETHODIMP GetMacroName(BSTR* pName) override;
  // Null params clear the macro (the 40-byte empty stream).
  STDMETHODIMP SetMacro(_TMacroParams* pParams) override;
  STDMETHODIMP GetMacro(_TMacroParams* pParams) override;

  STDMETHODIMP ReadMacroHeader(BYTE abReport[91]) override;
  STDMETHODIMP UploadStream(LONG cbData, const BYTE* pbData) override;
  STDMETHODIMP DownloadStream(LONG cbData, BYTE* pbData) override;
  // Rebinds to another device type object of this module and number (E_INVALIDARG for an
  // object of another implementation).
  STDMETHODIMP BindMacro(IDeviceType* pDeviceType, LONG lNumber) override;
  STDMETHODIMP SetMacroSize(LONG lSize) override;
  STDMETHODIMP GetMacroSize(LONG* lpSize) override;
  STDMETHODIMP EncodeAction(const _TActionInfo* pAction, BYTE* pbButtonState, BYTE* pbBuffer,
                            LONG cbBuffer, LONG* lpWritten) override;
  STDMETHODIMP EncodeElement(const _TMacroElement* pElement, BYTE* pbButtonState,
                             BYTE* pbBuffer, LONG cbBuffer, LONG* lpWritten) override;
  STDMETHODIMP EncodeMacro(const _TMacroParams* pParams, BYTE** ppbStream,
                           LONG* lpLength) override;
  // One action (or element: action and delay) from the front of pbData; *lpConsumed gets the
  // bytes read, and the button state moves on only on success.
  STDMETHODIMP DecodeAction(const BYTE* pbData, LONG cbData, BYTE* pbButtonState,
                            _TActionInfo* pAction, LONG* lpConsumed) override;
  STDMETHODIMP DecodeElement(const BYTE* pbData, LONG cbData, BYTE* pbButtonState,
                             _TMacroElement* pElement, LONG* lpConsumed) override;
  STDMETHODIMP DecodeMacro(const BYTE* pbStream, LONG cbStream, _TMacroParams* pParams) override;
  STDMETHODIMP ReadMacroDirectory(LONG alNumbers[70], LONG alSizes[70]) override;
  STDMETHODIMP CheckSpace(LONG lBytes) override;

 private:
  int32_t number_;
};

// The directory into two caller arrays of 70 entries.
HRESULT ReadDirectoryInto(DriverHandler& channel, LONG* numbers, LONG* sizes);

}  // namespace quill::server
