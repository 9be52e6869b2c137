// The Win32 host of a form: one borderless top-level window. It paints the
// windowless controls itself in stacking order, double-buffered, and keeps
// real child windows for picture buttons and text boxes. It turns the
// messages of the window into calls on the portable mouse routing and repaint
// pacing, and carries out what they ask. The jobs live in form_window.cpp
// (creation, window procedure), form_paint.cpp, form_mouse.cpp and
// form_window_port.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>

#include "platform/form.h"
#include "platform/mouse_router.h"
#include "platform/repaint_pacer.h"
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
  // size, with a child window for every windowed control of the form.
  bool Create(Form& form, int width, int height);
  void Show();
  HWND Handle() const { return window_.get(); }

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

  void CreateChildren();
  void OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColor(UINT message, HDC dc, HWND child);
  const Control* ControlForChild(HWND child) const;
  HWND ChildFor(const Control& control) const;

  // form_paint.cpp
  void OnPaint();
  HDC BufferFor(HDC screen, int width, int height);
  // Composes an area of the window off-screen and shows it.
  void PaintArea(HDC dc, const RECT& area);
  // RepaintPort
  bool Shown() const override;
  void Repaint(const Rect& area) override;
  void SetFrameTimer(std::uint32_t milliseconds) override;
  void KillFrameTimer() override;

  // form_mouse.cpp
  static MouseInput MouseInputOf(UINT message, WPARAM keys, LPARAM position);
  bool OnSetCursor();
  void OnButtonClicked(const Control& button);
  // MouseCapture
  void SetCapture() override;
  void ReleaseCapture() override;
  void EndMoveLoop() override;

  HINSTANCE instance_;
  PictureLibrary& pictures_;
  Form* form_ = nullptr;
  std::map<const Control*, HWND> children_;
  FontCache fonts_;
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
