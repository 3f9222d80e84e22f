// Helpers of the Windows tests of the server module: paths, child processes, the module loaded
// by hand, registry snapshots, and sinks that count their references.
#pragma once
#include <ServerLib.h>
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "winsupport/co_task_string.h"
#include "winsupport/com_ptr.h"

namespace quill::test {

// Folder of the running test executable (the module and the test client are built beside it).
std::wstring ExeDir();
std::wstring ServerPath();

// Runs `command_line` to its end (test::RunToEnd) and waits up to `timeout_ms`; the exit code,
// or -1 when it could not be started or did not end in time (it is then ended). What it printed
// goes to `output`.
int RunProcess(const std::wstring& command_line, std::string* output = nullptr,
               DWORD timeout_ms = 60000);

// regsvr32 [/u] /s on the module; its exit code.
int Regsvr32(bool unregister);

// The module loaded with LoadLibrary and its four entry points.
class ServerModule {
 public:
  ServerModule();
  ~ServerModule();
  explicit operator bool() const { return module_ != nullptr; }
  HRESULT CanUnloadNow() const { return can_unload_(); }
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
    return get_class_object_(clsid, iid, object);
  }
  HRESULT Register() const { return register_(); }
  HRESULT Unregister() const { return unregister_(); }
  // A new DeviceEnumeration through the module's class factory.
  HRESULT CreateEnumeration(IDeviceEnumeration** enumeration) const;

 private:
  template <class Function>
  void Bind(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  HRESULT(STDAPICALLTYPE* can_unload_)() = nullptr;
  HRESULT(STDAPICALLTYPE* get_class_object_)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* register_)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
};

// One apartment for the test's thread, and sinks that outlive every object of the test (the
// fixture releases its objects in TearDown, before the sinks go).
class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  template <class Sink, class... Args>
  Sink& MakeSink(Args&&... args) {
    auto sink = std::make_shared<Sink>(std::forward<Args>(args)...);
    sinks_.push_back(sink);
    return *sink;
  }

 private:
  std::vector<std::shared_ptr<void>> sinks_;
};

// The module loaded by hand, a DeviceEnumeration from its class factory and one closed device
// type object from that; TearDown releases them and checks that the module could unload.
class EntryObjectsTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_TRUE(module_);
    ASSERT_EQ(module_.CreateEnumeration(enumeration_.Put()), S_OK);
    ASSERT_EQ(enumeration_->EnumDeviceType(0, device_.Put()), S_OK);
  }
  void TearDown() override {
    ReleaseObjects();
    device_.Reset();
    enumeration_.Reset();
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);  // nothing leaked
    ComTest::TearDown();
  }
  // Derived fixtures release what they hold on the objects.
  virtual void ReleaseObjects() {}

  ServerModule module_;
  com::ComPtr<IDeviceEnumeration> enumeration_;
  com::ComPtr<IDeviceType> device_;
};

// A registry key as read back: values (name -> string data; "" is the default value) and the
// names of its subkeys. `exists` is false when the key cannot be opened.
struct KeySnapshot {
  bool exists = false;
  std::map<std::wstring, std::wstring> values;
  std::set<std::wstring> subkeys;
};
KeySnapshot ReadKey(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
using com::AllocationSize;
std::wstring GuidText(REFGUID guid);

// A sink object for the event interface Events that counts its references; it can also play a
// sink lacking the interface.
template <class Events>
class CountingSink : public Events {
 public:
  explicit CountingSink(bool has_events = true) : has_events_(has_events) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || (has_events_ && IsEqualIID(iid, __uuidof(Events)))) {
      *object = static_cast<Events*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // lives on the stack
  ULONG references() const { return references_; }

 private:
  bool has_events_;
  ULONG references_ = 0;
};

}  // namespace quill::test
