// The Win32 host in-process under Wine: the embedded pictures decode at
// their sizes, the window starts as the program shows it, the child windows
// follow the panels, and the text boxes look and behave as designed.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win32/application.h"

namespace orvane::win32 {
namespace {

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Start());
    PumpMessages();
  }

  HWND Main() { return app.Window().Handle(); }

  // Child windows by the control they stand for (the host numbers them from
  // 1000 in the form's stacking order).
  std::map<std::string, HWND> Children() {
    std::map<std::string, HWND> children;
    const auto& controls = app.Form().Controls();
    for (HWND child = GetWindow(Main(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const auto index = static_cast<std::size_t>(GetDlgCtrlID(child) - 1000);
      if (index < controls.size()) children[controls[index].Name()] = child;
    }
    return children;
  }

  Application app{GetModuleHandleW(nullptr)};
};

TEST(EmbeddedPictures, EveryPictureOfTheFormDecodesAtItsDesignedSize) {
  Application app(GetModuleHandleW(nullptr));
  for (const Control& control : app.Form().Controls()) {
    if (control.Picture().empty()) continue;
    const Picture* picture = app.Pictures().Get(control.Picture());
    ASSERT_NE(picture, nullptr) << control.Picture() << " is not embedded or does not decode";
    int width = control.Width();
    int height = control.Height();
    if (control.Kind() == ControlKind::PictureButton) {  // a frame around the picture
      const int frame = control.Name() == "cmdBr" ? 2 : 4;
      width -= frame;
      height -= frame;
    }
    if (control.Name() == "imgTitleMain") width = 3;  // stretched across the title
    EXPECT_EQ(picture->Width(), width) << control.Picture();
    EXPECT_EQ(picture->Height(), height) << control.Picture();
  }
}

TEST(EmbeddedPictures, TitleEndsKeepTheirTransparentCorners) {
  Application app(GetModuleHandleW(nullptr));
  const Picture* left = app.Pictures().Get("title_left.gif");
  ASSERT_NE(left, nullptr);
  // Draw over white: the transparent top-left corner must leave white.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 19, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  RECT all{0, 0, 19, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  left->Draw(dc, 0, 0, 19, 30);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu) << "corner pixel is not transparent";
  EXPECT_NE(pixels[15 * 19 + 10] & 0xFFFFFF, 0xFFFFFFu) << "the bar itself is missing";
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
}

TEST(EmbeddedPictures, HandPointerAndIconsLoadAtTheirSizes) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  HCURSOR hand = static_cast<HCURSOR>(LoadImageW(self, L"HAND", IMAGE_CURSOR, 32, 32, 0));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageW(self, L"ORVANE", IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
}

TEST_F(HostWindow, StartsCentredBorderlessAndRoundedWithTheDesignCaption) {
  wchar_t caption[64] = {};
  GetWindowTextW(Main(), caption, 64);
  EXPECT_STREQ(caption, L"Orvane Tools");

  RECT outer;
  GetWindowRect(Main(), &outer);
  EXPECT_EQ(outer.right - outer.left, 528);
  EXPECT_EQ(outer.bottom - outer.top, 255);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 528) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 255) / 2);
  EXPECT_EQ(GetWindowLongW(Main(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_EQ(GetWindowLongW(Main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Main(), region), ERROR);
  RECT box;
  GetRgnBox(region, &box);
  // CreateRoundRectRgn(0, 0, 528, 255, 24, 24) leaves out the last column and row.
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 527);
  EXPECT_EQ(box.bottom, 254);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 526, 253));
  EXPECT_TRUE(PtInRegion(region, 12, 12));
  EXPECT_TRUE(PtInRegion(region, 264, 0));
  DeleteObject(region);
}

TEST_F(HostWindow, ChildWindowsStandAtTheirPlacesInStackingOrder) {
  auto children = Children();
  ASSERT_EQ(children.size(), 11u);
  for (const Control& control : app.Form().Controls()) {
    if (!control.Windowed()) continue;
    HWND child = children.at(control.Name());
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, control.Left()) << control.Name();
    EXPECT_EQ(r.top, control.Top()) << control.Name();
    EXPECT_EQ(r.right - r.left, control.Width()) << control.Name();
    EXPECT_EQ(r.bottom - r.top, control.Height()) << control.Name();
  }
  // Stop covers Install, and OK lies in front of Upgrade.
  auto inFront = [](HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w == lower) return true;
    return false;
  };
  EXPECT_TRUE(inFront(children["cmdStop"], children["cmdOrvane"]));
  EXPECT_TRUE(inFront(children["cmdOK"], children["cmdUpd"]));
}

TEST_F(HostWindow, ChildWindowsFollowEveryPanel) {
  auto children = Children();
  for (const char* panel : {"", "InsTrue", "Upgrade", "Proxy", "Help", "help"}) {
    app.Form().Layout_Setting(panel);
    PumpMessages();
    for (const auto& [name, child] : children) {
      EXPECT_EQ(IsWindowVisible(child) != FALSE, app.Form()[name].Visible())
          << name << " in panel \"" << panel << "\"";
    }
  }
  app.Form().Layout_Setting("Proxy");
  EXPECT_EQ(GetFocus(), children["txtIP"]);
}

TEST_F(HostWindow, TextBoxesUseArialInNavyAndCarryTextBothWays) {
  auto children = Children();
  HWND folder = children["txtFolder"];
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(folder, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfHeight, -13);  // 9.75 pt at 96 dpi
  EXPECT_EQ(font.lfWeight, FW_NORMAL);

  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(Main(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(folder));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 128));
  DeleteDC(dc);

  // Typed text (with Vietnamese letters) reaches the model as UTF-8 ...
  SetWindowTextW(children["txtIP"], L"m\u00E1y ch\u1EE7 proxy");
  EXPECT_EQ(app.Form()["txtIP"].Caption(), "m\xC3\xA1y ch\xE1\xBB\xA7 proxy");
  // ... and text the program sets shows in the box.
  app.Form()["txtPort"].SetCaption("10.0.0.1");
  wchar_t shown[32] = {};
  GetWindowTextW(children["txtPort"], shown, 32);
  EXPECT_STREQ(shown, L"10.0.0.1");
}

}  // namespace
}  // namespace orvane::win32
