// FormWindow and Win32UserInterface on a real window of a small form.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "platform/form.h"
#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/win32_user_interface.h"

namespace orvane::win32 {
namespace {

LOGFONTW Shape(HGDIOBJ font) {
  LOGFONTW shape{};  // all 0 once the font is gone
  GetObjectW(font, sizeof shape, &shape);
  return shape;
}

// A navy text box, locked from the start, above a grip and a drawn label "note", where a press is
// noted as "grip x,y" within it. The window stays hidden: Wine takes two seconds to take a shown
// one down.
struct TestForm {
  TestForm() {
    ControlDesign box, grip, note;
    box.name = "box";
    box.kind = ControlKind::TextBox;
    box.rect = {10, 10, 120, 24};
    box.font = {"Arial", 9.75, false};
    box.foreColor = Color::Rgb(0, 0, 128);
    box.locked = true;
    form.Add(std::move(box));
    grip.name = "grip";
    grip.rect = {10, 50, 40, 20};
    grip.pointer = MousePointer::SizeWestEast;
    grip.events.mouseDown = [this](const MouseEvent& e) {
      pressed = "grip " + std::to_string(e.x) + "," + std::to_string(e.y);
    };
    form.Add(std::move(grip));
    note.name = "note";
    note.kind = ControlKind::Label;
    form.Add(std::move(note));
    EXPECT_TRUE(window.Create(form, 300, 200));
    ui.SetMainWindow(&window);
  }
  // As Windows moves the window onto a monitor of that scale.
  void AtScale(int dpi) {
    RECT place{100, 100, 100 + DpiScale(dpi).Pixels(300), 100 + DpiScale(dpi).Pixels(200)};
    SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
  }
  std::string Press(int x, int y) {
    pressed = "nothing";
    SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    return pressed;
  }
  HWND Handle() const { return window.Handle(); }
  HWND Box() const { return FindWindowExW(Handle(), nullptr, L"EDIT", nullptr); }
  LONG BoxFontHeight() const {
    return Shape(HGDIOBJ(SendMessageW(Box(), WM_GETFONT, 0, 0))).lfHeight;
  }

  GdiplusSession gdiplus;
  PictureLibrary pictures{GetModuleHandleW(nullptr), gdiplus};
  FormWindow window{GetModuleHandleW(nullptr), pictures};
  Form form{window};
  Win32UserInterface ui;
  std::string pressed;
};

TEST(Window, APressLandsOnTheControlUnderItAtAnotherScale) {
  TestForm host;
  host.AtScale(144);  // a form pixel is one and a half of the monitor's
  EXPECT_EQ(std::tuple(host.Press(74, 83), host.Press(75, 83)), std::tuple("grip 39,5", "nothing"));
}

TEST(Window, ThePointerAndTheMousesPlaceAreTheFormsAtAnotherScale) {
  TestForm host;
  host.AtScale(144);
  POINT mouse{45, 90};  // over the grip
  ClientToScreen(host.Handle(), &mouse);
  SetCursorPos(mouse.x, mouse.y);
  SendMessageW(host.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
  Point place;
  EXPECT_TRUE(host.ui.GetCursorPos(place));
  EXPECT_EQ(place, (Point{DpiScale(144).Design(mouse.x), DpiScale(144).Design(mouse.y)}));
}

TEST(Window, ThePlaceAndOutlineAskedForAreTheWindowsAtAnotherScale) {
  TestForm host;
  host.AtScale(144);  // 10 twips a pixel
  host.window.MoveTo({1500, 1200, 5000, 3000});
  host.window.SetRoundRegion(0, 0, 300, 200, 10, 10);
  RECT place{}, outline{};
  GetWindowRect(host.Handle(), &place);
  GetWindowRgnBox(host.Handle(), &outline);
  EXPECT_EQ(std::tuple(place.left, place.top, place.right, place.bottom, outline.right),
            std::tuple(150, 120, 650, 420, 449));
  EXPECT_EQ(host.window.Placement(), (TwipsRect{1500, 1200, 5000, 3000}));
}

TEST(Window, AHiddenBoxLetsGoOfTheKeyboard) {
  TestForm host;
  SetFocus(host.Box());
  host.form["box"].SetVisible(false);
  EXPECT_EQ(GetFocus(), host.Handle()) << "keys typed next would reach the hidden box";
}

TEST(Window, TextIsWrittenInTheFontOfTheScaleTheWindowIsShownAt) {
  TestForm host;
  host.AtScale(144);
  EXPECT_EQ(host.BoxFontHeight(), -20);
  const LOGFONTW title = Shape(FontCache().For({"Arial", 9.75, true}, DpiScale(144)));
  EXPECT_EQ(std::tuple(title.lfHeight, title.lfWeight, std::wstring(title.lfFaceName)),
            std::tuple(-20L, LONG{FW_BOLD}, std::wstring(L"Arial")));
}

TEST(Window, ADrawnLabelsWordsAreAStaticTextAsPainted) {
  TestForm host;
  ShowWindow(host.Handle(), SW_SHOWNA);
  host.form["note"].SetCaption("Dang ket noi may chu...");
  host.form["note"].SetVisible(false);
  RedrawWindow(host.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const HWND words = GetDlgItem(host.Handle(), kFirstChildId + 2);
  EXPECT_EQ(std::tuple(WindowText(words), GetWindowLongW(words, GWL_STYLE) & WS_VISIBLE),
            std::tuple(std::wstring(L"Dang ket noi may chu..."), 0));
}

TEST(UserInterface, ALockedBoxTakesNoTypingAndShowsItsTextNavyOnWhite) {
  TestForm host;
  SendMessageW(host.Box(), WM_CHAR, L'x', 0);  // as designed
  host.form["box"].SetLocked(false);
  SendMessageW(host.Box(), WM_CHAR, L'C', 0);
  host.form["box"].SetLocked(true);
  SendMessageW(host.Box(), WM_CHAR, L'x', 0);
  EXPECT_EQ(WindowText(host.Box()), L"C");
  // A read-only box asks its window for its colours as a static text does.
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  LOGBRUSH fill{};
  GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(host.Handle(), WM_CTLCOLORSTATIC,
                                                   reinterpret_cast<WPARAM>(dc.get()),
                                                   reinterpret_cast<LPARAM>(host.Box()))),
             sizeof fill, &fill);
  EXPECT_EQ(std::tuple(fill.lbColor, GetBkColor(dc.get()), GetTextColor(dc.get())),
            std::tuple(RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 128)));
}

TEST(UserInterface, AMessageBoxBelongsToTheWindowWhichTakesNoClickMeanwhile) {
  TestForm host;
  std::tuple<HWND, bool> seen;  // the box's owner, and whether the window took clicks
  std::thread reader([&] {
    HWND box = nullptr;
    for (int tries = 0; !box && tries < 400; ++tries, Sleep(25))
      box = FindWindowW(L"#32770", L"TH\u00d4NG B\u00c1O");
    seen = {GetWindow(box, GW_OWNER), IsWindowEnabled(host.Handle())};
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(host.ui.ShowMessage("Khong tai ve duoc.", "TH\xc3\x94NG B\xc3\x81O", kMsgBoxCritical),
            IDOK);
  reader.join();
  EXPECT_EQ(seen, std::tuple(host.Handle(), false));
}

}  // namespace
}  // namespace orvane::win32
