// The module's lock count: live objects plus IClassFactory::LockServer locks. DllCanUnloadNow
// lets the module go only when it is zero.
#pragma once
#include <windows.h>

namespace quill::com {

class ModuleLock {
 public:
  static void Add() { InterlockedIncrement(&count_); }
  static void Remove() { InterlockedDecrement(&count_); }
  static LONG Count() { return InterlockedCompareExchange(&count_, 0, 0); }

 private:
  static inline LONG count_ = 0;
};

// Held by every object of the module for its whole life (a base class, so that it is released
// after everything else of the object, sinks included).
class ModuleReference {
 protected:
  ModuleReference() { ModuleLock::Add(); }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;
  ~ModuleReference() { ModuleLock::Remove(); }
};

}  // namespace quill::com
