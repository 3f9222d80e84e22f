// The module's entry points: class objects and the unload decision.

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/server_resource_ids.h"

namespace quill::test {
namespace {

class ModuleTest : public ComTest {
 protected:
  ServerModule module_;
};

TEST_F(ModuleTest, OtherClassesAreNotAvailable) {
  ASSERT_TRUE(module_);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(module_.GetClassObject(IID_IUnknown, IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  const CLSID other = {0x1D2B3C4E, 0x5F60, 0x4172, {0x83, 0x94, 0xA5, 0xB6, 0xC7, 0xD8, 0xE9, 0xF0}};
  EXPECT_EQ(module_.GetClassObject(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(module_.GetClassObject(CLSID_DeviceEnumeration, IID_IClassFactory, nullptr),
            E_POINTER);
  EXPECT_EQ(module_.GetClassObject(CLSID_DeviceEnumeration, IID_IDeviceType, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, LiveObjectsAndServerLocksKeepTheModule) {
  ASSERT_TRUE(module_);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(module_.GetClassObject(CLSID_DeviceEnumeration, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);  // the factory itself

  IUnknown* outer = factory;  // any non-null controlling unknown
  IUnknown* object = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&object)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);

  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  IDeviceEnumeration* enumeration = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDeviceEnumeration,
                                    reinterpret_cast<void**>(&enumeration)),
            S_OK);
  factory->Release();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);  // object and lock

  // A device type object outlives the enumeration that made it, and keeps the module.
  IDeviceType* device = nullptr;
  ASSERT_EQ(enumeration->EnumDeviceType(0, &device), S_OK);
  enumeration->Release();
  ASSERT_EQ(module_.GetClassObject(CLSID_DeviceEnumeration, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), E_UNEXPECTED);  // no lock left to release
  factory->Release();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);

  // Enumerators count as objects too.
  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(device->QueryInterface(IID_IConnectionPointContainer,
                                   reinterpret_cast<void**>(&container)),
            S_OK);
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
  container->Release();
  device->Release();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  points->Release();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, CarriesItsTypeLibraryAndProjectName) {
  HMODULE image = LoadLibraryExW(ServerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  wchar_t name[64] = {};
  EXPECT_EQ(LoadStringW(image, IDS_PROJNAME, name, 64), 21);
  EXPECT_STREQ(name, L"TorvoMiddlewareServer");
  EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(1), L"TYPELIB"), nullptr);
  FreeLibrary(image);

  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLibEx(ServerPath().c_str(), REGKIND_NONE, &library), S_OK);
  BSTR library_name = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &library_name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_STREQ(library_name, L"ServerLib");
  SysFreeString(library_name);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_ServerLib));
  library->ReleaseTLibAttr(attr);
  library->Release();
}

}  // namespace
}  // namespace quill::test
