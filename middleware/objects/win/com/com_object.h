// Reference counting and QueryInterface, written once for every object of the module.
//
//   class CThing final : public com::ComObject<IThing, com::EventSource<_IThingEvents>> { ... };
//   com::ComPtr<CThing> thing = com::MakeComObject<CThing>(args...);   // one reference
//
// Each base is an interface, or a mixin naming the interface it implements as `ComInterface`
// (EventSource answers IConnectionPointContainer). QueryInterface answers IUnknown (the first
// base, the object's identity) and each base's interface; anything else is E_NOINTERFACE.
// Reference counts are plain integers: objects live in one apartment.
#pragma once
#include <objbase.h>

#include <new>
#include <type_traits>
#include <utility>

#include "middleware/objects/win/com/module_lock.h"
#include "winsupport/com_ptr.h"

namespace quill::com {

template <class Base, class = void>
struct InterfaceOf {
  using type = Base;
};
template <class Base>
struct InterfaceOf<Base, std::void_t<typename Base::ComInterface>> {
  using type = typename Base::ComInterface;
};

template <class First, class... Rest>
class ComObject : private ModuleReference, public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *object = Identity();
    } else {
      (Offer<First>(iid, object) || ... || Offer<Rest>(iid, object));
    }
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // The object's controlling IUnknown.
  IUnknown* Identity() {
    using I = typename InterfaceOf<First>::type;
    return static_cast<I*>(static_cast<First*>(this));
  }

 protected:
  // Created with one reference, which MakeComObject hands to its caller.
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  template <class Base>
  bool Offer(REFIID iid, void** object) {
    using I = typename InterfaceOf<Base>::type;
    if (!IsEqualIID(iid, __uuidof(I))) return false;
    *object = static_cast<I*>(static_cast<Base*>(this));
    return true;
  }

  ULONG references_ = 1;
};

// Creates an object with its one reference owned by the returned pointer; null when memory
// runs out (callers answer E_OUTOFMEMORY).
template <class T, class... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  try {
    return ComPtr<T>::Adopt(new (std::nothrow) T(std::forward<Args>(args)...));
  } catch (...) {
    return nullptr;
  }
}

// Hands `object`'s interface I to an out-parameter (QueryInterface, so the caller owns one
// reference); the out-parameter is null on failure.
template <class I, class T>
HRESULT HandOut(const ComPtr<T>& object, I** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!object) return E_OUTOFMEMORY;
  return object->Identity()->QueryInterface(__uuidof(I), reinterpret_cast<void**>(out));
}

}  // namespace quill::com
