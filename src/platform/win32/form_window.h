// The Win32 host of a form: one borderless top-level window. It paints the
// windowless controls itself in stacking order, double-buffered, and keeps
// real child windows for picture buttons and text boxes. It turns the
// messages of the window into calls on the portable mouse routing and repaint
// pacing, and carries out what they ask. The form is laid out in 100 %
// pixels; the window shows it at its monitor's scale. The jobs live in
// form_window.cpp (creation, window procedure), form_paint.cpp,
// form_mouse.cpp, form_keyboard.cpp, form_scale.cpp and form_window_port.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>

#include "platform/form.h"
#include "platform/mouse_router.h"
#include "platform/repaint_pacer.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/pictures.h"
#include "platform/win32/unique_handle.h"
#include "platform/window_port.h"

namespace orvane::win32 {

inline constexpr int kFirstChildId = 1000;
inline constexpr wchar_t kMainWindowClass[] = L"OrvaneSetupMainWindow";

class FormWindow : public WindowPort, private RepaintPort, private MouseCapture {
 public:
  // decorateRepaints, when set, puts a watcher between the pacing and the paints.
  FormWindow(HINSTANCE instance, PictureLibrary& pictures,
             const std::function<RepaintPort&(RepaintPort&)>& decorateRepaints = {});
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Creates the hidden window, centred on the screen at the given outer
  // size in 100 % pixels, with a child window for every windowed control of
  // the form.
  bool Create(Form& form, int width, int height);
  void Show();
  HWND Handle() const { return window_.get(); }

  // form_keyboard.cpp
  // Takes the keys that move the keyboard between the controls and press
  // buttons, before they are dispatched; true when the message was used.
  bool TranslateKey(const MSG& message);

  // A screen position in the 100 % pixels the form works in.
  Point DesignPoint(POINT screen) const {
    return {scale_.Design(screen.x), scale_.Design(screen.y)};
  }

  // Repaints what changed since the last repaint, if the last one is at
  // least a frame old; otherwise a timer does it when the frame is up.
  void FlushRepaint();

  // WindowPort
  void ControlChanged(const Control& control, const Rect& previousRect) override;
  void SetCaption(const std::string& caption) override;
  void SetBackColor(Color color) override;
  void SetFocus(const Control& control) override;
  double TwipsPerPixelX() const override;
  double TwipsPerPixelY() const override;
  TwipsRect Placement() const override;
  void MoveTo(const TwipsRect& placement) override;
  WindowState State() const override;
  void SetState(WindowState state) override;
  void SetRoundRegion(int left, int top, int right, int bottom, int ellipseWidth,
                      int ellipseHeight) override;
  void SetTopMost(bool topMost) override;
  void BeginCaptionDrag() override;
  void Unload() override;

 private:
  // No exception may unwind across the system's call: noexcept ends the
  // program where one would leave a handler.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  static LRESULT CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // A text box with the caption that names it, or a picture button.
  struct Child {
    HWND window = nullptr;
    HWND label = nullptr;  // a text box's name: a static just before it, of no size
  };

  void CreateChildren();
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  LRESULT OnControlColor(UINT message, HDC dc, HWND child);
  const Control* ControlForChild(HWND child) const;
  HWND ChildFor(const Control& control) const;
  // The drawn labels' words and visibility, as painted, for screen readers.
  void ShowLabelTexts() const;

  // form_paint.cpp
  void OnPaint();
  HDC BufferFor(HDC screen, int width, int height);
  // Composes an area of the window (in the form's pixels) off-screen and shows it.
  void PaintArea(HDC dc, const Rect& designArea);
  // RepaintPort
  bool Shown() const override;
  void Repaint(const Rect& area) override;
  void SetFrameTimer(std::uint32_t milliseconds) override;
  void KillFrameTimer() override;

  // form_keyboard.cpp
  bool MoveFocus(bool backward);
  void ShowKeyboardCues();
  // After the panel changed: the keyboard leaves a control hidden or covered.
  void KeepFocusReachable();
  bool Reachable(const Control& control) const;
  void FocusControl(const Control& control);
  // Keeps the control that had the keyboard while another window was active;
  // true when it has it back.
  bool OnActivate(WPARAM state);

  // form_scale.cpp
  // Lays the window and its children out at a scale, in the given outer rect.
  void ApplyScale(const DpiScale& scale, const RECT& place);
  void PlaceChild(const Control& control, const Child& child, UINT flags) const;
  void ApplyRegion();

  // form_mouse.cpp
  MouseInput MouseInputOf(UINT message, WPARAM keys, LPARAM position) const;
  bool OnSetCursor();
  void OnButtonClicked(const Control& button);
  // MouseCapture
  void SetCapture() override;
  void ReleaseCapture() override;
  void EndMoveLoop() override;

  HINSTANCE instance_;
  PictureLibrary& pictures_;
  Form* form_ = nullptr;
  std::map<const Control*, Child> children_;
  std::map<const Control*, HWND> labelTexts_;  // the drawn labels' words, as screen readers read
  DpiScale scale_;
  FontCache fonts_;
  Cursor hand_;
  // The round outline the form asked for, in its pixels, kept for a new scale.
  struct RoundRegion {
    int left, top, right, bottom, ellipseWidth, ellipseHeight;
  };
  std::optional<RoundRegion> region_;
  // Focus cues show once the keyboard moves the focus, as on Windows itself.
  bool keyboardCues_ = false;
  bool focusCheckPosted_ = false;
  bool focusLostToHiding_ = false;  // a control hidden while it had the keyboard
  const Control* focusBeforeDeactivation_ = nullptr;
  // The off-screen buffer paints are composed in, kept between paints and
  // grown to the largest area painted; the DC goes before its bitmap.
  Bitmap bufferSurface_;
  SIZE bufferSize_{};
  MemoryDc buffer_;
  Brush editBackground_;
  Color backColor_ = kFormBackColor;
  bool settingText_ = false;  // EN_CHANGE from our own SetWindowText
  HDC paintDc_ = nullptr;     // the system's paint in progress draws here
  RepaintPort& repaints_;
  RepaintPacer pacer_;
  std::optional<MouseRouter> mouse_;  // from Create on
  // Last, so it goes first: the children go before the fonts they use.
  WindowHandle window_;
};

}  // namespace orvane::win32
