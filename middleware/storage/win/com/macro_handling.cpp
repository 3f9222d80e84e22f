#include "middleware/storage/win/com/macro_handling.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "middleware/objects/win/device_type.h"
#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/store_calls.h"
#include "winsupport/co_task_string.h"

namespace quill::server {

namespace {

storage::MacroElement StoredElement(const _TMacroElement& in) {
  storage::MacroElement out;
  out.action_type = in.action.actionType;
  for (size_t i = 0; i < out.info.size(); ++i) out.info[i] = in.action.info.alWords[i];
  out.delay_ms = in.lDelayMs;
  out.hold_ms = in.lHoldMs;
  return out;
}

void ToTypelib(const storage::MacroElement& in, _TMacroElement& out) {
  out.action.actionType = static_cast<_TButtonActionType>(in.action_type);
  for (size_t i = 0; i < in.info.size(); ++i) out.action.info.alWords[i] = in.info[i];
  out.lDelayMs = in.delay_ms;
  out.lHoldMs = in.hold_ms;
}

// The six words of a managed element in _TMacroElement order.
_TMacroElement FromManaged(const TMacroElementManaged& in) {
  _TMacroElement out{};
  out.action.actionType = static_cast<_TButtonActionType>(in.lActionType);
  out.action.info.alWords[0] = in.lParam0;
  out.action.info.alWords[1] = in.lParam1;
  out.action.info.alWords[2] = in.lParam2;
  out.lDelayMs = in.lDelayMs;
  out.lHoldMs = in.lHoldMs;
  return out;
}

TMacroElementManaged ToManaged(const _TMacroElement& in) {
  return {static_cast<LONG>(in.action.actionType), in.action.info.alWords[0], in.action.info.alWords[1],
          in.action.info.alWords[2], in.lDelayMs, in.lHoldMs};
}

}  // namespace

HRESULT CMacroHandling::Initialise() {
  if (!Usable()) return E_FAIL;
  const HRESULT hr = ServerRecordInfo(GUID_TMacroElementManaged, element_info_.Put());
  if (FAILED(hr)) return hr;
  return Guarded([&]() -> HRESULT {
    device_key_name_ = owner()->handler()->control_name();
    const std::unique_ptr<storage::RegistryKey> machine = storage::LocalMachineKey();
    if (FAILED(storage::MacroStore::Create(*machine, device_key_name_, macros_)) ||
        FAILED(storage::SpellBookStore::Create(*machine, device_key_name_, books_))) {
      return E_FAIL;
    }
    return S_OK;
  });
}

bool CMacroHandling::Usable() const { return owner() && owner()->handler(); }

template <class Run>
HRESULT CMacroHandling::Exchange(LPCWSTR object, LPCWSTR file, Run&& run) {
  return RunNamedExchange(Usable(), device_key_name_, object, file, run);
}

template <class Run>
HRESULT CMacroHandling::ExchangeAll(LPCWSTR file, Run&& run) {
  return RunExchange(Usable(), device_key_name_, file, run);
}

// Spell books

STDMETHODIMP CMacroHandling::LoadNumSpellBooks(LONG* lpNumSpellBooks) {
  return Guarded([&] { return LoadCount(*books_, lpNumSpellBooks); });
}

STDMETHODIMP CMacroHandling::LoadSpellBookList(LONG lNumSpellBooks, LPWSTR* ppSpellBookNames) {
  return Guarded([&] {
    return LoadNames(lNumSpellBooks, ppSpellBookNames,
                     [&](int32_t n, std::vector<std::u16string>& names) { return books_->List(n, names); });
  });
}

STDMETHODIMP CMacroHandling::LoadNumMacrosInSpellBook(LPCWSTR pszSpellBookName,
                                                      LONG* lpNumMacrosInSpellBook) {
  if (!lpNumMacrosInSpellBook) return E_POINTER;
  *lpNumMacrosInSpellBook = 0;
  std::u16string_view book;
  const HRESULT hr = NameArgument(pszSpellBookName, book);
  if (FAILED(hr)) return hr;
  return Guarded([&] {
    int32_t count = 0;
    const HRESULT loaded = books_->LoadNumMembers(book, count);
    if (SUCCEEDED(loaded)) *lpNumMacrosInSpellBook = count;
    return loaded;
  });
}

STDMETHODIMP CMacroHandling::SaveSpellBook(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                           LPWSTR* ppszMacroNames) {
  return Guarded([&] {
    std::u16string_view book;
    HRESULT hr = NameArgument(pszSpellBookName, book);
    std::vector<std::u16string> members;
    if (SUCCEEDED(hr)) hr = NameArguments(lNumMacrosInSpellBook, ppszMacroNames, members);
    return FAILED(hr) ? hr : books_->Save(book, members);
  });
}

STDMETHODIMP CMacroHandling::LoadSpellBook(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                           LPWSTR* ppszMacroNames) {
  return Guarded([&] {
    return LoadNames(lNumMacrosInSpellBook, ppszMacroNames,
                     [&](int32_t n, std::vector<std::u16string>& names) -> HRESULT {
                       std::u16string_view book;
                       const HRESULT hr = NameArgument(pszSpellBookName, book);
                       return FAILED(hr) ? hr : books_->LoadMembers(book, n, names);
                     });
  });
}

STDMETHODIMP CMacroHandling::DeleteSpellBook(LPCWSTR pszSpellBookName) {
  std::u16string_view book;
  const HRESULT hr = NameArgument(pszSpellBookName, book);
  return FAILED(hr) ? hr : Guarded([&] { return books_->Delete(book); });
}

STDMETHODIMP CMacroHandling::ExportSpellBook(LPCWSTR pszSpellBookName, LPCWSTR pszFileName) {
  return Exchange(pszSpellBookName, pszFileName,
                  [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                    return x.ExportSpellBook(name, path);
                  });
}

STDMETHODIMP CMacroHandling::ImportSpellBook(LPCWSTR pszSpellBookName, LPCWSTR pszFileName) {
  return Exchange(pszSpellBookName, pszFileName,
                  [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                    return x.ImportSpellBook(name, path);
                  });
}

STDMETHODIMP CMacroHandling::ExportAllSpellBooks(LPCWSTR pszFileName) {
  return ExchangeAll(pszFileName, [](storage::StoreExchange& x, const std::u16string& path) {
    return x.ExportAllSpellBooks(path);
  });
}

STDMETHODIMP CMacroHandling::ImportAllSpellBooks(LPCWSTR pszFileName) {
  return ExchangeAll(pszFileName, [](storage::StoreExchange& x, const std::u16string& path) {
    return x.ImportAllSpellBooks(path);
  });
}

// Macros

STDMETHODIMP CMacroHandling::LoadNumMacros(LONG* lpNumMacros) {
  return Guarded([&] { return LoadCount(*macros_, lpNumMacros); });
}

STDMETHODIMP CMacroHandling::LoadMacroList(LONG lNumMacros, LPWSTR* ppMacroNames) {
  return Guarded([&] {
    return LoadNames(lNumMacros, ppMacroNames,
                     [&](int32_t n, std::vector<std::u16string>& names) { return macros_->List(n, names); });
  });
}

STDMETHODIMP CMacroHandling::SaveMacro(LPCWSTR pszMacroName, _TMacroParams* pParams) {
  std::u16string_view name;
  HRESULT hr = NameArgument(pszMacroName, name);
  if (FAILED(hr)) return hr;
  if (!pParams) return E_POINTER;
  const LONG count = pParams->lNumElements;
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && (!pParams->ppElements || !*pParams->ppElements)) return E_POINTER;
  return Guarded([&] {
    storage::MacroRecord record;
    record.version = pParams->lVersion;
    record.options = pParams->options;
    record.type = pParams->type;
    record.repeat = pParams->lRepeat;
    if (pParams->ppszIconFile && *pParams->ppszIconFile) {
      record.icon_file = reinterpret_cast<const char16_t*>(*pParams->ppszIconFile);
    }
    record.elements.reserve(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) record.elements.push_back(StoredElement((*pParams->ppElements)[i]));
    return macros_->Save(name, record);
  });
}

STDMETHODIMP CMacroHandling::LoadMacro(LPCWSTR pszMacroName, _TMacroParams* pParams) {
  if (!pParams) return E_POINTER;
  if (pParams->ppszIconFile) *pParams->ppszIconFile = nullptr;
  pParams->lNumElements = 0;
  if (!pParams->ppElements) return E_POINTER;
  *pParams->ppElements = nullptr;
  std::u16string_view name;
  const HRESULT hr = NameArgument(pszMacroName, name);
  if (FAILED(hr)) return hr;
  return Guarded([&] {
    storage::MacroRecord record;
    HRESULT loaded = macros_->Load(name, record);
    if (FAILED(loaded)) return loaded;
    if (record.elements.size() > static_cast<size_t>(0x7FFFFFFF) / sizeof(_TMacroElement)) return E_OUTOFMEMORY;
    const size_t count = record.elements.size();
    com::CoTaskMemPtr<_TMacroElement> block(
        static_cast<_TMacroElement*>(CoTaskMemAlloc(count * sizeof(_TMacroElement))));
    if (!block.Get()) return E_OUTOFMEMORY;
    for (size_t i = 0; i < count; ++i) ToTypelib(record.elements[i], block.Get()[i]);
    LPWSTR icon = nullptr;
    if (pParams->ppszIconFile && FAILED(loaded = com::CoTaskStringDup(record.icon_file, &icon))) return loaded;
    pParams->lVersion = record.version;
    pParams->options = static_cast<_TMacroOptions>(record.options);
    pParams->type = static_cast<_TMacroType>(record.type);
    pParams->lRepeat = record.repeat;
    pParams->lNumElements = static_cast<LONG>(count);
    *pParams->ppElements = block.Detach();
    if (pParams->ppszIconFile) *pParams->ppszIconFile = icon;
    return S_OK;
  });
}

STDMETHODIMP CMacroHandling::DeleteMacro(LPCWSTR pszMacroName) {
  std::u16string_view name;
  const HRESULT hr = NameArgument(pszMacroName, name);
  return FAILED(hr) ? hr : Guarded([&] { return macros_->Delete(name); });
}

STDMETHODIMP CMacroHandling::ExportMacro(LPCWSTR pszMacroName, LPCWSTR pszFileName) {
  return Exchange(pszMacroName, pszFileName,
                  [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                    return x.ExportMacro(name, path);
                  });
}

STDMETHODIMP CMacroHandling::ImportMacro(LPCWSTR pszMacroName, LPCWSTR pszFileName) {
  return Exchange(pszMacroName, pszFileName,
                  [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                    return x.ImportMacro(name, path);
                  });
}

STDMETHODIMP CMacroHandling::ExportAllMacros(LPCWSTR pszFileName) {
  return ExchangeAll(pszFileName, [](storage::StoreExchange& x, const std::u16string& path) {
    return x.ExportAllMacros(path);
  });
}

STDMETHODIMP CMacroHandling::ImportAllMacros(LPCWSTR pszFileName) {
  return ExchangeAll(pszFileName, [](storage::StoreExchange& x, const std::u16string& path) {
    return x.ImportAllMacros(path);
  });
}

// Managed variants

STDMETHODIMP CMacroHandling::LoadSpellBookListManaged(LONG lNumSpellBooks, SAFEARRAY** ppSpellBookNames) {
  return FirstListManaged<IMacroHandling, &IMacroHandling::LoadSpellBookList>(this, lNumSpellBooks,
                                                                              ppSpellBookNames);
}

STDMETHODIMP CMacroHandling::LoadSpellBookManaged(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                                  SAFEARRAY** ppszMacroNames) {
  return GroupLoadManaged<IMacroHandling, &IMacroHandling::LoadSpellBook>(this, pszSpellBookName,
                                                                          lNumMacrosInSpellBook, ppszMacroNames);
}

STDMETHODIMP CMacroHandling::LoadMacroListManaged(LONG lNumMacros, SAFEARRAY** ppMacroNames) {
  return FirstListManaged<IMacroHandling, &IMacroHandling::LoadMacroList>(this, lNumMacros, ppMacroNames);
}

STDMETHODIMP CMacroHandling::SaveSpellBookManaged(LPCWSTR pszSpellBookName, LONG lNumMacrosInSpellBook,
                                                  SAFEARRAY* pszMacroNames) {
  return GroupSaveManaged<IMacroHandling, &IMacroHandling::SaveSpellBook>(this, pszSpellBookName,
                                                                          lNumMacrosInSpellBook, pszMacroNames);
}

STDMETHODIMP CMacroHandling::SaveMacroManaged(LPCWSTR pszMacroName, LONG lVersion, _TMacroOptions options,
                                              _TMacroType type, LONG lRepeat, LPCWSTR pszIconFile,
                                              LONG lNumElements, SAFEARRAY* pElements) {
  TMacroElementManaged* managed = nullptr;
  const HRESULT hr = InputVector(pElements, VT_RECORD, lNumElements, &managed);
  if (FAILED(hr)) return hr;
  return Guarded([&] {
    std::vector<_TMacroElement> elements;
    elements.reserve(static_cast<size_t>(lNumElements));
    for (LONG i = 0; i < lNumElements; ++i) elements.push_back(FromManaged(managed[i]));
    LPWSTR icon = const_cast<LPWSTR>(pszIconFile);
    _TMacroElement* data = elements.data();
    _TMacroParams params{};
    params.lVersion = lVersion;
    params.options = options;
    params.type = type;
    params.lRepeat = lRepeat;
    params.ppszIconFile = &icon;
    params.lNumElements = lNumElements;
    params.ppElements = &data;
    return SaveMacro(pszMacroName, &params);
  });
}

STDMETHODIMP CMacroHandling::LoadMacroManaged(LPCWSTR pszMacroName, LONG* lpVersion, _TMacroOptions* pOptions,
                                              _TMacroType* pType, LONG* lpRepeat, LPWSTR* ppszIconFile,
                                              LONG* lpNumElements, SAFEARRAY** ppElements) {
  // Every output given is cleared, also when another is missing.
  for (LONG* out : {lpVersion, lpRepeat, lpNumElements}) {
    if (out) *out = 0;
  }
  if (pOptions) *pOptions = MACRO_OPTIONS_USE_REPEAT_COUNT;
  if (pType) *pType = MACRO_TYPE_ACTION;
  if (ppszIconFile) *ppszIconFile = nullptr;
  if (ppElements) *ppElements = nullptr;
  if (!lpVersion || !pOptions || !pType || !lpRepeat || !ppszIconFile || !lpNumElements || !ppElements) {
    return E_POINTER;
  }
  LPWSTR icon = nullptr;
  _TMacroElement* elements = nullptr;
  _TMacroParams params{};
  params.ppszIconFile = &icon;
  params.ppElements = &elements;
  HRESULT hr = LoadMacro(pszMacroName, &params);
  com::CoTaskMemPtr<wchar_t> owned_icon(icon);
  com::CoTaskMemPtr<_TMacroElement> owned_elements(elements);
  if (FAILED(hr)) return hr;
  SAFEARRAY* made = nullptr;
  hr = MakeRecordVector(element_info_.Get(), params.lNumElements, &made);
  SafeArrayPtr array(made);
  if (FAILED(hr)) return hr;
  if (array.Get()->cbElements != sizeof(TMacroElementManaged)) return E_FAIL;
  auto* const out = static_cast<TMacroElementManaged*>(array.Get()->pvData);
  for (LONG i = 0; i < params.lNumElements; ++i) out[i] = ToManaged(elements[i]);
  *lpVersion = params.lVersion;
  *pOptions = params.options;
  *pType = params.type;
  *lpRepeat = params.lRepeat;
  *lpNumElements = params.lNumElements;
  *ppszIconFile = owned_icon.Detach();
  *ppElements = array.Detach();
  return S_OK;
}

HRESULT MakeMacroHandling(CDeviceType& owner, IUnknown** object) {
  return MakeStoreFeature<CMacroHandling>(owner, object);
}

}  // namespace quill::server
