// The skinned message box on the screen (Wine, Xvfb): buttons with results and positions,
// Enter, Escape and Tab, the name prompt's edit field bounded by its limit, and the colour key.
#include <gtest/gtest.h>

#include <functional>

#include "configurator/kit/win/message_box.h"
#include "configurator/kit/win/tests/kit_test_support.h"

namespace quill::kit::win::test {
namespace {

// A message box that runs `act` once it is on the screen (real input reaches it then).
class DrivenBox : public CBitmapMessageBox {
 public:
  DrivenBox(const std::wstring& title, const std::wstring& text, std::function<void(DrivenBox&)> act)
      : CBitmapMessageBox(title, text), act_(std::move(act)) {}

 protected:
  bool OnInit() override {
    const bool result = CBitmapMessageBox::OnInit();
    SetTimer(hwnd(), 1, 50, nullptr);
    return result;
  }
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    if (message == WM_TIMER && wparam == 1 && IsWindowVisible(hwnd())) {
      KillTimer(hwnd(), 1);
      SetForegroundWindow(hwnd());
      if (act_) act_(*this);
      return true;
    }
    return CBitmapMessageBox::HandleMessage(message, wparam, lparam, result);
  }

 private:
  std::function<void(DrivenBox&)> act_;
};

TEST(KitMessageBox, ClicksEnterEscapeAndTabGiveTheButtonsResults) {
  Host host;
  struct Case {
    const char* what;
    std::function<void(DrivenBox&)> act;
    INT_PTR result;
  } cases[] = {
      {"click on No", [](DrivenBox& b) { ClickCentre(b.buttons()[1]->hwnd()); }, IDNO},
      {"click on the placed button", [](DrivenBox& b) { ClickCentre(b.buttons()[2]->hwnd()); }, 42},
      {"Enter", [](DrivenBox&) { PressKey(VK_RETURN); }, IDYES},
      {"Escape", [](DrivenBox&) { PressKey(VK_ESCAPE); }, IDNO},
      {"Tab, Space",
       [](DrivenBox&) {
         PressKey(VK_TAB);
         PressKey(VK_SPACE);
       },
       IDNO},
  };
  for (const Case& c : cases) {
    HWND placed = nullptr;
    DrivenBox box(L"Delete Profile", L"Are you sure you want to delete this profile?", [&](DrivenBox& b) {
      placed = b.buttons()[2]->hwnd();
      RECT r;
      GetWindowRect(placed, &r);
      POINT corner{r.left, r.top};
      ScreenToClient(b.hwnd(), &corner);
      EXPECT_EQ(corner.x, 24);  // where the caller put it (96 DPI)
      EXPECT_EQ(corner.y, 6);
      c.act(b);
    });
    box.AddButton(L"Yes", IDYES);
    box.AddButton(L"No", IDNO);
    box.AddButton(L"Later", 42, 24, 6);
    EXPECT_EQ(box.Show(host.hwnd()), c.result) << c.what;
    EXPECT_NE(placed, nullptr) << c.what;
  }
}

TEST(KitMessageBox, NamePromptKeepsTheTypedNameUpToItsLimit) {
  Host host;
  bool layered = false;
  DrivenBox box(L"Create Profile", L"Please enter the name for the new profile:", [&](DrivenBox& b) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    layered = (GetWindowLongPtrW(b.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) &&
              GetLayeredWindowAttributes(b.hwnd(), &key, &alpha, &flags) && (flags & LWA_COLORKEY) &&
              key == RGB(255, 0, 255);
    TypeText(L"Gaming Profile Number Twenty");  // 28 characters; the field takes 20
    PressKey(VK_RETURN);
  });
  box.SetEdit(L"replaced by typing", 20);
  box.AddButton(L"Yes", IDYES);
  box.AddButton(L"No", IDNO);
  EXPECT_EQ(box.Show(host.hwnd()), IDYES);
  EXPECT_EQ(box.edit_text(), L"Gaming Profile Numbe");
  EXPECT_TRUE(layered);
}

}  // namespace
}  // namespace quill::kit::win::test
