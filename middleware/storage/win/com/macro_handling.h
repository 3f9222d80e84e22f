// CMacroHandling (IMacroHandling): the macros and spell books of the registry store of one
// device type, and their export and import files. No device traffic.
//
// Made by IDeviceType::CreateMacroHandlingInterface through MakeMacroHandling: it needs an
// opened device type object (E_FAIL otherwise, for its device key name), the record information
// of TMacroElementManaged (that failure is returned, e.g. when the type library is not
// registered) and the macro and spell-book stores for that name (E_FAIL when they cannot be
// opened).
//
// Strings and blocks handed out are CoTaskMem (the caller frees them with CoTaskMemFree),
// arrays of the Managed methods SAFEARRAYs (SafeArrayDestroy). Null pointers give E_POINTER,
// negative counts E_INVALIDARG, names the store refuses its error; on failure nothing stays
// allocated for the caller.
#pragma once
#include <ServerLib.h>

#include <memory>
#include <string>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"
#include "middleware/storage/group_store.h"
#include "middleware/storage/macro_store.h"

namespace quill::server {

class CMacroHandling final
    : public com::ComObject<IMacroHandling, com::EventSource<_IMacroHandlingEvents>>,
      private DeviceBound {
 public:
  explicit CMacroHandling(CDeviceType& owner) : DeviceBound(owner) {}
  // The creation steps above; the object is not to be handed out when they fail.
  HRESULT Initialise();

  // IMacroHandling, in type-library order.
  STDMETHODIMP LoadNumSpellBooks(LONG* lpNumSpellBooks) override;
  STDMETHODIMP LoadSpellBookList(LONG lNumSpellBooks, LPWSTR* ppSpellBookNames) override;
  STDMETHODIMP LoadNumMacrosInSpellBook(LPCWSTR pszSpellBookName, LONG* lpNumMacrosInSpellBook) override;
  // Replaces a book of the same name; every member must be a stored macro (else E_FAIL, and
  // nothing changes). Each member gains one "RefCount".
  STDMETHODIMP SaveSpellBook(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                             LPWSTR* ppszMacroNames) override;
  // The first n members; E_FAIL with every slot null when the book lists fewer.
  STDMETHODIMP LoadSpellBook(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                             LPWSTR* ppszMacroNames) override;
  STDMETHODIMP DeleteSpellBook(LPCWSTR pszSpellBookName) override;
  STDMETHODIMP ExportSpellBook(LPCWSTR pszSpellBookName, LPCWSTR pszFileName) override;
  STDMETHODIMP ImportSpellBook(LPCWSTR pszSpellBookName, LPCWSTR pszFileName) override;
  STDMETHODIMP ExportAllSpellBooks(LPCWSTR pszFileName) override;
  STDMETHODIMP ImportAllSpellBooks(LPCWSTR pszFileName) override;
  STDMETHODIMP LoadNumMacros(LONG* lpNumMacros) override;
  STDMETHODIMP LoadMacroList(LONG lNumMacros, LPWSTR* ppMacroNames) override;
  // A null icon file cell or string stores an empty icon file name; FixedDelay is not stored.
  STDMETHODIMP SaveMacro(LPCWSTR pszMacroName, _TMacroParams* pParams) override;
  // The elements go to a CoTaskMem block of lNumElements x 24 bytes through ppElements (a
  // valid block also for 0 elements), the icon file name to a CoTaskMem string through
  // ppszIconFile when that cell is given. FixedDelay is left as it was. On failure both
  // pointers are null and lNumElements is 0.
  STDMETHODIMP LoadMacro(LPCWSTR pszMacroName, _TMacroParams* pParams) override;
  // E_FAIL while a spell book or a stored profile names the macro.
  STDMETHODIMP DeleteMacro(LPCWSTR pszMacroName) override;
  STDMETHODIMP ExportMacro(LPCWSTR pszMacroName, LPCWSTR pszFileName) override;
  STDMETHODIMP ImportMacro(LPCWSTR pszMacroName, LPCWSTR pszFileName) override;
  STDMETHODIMP ExportAllMacros(LPCWSTR pszFileName) override;
  STDMETHODIMP ImportAllMacros(LPCWSTR pszFileName) override;
  STDMETHODIMP LoadSpellBookListManaged(LONG lNumSpellBooks, SAFEARRAY** ppSpellBookNames) override;
  STDMETHODIMP LoadSpellBookManaged(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                    SAFEARRAY** ppszMacroNames) override;
  STDMETHODIMP LoadMacroListManaged(LONG lNumMacros, SAFEARRAY** ppMacroNames) override;
  STDMETHODIMP SaveSpellBookManaged(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                    SAFEARRAY* pszMacroNames) override;
  // pElements: a VT_RECORD vector of at least lNumElements TMacroElementManaged.
  STDMETHODIMP SaveMacroManaged(LPCWSTR pszMacroName, LONG lVersion, _TMacroOptions options,
                                _TMacroType type, LONG lRepeat, LPCWSTR pszIconFile,
                                LONG lNumElements, SAFEARRAY* pElements) override;
  // On failure the scalars and the count are 0 and both out-pointers null.
  STDMETHODIMP LoadMacroManaged(LPCWSTR pszMacroName, LONG* lpVersion, _TMacroOptions* pOptions,
                                _TMacroType* pType, LONG* lpRepeat, LPWSTR* ppszIconFile,
                                LONG* lpNumElements, SAFEARRAY** ppElements) override;

 private:
  // The device type object is still there and open.
  bool Usable() const;
  template <class Run>
  HRESULT Exchange(LPCWSTR object, LPCWSTR file, Run&& run);
  template <class Run>
  HRESULT ExchangeAll(LPCWSTR file, Run&& run);

  com::ComPtr<IRecordInfo> element_info_;
  std::u16string device_key_name_;
  std::unique_ptr<storage::MacroStore> macros_;
  std::unique_ptr<storage::SpellBookStore> books_;
};

// The maker of the kMacroHandling slot.
HRESULT MakeMacroHandling(CDeviceType& owner, IUnknown** object);

}  // namespace quill::server
