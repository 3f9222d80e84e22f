// The kit's gallery: every finished control of the kit on a skinned window, in its states, for
// a look and for screenshots. Not shipped.
//   kit_gallery [--hover] [--combo] [--menu] [--message en|de|fr|prompt]
// Prints "shown" once the window (and the message box, if one is asked for) is on the screen,
// then runs until the window is closed or 60 s have passed. --hover puts the mouse pointer on
// a button so that its hover face shows; --combo opens the drop-down and one of its second lists;
// --menu opens the profile list's context menu.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "configurator/kit/win/bitmap_edit.h"
#include "configurator/kit/win/bitmap_list_v2.h"
#include "configurator/kit/win/bitmap_list_v3.h"
#include "configurator/kit/win/bitmap_slider.h"
#include "configurator/kit/win/combo_box.h"
#include "configurator/kit/win/delay_bar.h"
#include "configurator/kit/win/hover_button.h"
#include "configurator/kit/win/message_box.h"
#include "configurator/kit/win/skin.h"
#include "configurator/kit/win/skin_menu.h"
#include "configurator/kit/win/slider_list.h"
#include "configurator/kit/win/spin_controls.h"

namespace {

using namespace quill::kit::win;
namespace skin = quill::skin;

constexpr int kWidth = 980, kHeight = 590, kTitle = 34;
constexpr UINT_PTR kOpenMessageTimer = 1, kLifetimeTimer = 2;

void SayShown() {
  std::printf("shown\n");
  std::fflush(stdout);
}

// A message box that says when it is on the screen.
class ShownMessageBox : public CBitmapMessageBox {
 public:
  using CBitmapMessageBox::CBitmapMessageBox;

 protected:
  bool OnInit() override {
    const bool result = CBitmapMessageBox::OnInit();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SayShown();
    return result;
  }
};

std::unique_ptr<CBitmapMessageBox> MessageFor(const std::wstring& language, bool announce) {
  auto make = [announce](const wchar_t* title, const wchar_t* text) -> std::unique_ptr<CBitmapMessageBox> {
    if (announce) return std::make_unique<ShownMessageBox>(title, text);
    return std::make_unique<CBitmapMessageBox>(title, text);
  };
  std::unique_ptr<CBitmapMessageBox> box;
  if (language == L"de") {
    box = make(L"Profil anlegen",
               L"Es können nicht mehr als 5 Profile angelegt werden. Löschen Sie zuerst ein Profil, das Sie nicht "
               L"mehr benötigen.");
    box->AddButton(L"OK", IDOK);
  } else if (language == L"fr") {
    box = make(L"Supprimer le profil",
               L"Êtes-vous sûr de vouloir supprimer ce profil ? Cette action ne peut pas être annulée.");
    box->AddButton(L"Oui", IDYES);
    box->AddButton(L"Non", IDNO);
  } else if (language == L"prompt") {
    box = make(L"Create Profile", L"Please enter the name for the new profile:");
    box->SetEdit(L"Gaming", 20);
    box->AddButton(L"Yes", IDYES);
    box->AddButton(L"No", IDNO);
  } else {
    box = make(L"Create Profile", L"Maximum number of profiles reached");
    box->AddButton(L"OK", IDOK);
  }
  return box;
}

class Gallery : public Window,
                private HoverButtonV2Parent,
                private CSliderCtrlParent,
                private ComboBoxParent,
                private BitmapListCtrlV3Parent,
                private BitmapListCtrlV2Parent {
 public:
  bool Create(bool hover, bool combo, bool menu, std::wstring message) {
    message_ = std::move(message);
    open_combo_ = combo;
    open_menu_ = menu;
    hover_ = hover;
    const int dpi = WindowDpi(nullptr);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = Scale(kWidth, dpi), h = Scale(kHeight, dpi);
    if (!CreateOf(L"QuillKitGallery", WS_EX_CONTROLPARENT, WS_POPUP | WS_CLIPCHILDREN, (work.left + work.right - w) / 2,
                  (work.top + work.bottom - h) / 2, w, h, nullptr, nullptr)) {
      return false;
    }
    SetWindowTextW(hwnd(), L"Quillfern control kit");
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd(), RGB(255, 0, 255), 0, LWA_COLORKEY);
    dpi_ = WindowDpi(hwnd());
    Build();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    if (hover_) {
      RECT r;
      GetWindowRect(apply_.hwnd(), &r);
      SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    SetTimer(hwnd(), kOpenMessageTimer, 300, nullptr);
    SetTimer(hwnd(), kLifetimeTimer, 60000, nullptr);
    return true;
  }

 private:
  RECT At(int x, int y, int w, int h) const {
    return {Scale(x, dpi_), Scale(y, dpi_), Scale(x + w, dpi_), Scale(y + h, dpi_)};
  }

  void Build() {
    apply_.Create(hwnd(), 10, At(24, 78, 112, 28), L"Apply");
    disabled_.Create(hwnd(), 11, At(148, 78, 112, 28), L"Disabled");
    disabled_.SetEnabled(false);
    toggle_on_.Create(hwnd(), 12, At(272, 78, 112, 28), L"1000 Hz");
    toggle_on_.SetChecked(true);
    toggle_off_.Create(hwnd(), 13, At(396, 78, 112, 28), L"500 Hz");
    focused_.Create(hwnd(), 14, At(520, 78, 96, 28), L"Focused");

    performance_.Create(hwnd(), 20, At(24, 140, 592, 60));
    performance_.AddRow(L"Sensitivity", 21, 1, 56, 1, 18, [](double v) { return std::to_wstring(static_cast<int>(v) * 100) + L" DPI"; });
    performance_.AddRow(L"Acceleration (disabled)", 22, 1, 10, 1, 5, [](double v) { return std::to_wstring(static_cast<int>(v)); })
        ->SetEnabled(false);

    name_.Create(hwnd(), 30, At(24, 242, 300, 26), 20);
    name_.SetText(L"Gaming");

    assignment_.Create(hwnd(), 31, At(380, 242, 236, 26));
    assignment_.SetEntries({{u"Click", {}},
                            {u"Menu", {}},
                            {u"Universal Scrolling", {}},
                            {u"Macro", {u"Reload", u"Quick Build", u"Jump Crouch"}},
                            {u"Profile", {u"Gaming", u"Office", u"Default"}},
                            {u"Single Key", {}},
                            {u"Backward", {}},
                            {u"Forward", {}}});
    assignment_.SetPick(2);

    using Column = CBitmapListCtrlV3::Column;
    using Kind = CBitmapListCtrlV3::Kind;
    profiles_.Create(hwnd(), 50, At(640, 78, 320, 222),
                     {Column{L"", 28, Kind::kIcon}, Column{L"Profile Name", 120, Kind::kText, true, 20},
                      Column{L"Application", 106, Kind::kText, true, 260}, Column{L"Auto", 56, Kind::kCheck}});
    const wchar_t* names[][2] = {{L"Default", L"<none>"}, {L"Gaming", L"shooter.exe"}, {L"Office", L"<none>"},
                                 {L"Strategie", L"empire.exe"}, {L"Précision", L"<none>"}};
    for (int i = 0; i < 5; ++i) {
      CBitmapListCtrlV3::Row row;
      row.icon = skin::kProfileMark;
      row.text = {L"", names[i][0], names[i][1], L""};
      row.checked = {false, false, false, i == 1 || i == 3};
      profiles_.AddRow(std::move(row));
    }
    profiles_.Select(1);

    delay_spin_.Create(hwnd(), 60, At(640, 354, 120, 26), quill::kit::ValueRange(0, 10, 0.25));
    delay_spin_.SetValue(2.5);
    delay_spin_.on_change = [this](double value) {
      delay_bar_.SetDelay(static_cast<int>(value * 100), 1000);
      status_ = L"Number " + std::to_wstring(value);
      InvalidateRect(hwnd(), nullptr, FALSE);
    };
    delay_bar_.Create(hwnd(), 61, At(780, 354, 176, 26));
    delay_bar_.SetDelay(250, 1000);

    keys_.Create(hwnd(), 70, At(24, 424, 300, 150));
    keys_.AddKey(CBitmapListCtrlV2::RowType::kKeyDown, L"Left Ctrl");
    keys_.AddDelay(35);
    keys_.AddKey(CBitmapListCtrlV2::RowType::kKeyDown, L"R");
    keys_.AddDelay(120);
    keys_.AddKey(CBitmapListCtrlV2::RowType::kKeyUp, L"R");
    keys_.AddKey(CBitmapListCtrlV2::RowType::kKeyUp, L"Left Ctrl");
    keys_.list().Select(3);

    english_.Create(hwnd(), 40, At(24, 310, 112, 28), L"English");
    german_.Create(hwnd(), 41, At(148, 310, 112, 28), L"Deutsch");
    french_.Create(hwnd(), 42, At(272, 310, 112, 28), L"Français");
    prompt_.Create(hwnd(), 43, At(396, 310, 112, 28), L"Name…");
    close_.Create(hwnd(), IDCANCEL, At(520, 310, 96, 28), L"Close");
    SetFocus(focused_.hwnd());
  }

  void OnHoverButtonClicked(int id) override {
    status_ = L"Clicked " + std::to_wstring(id);
    if (id >= 40 && id <= 43) {
      static const wchar_t* languages[] = {L"en", L"de", L"fr", L"prompt"};
      const INT_PTR result = MessageFor(languages[id - 40], false)->Show(hwnd());
      status_ = L"Message box answered " + std::to_wstring(result);
    }
    if (id == IDCANCEL) DestroyWindow(hwnd());
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void OnListRowSelected(int id, int row) override {
    status_ = L"Profile row " + std::to_wstring(row);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void OnListCellEdited(int id, int row, int column) override {
    status_ = L"Edited row " + std::to_wstring(row) + L" column " + std::to_wstring(column);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void OnListContextMenu(int id, int row, POINT screen) override { ShowMenu(screen, {}, -1); }

  void ShowMenu(POINT screen, const std::function<void(HWND)>& on_shown, int hot) {
    const std::vector<SkinMenuItem> items = {
        {27772, L"Preview"}, {27773, L"New"},    {27774, L"Import", false}, {27775, L"Export"},
        {27776, L"Save"},    {0, L"", true, true}, {27777, L"Delete"},        {27778, L"Copy"},
        {27779, L"Assign Application"}, {0, L"", true, true}, {27780, L"Restore Default"}};
    const int chosen = CSkinMenu::Track(hwnd(), items, screen, SkinMenuColours(), on_shown, hot);
    status_ = L"Menu chose " + std::to_wstring(chosen);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void OnKeyListRowSelected(int id, int row) override {
    status_ = L"Key row " + std::to_wstring(row);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void OnKeyListDelayEdited(int id, int row, int milliseconds) override {
    status_ = L"Pause " + std::to_wstring(milliseconds) + L" ms";
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void OnKeyListContextMenu(int id, int row, POINT screen) override { ShowMenu(screen, {}, -1); }

  void OnComboChosen(int id, int entry, int child) override {
    status_ = L"Chose " + std::to_wstring(entry) + L"." + std::to_wstring(child);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void OnSliderMoved(CBitmapSliderCtrl& slider, double value) override {
    status_ = L"Sensitivity " + std::to_wstring(static_cast<int>(value) * 100) + L" DPI";
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void Label(HDC dc, int x, int y, const wchar_t* text, COLORREF colour, HFONT font) {
    RECT r = At(x, y, 600, 20);
    DrawTextIn(dc, text, -1, r, font, colour, DT_LEFT | DT_TOP | DT_SINGLELINE);
  }

  void Paint() {
    PaintBuffer paint(hwnd());
    HDC dc = paint.dc();
    Skin& skin = Skin::Get();
    PaintWindowBackground(dc, paint.client(), Scale(kTitle, dpi_), Scale(18, dpi_), L"CONTROL KIT", dpi_);
    const HFONT heading = skin.CaptionFont(dpi_, 13), text = skin.TextFont(dpi_);
    Label(dc, 24, 52, L"BUTTONS", skin::kColourAccent, heading);
    Label(dc, 24, 122, L"SLIDERS", skin::kColourAccent, heading);
    Label(dc, 24, 216, L"EDIT FIELD", skin::kColourAccent, heading);
    Label(dc, 380, 216, L"DROP-DOWN", skin::kColourAccent, heading);
    Label(dc, 640, 52, L"PROFILE LIST", skin::kColourAccent, heading);
    Label(dc, 640, 306, L"Right-click a profile for its menu", skin::kColourTextDim, text);
    Label(dc, 640, 332, L"NUMBER FIELD", skin::kColourAccent, heading);
    Label(dc, 780, 332, L"DELAY BAR", skin::kColourAccent, heading);
    Label(dc, 24, 400, L"MACRO KEY LIST", skin::kColourAccent, heading);
    Label(dc, 340, 430, L"Double-click a pause to change it.", skin::kColourTextDim, text);
    Label(dc, 24, 286, L"MESSAGE BOXES", skin::kColourAccent, heading);
    Label(dc, 24, 354, status_.c_str(), skin::kColourTextDim, text);
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
      case WM_NCHITTEST: {
        POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        ScreenToClient(hwnd(), &p);
        return p.y < Scale(kTitle, dpi_) ? HTCAPTION : HTCLIENT;
      }
      case WM_TIMER:
        if (wparam == kLifetimeTimer) {
          DestroyWindow(hwnd());
        } else if (wparam == kOpenMessageTimer) {
          KillTimer(hwnd(), kOpenMessageTimer);
          if (open_combo_) {
            // As the keyboard opens them: the list, down to "Profile", its second list.
            SetFocus(assignment_.hwnd());
            for (WPARAM key : {VK_F4, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN}) SendMessageW(assignment_.hwnd(), WM_KEYDOWN, key, 0);
            for (HWND w : {assignment_.hwnd(), assignment_.ListWindow(1), assignment_.ListWindow(2)}) UpdateWindow(w);
          }
          if (open_menu_) {
            RECT cell = profiles_.CellRect(1, 1);
            POINT at{cell.left + 40, cell.bottom};
            ClientToScreen(profiles_.hwnd(), &at);
            ShowMenu(at, [](HWND) { SayShown(); }, 3);
            return 0;
          }
          if (message_.empty()) {
            SayShown();
          } else {
            MessageFor(message_, true)->Show(hwnd());
          }
        }
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return Default(message, wparam, lparam);
    }
  }

  std::wstring message_, status_ = L"Hover, click, Tab and the arrow keys work on every control.";
  bool hover_ = false, open_combo_ = false, open_menu_ = false;
  int dpi_ = 96;
  CHoverButtonV2 apply_{this}, disabled_{this}, toggle_on_{this, true}, toggle_off_{this, true}, focused_{this};
  CHoverButtonV2 english_{this}, german_{this}, french_{this}, prompt_{this}, close_{this};
  CSliderListCtrlV2 performance_{this};
  CBitmapEditCtrl name_;
  CBitmapComboBox assignment_{this};
  CBitmapListCtrlV3 profiles_{this};
  CBitmapSpinCtrl delay_spin_;
  CBitmapDelayBarCtrl delay_bar_;
  CBitmapListCtrlV2 keys_{this};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool hover = false, combo = false, menu = false;
  std::wstring message;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--hover") {
      hover = true;
    } else if (arg == L"--combo") {
      combo = true;
    } else if (arg == L"--menu") {
      menu = true;
    } else if (arg == L"--message" && i + 1 < argc) {
      message = argv[++i];
    } else {
      std::fprintf(stderr, "usage: kit_gallery [--hover] [--combo] [--menu] [--message en|de|fr|prompt]\n");
      return 2;
    }
  }
  Gallery gallery;
  if (!gallery.Create(hover, combo, menu, message)) {
    std::fprintf(stderr, "kit_gallery: the window cannot be created\n");
    return 1;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(gallery.hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
