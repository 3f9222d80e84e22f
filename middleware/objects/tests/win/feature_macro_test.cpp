// IMeridexMacroManager and IMeridexMacroObject against the emulated mouse.
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/objects/win/features/meridex_macro_manager.h"

namespace quill::test {
namespace {

using com::ComPtr;

_TMacroElement Key(LONG scan, bool release, LONG delay) {
  _TMacroElement element{};
  element.action.actionType = BUTTON_ACTION_KEYCODE;
  element.action.info.keycode.lScanCode = scan;
  element.action.info.keycode.options = release ? KEYCODE_OPTIONS_BREAK : KEYCODE_OPTIONS_NONE;
  element.lDelayMs = delay;
  return element;
}

class MacroTest : public FeatureTest {
 protected:
  void SetUp() override {
    FeatureTest::SetUp();
    ComPtr<IMeridex> meridex;
    ASSERT_EQ(open_->CreateMeridexInterface(meridex.Put()), S_OK);
    ASSERT_EQ(meridex->CreateInterfaceInstance(__uuidof(IMeridexMacroManager),
                                               reinterpret_cast<IUnknown**>(manager_.Put())),
              S_OK);
  }
  void TearDown() override {
    manager_.Reset();
    FeatureTest::TearDown();
  }
  ComPtr<IMeridexMacroManager> manager_;
};

TEST_F(MacroTest, CreateNameUploadDownloadAndDelete) {
  EXPECT_TRUE(manager_->HasFreeSpace());
  ComPtr<IMeridexMacroObject> macro;
  ASSERT_EQ(manager_->CreateMacro(macro.Put()), S_OK);
  LONG id = 0;
  ASSERT_EQ(macro->GetMacroId(&id), S_OK);
  EXPECT_GE(id, 1);

  BSTR name = SysAllocString(L"Combo");
  ASSERT_EQ(macro->SetMacroName(name), S_OK);
  SysFreeString(name);
  _TMacroElement elements[] = {Key(0x1E, false, 100), Key(0x1E, true, 300)};
  _TMacroElement* element_array = elements;
  _TMacroParams params{0, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_KEYSTROKE, 20, 1, nullptr, 2,
                       &element_array};
  ASSERT_EQ(macro->SetMacro(&params), S_OK);

  BSTR read_name = nullptr;
  ASSERT_EQ(macro->GetMacroName(&read_name), S_OK);  // the name survived the upload
  EXPECT_STREQ(read_name, L"Combo");
  SysFreeString(read_name);

  LPWSTR icon = reinterpret_cast<LPWSTR>(1);
  _TMacroElement* read_elements = nullptr;
  _TMacroParams read{7, MACRO_OPTIONS_REPEAT_UNTIL_SAME, MACRO_TYPE_ACTION, 0, 0, &icon, 0,
                     &read_elements};
  ASSERT_EQ(macro->GetMacro(&read), S_OK);
  EXPECT_EQ(icon, nullptr);
  EXPECT_EQ(read.FixedDelay, 20u);
  EXPECT_EQ(read.lRepeat, 1);
  ASSERT_EQ(read.lNumElements, 2);
  EXPECT_EQ(AllocationSize(read_elements), 2 * sizeof(_TMacroElement));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(read_elements[i].action.actionType, BUTTON_ACTION_KEYCODE) << i;
    EXPECT_EQ(read_elements[i].action.info.keycode.lScanCode, 0x1E) << i;
    EXPECT_EQ(read_elements[i].lDelayMs, elements[i].lDelayMs) << i;
  }
  CoTaskMemFree(read_elements);

  LONG numbers[70], sizes[70];
  ASSERT_EQ(manager_->ReadDirectory(numbers, sizes), S_OK);
  LONG size = -1;
  ASSERT_EQ(macro->GetMacroSize(&size), S_OK);
  bool listed = false;
  for (int i = 0; i < 70; ++i) listed |= numbers[i] == id - 1 && sizes[i] == size;
  EXPECT_TRUE(listed);

  ComPtr<IMeridexMacroObject> by_index;
  ASSERT_EQ(manager_->GetMacroByIndex(0, by_index.Put()), S_OK);
  LONG index_id = 0;
  by_index->GetMacroId(&index_id);
  EXPECT_EQ(index_id, id);
  EXPECT_EQ(manager_->GetMacroByIndex(5, by_index.Put()), E_FAIL);
  ASSERT_EQ(manager_->DeleteMacro(macro.Get()), S_OK);
  EXPECT_EQ(manager_->GetMacroByIndex(0, by_index.Put()), E_FAIL);
}

TEST_F(MacroTest, StreamCodecWithoutTheDevice) {
  ComPtr<IMeridexMacroObject> macro;
  ASSERT_EQ(manager_->OpenMacro(3, macro.Put()), S_OK);
  _TMacroElement elements[] = {Key(0x10, false, 5000), Key(0x10, true, 0)};
  _TMacroElement* element_array = elements;
  _TMacroParams params{0, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_KEYSTROKE, 30, 1, nullptr, 2,
                       &element_array};
  BYTE* stream = nullptr;
  LONG length = 0;
  ASSERT_EQ(macro->EncodeMacro(&params, &stream, &length), S_OK);
  EXPECT_EQ(AllocationSize(stream), static_cast<SIZE_T>(length));
  _TMacroElement* decoded = nullptr;
  _TMacroParams back{};
  back.ppElements = &decoded;
  ASSERT_EQ(macro->DecodeMacro(stream, length, &back), S_OK);
  CoTaskMemFree(stream);
  ASSERT_EQ(back.lNumElements, 2);
  EXPECT_EQ(decoded[0].lDelayMs, 5000);
  EXPECT_EQ(decoded[1].action.info.keycode.options, KEYCODE_OPTIONS_BREAK);
  CoTaskMemFree(decoded);

  BYTE state = 0, buffer[8] = {};
  LONG written = -1;
  ASSERT_EQ(macro->EncodeElement(&elements[0], &state, buffer, sizeof buffer, &written), S_OK);
  // Key press, scan code, then the delay of 5000 ms as 0x12 and two big-endian bytes.
  EXPECT_EQ(std::vector<BYTE>(buffer, buffer + written), (std::vector<BYTE>{1, 0x10, 0x12, 0x13, 0x88}));
  const LONG encoded = written;
  EXPECT_EQ(macro->EncodeElement(&elements[0], &state, buffer, 2, &written), E_INVALIDARG);

  // Back again, one element and one action at a time.
  BYTE read_state = 0;
  _TMacroElement element{};
  LONG consumed = -1;
  ASSERT_EQ(macro->DecodeElement(buffer, encoded, &read_state, &element, &consumed), S_OK);
  EXPECT_EQ(consumed, encoded);
  EXPECT_EQ(element.action.info.keycode.lScanCode, 0x10);
  EXPECT_EQ(element.lDelayMs, 5000);
  _TActionInfo action{};
  ASSERT_EQ(macro->DecodeAction(buffer, encoded, &read_state, &action, &consumed), S_OK);
  EXPECT_EQ(consumed, 2);
  EXPECT_EQ(action.actionType, element.action.actionType);
  EXPECT_EQ(macro->DecodeAction(buffer, 1, &read_state, &action, &consumed), E_FAIL);
  EXPECT_EQ(consumed, 0);
  EXPECT_EQ(macro->DecodeAction(buffer, 2, &read_state, nullptr, &consumed), E_POINTER);
  EXPECT_EQ(macro->DecodeElement(buffer, -1, &read_state, &element, &consumed), E_INVALIDARG);
}

TEST_F(MacroTest, BindAndArgumentChecks) {
  EXPECT_EQ(manager_->Bind(nullptr), E_POINTER);
  EXPECT_EQ(manager_->Bind(closed_.Get()), S_OK);
  EXPECT_FALSE(manager_->HasFreeSpace());  // no handler there
  ComPtr<IMeridexMacroObject> macro;
  EXPECT_EQ(manager_->CreateMacro(macro.Put()), E_FAIL);
  EXPECT_EQ(manager_->Bind(open_.Get()), S_OK);
  EXPECT_TRUE(manager_->HasFreeSpace());

  LONG numbers[70];
  EXPECT_EQ(manager_->ReadDirectory(numbers, nullptr), E_POINTER);
  EXPECT_EQ(manager_->GetMacroByIndex(0, nullptr), E_POINTER);
  EXPECT_EQ(manager_->OpenMacro(1, nullptr), E_POINTER);
  EXPECT_EQ(manager_->CreateMacro(nullptr), E_POINTER);
  EXPECT_EQ(manager_->DeleteMacro(nullptr), E_POINTER);
  ASSERT_EQ(manager_->OpenMacro(0, macro.Put()), S_OK);  // bound to no macro
  LONG value = 7;
  EXPECT_EQ(macro->GetMacroId(&value), E_FAIL);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(manager_->DeleteMacro(macro.Get()), E_FAIL);
  EXPECT_EQ(macro->GetMacroSize(&value), E_FAIL);
  EXPECT_EQ(macro->SetMacroSize(40), E_FAIL);
  EXPECT_EQ(macro->GetMacroId(nullptr), E_POINTER);
  EXPECT_EQ(macro->GetMacro(nullptr), E_POINTER);
  BSTR name = nullptr;
  EXPECT_EQ(macro->GetMacroName(&name), E_FAIL);
  EXPECT_EQ(name, nullptr);

  // Identifiers at the ends of the range: no number and no identifier wraps around.
  ASSERT_EQ(manager_->OpenMacro(LONG_MIN, macro.Put()), S_OK);
  EXPECT_EQ(macro->GetMacroId(&value), E_FAIL);
  ASSERT_EQ(macro->BindMacro(open_.Get(), LONG_MAX), S_OK);
  EXPECT_EQ(macro->GetMacroId(&value), E_FAIL);
  EXPECT_EQ(value, 7);
  ASSERT_EQ(manager_->OpenMacro(LONG_MAX, macro.Put()), S_OK);
  EXPECT_EQ(macro->GetMacroId(&value), S_OK);
  EXPECT_EQ(value, LONG_MAX);
}

}  // namespace
}  // namespace quill::test
