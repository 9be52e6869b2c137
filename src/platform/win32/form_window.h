// The Win32 host of a form: one borderless top-level window. It paints the
// windowless controls itself in stacking order, double-buffered; keeps real
// child windows for picture buttons and text boxes; hit-tests the mouse
// against the windowless controls front to back and delivers the events to
// the form. The jobs live in form_window.cpp (creation, window procedure),
// form_paint.cpp, form_repaint.cpp, form_mouse.cpp and form_window_port.cpp.
#pragma once

#include <windows.h>

#include <map>

#include "platform/form.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/pictures.h"
#include "platform/win32/unique_handle.h"
#include "platform/window_port.h"

namespace orvane::win32 {

inline constexpr int kFirstChildId = 1000;
inline constexpr wchar_t kMainWindowClass[] = L"OrvaneSetupMainWindow";

class FormWindow : public WindowPort {
 public:
  FormWindow(HINSTANCE instance, PictureLibrary& pictures);
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
  void SetWindowPos(InsertAfter insertAfter, int x, int y, int width, int height,
                    std::uint32_t flags) override;
  void ReleaseCapture() override;
  std::intptr_t SendMessageA(std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  void Unload() override;

 protected:
  // Composes an area of the window off-screen and shows it: every paint and
  // every repaint of a change goes through here.
  virtual void PaintArea(HDC dc, const RECT& area);

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
  bool IsSecondHalfOfDoubleClick();
  const Control* ControlForChild(HWND child) const;
  HWND ChildFor(const Control& control) const;

  // form_paint.cpp
  void PaintWindowless(HDC dc, const RECT& area);
  void OnPaint();
  HDC BufferFor(HDC screen, int width, int height);
  // form_repaint.cpp
  void Invalidate(const Rect& rect);
  void OnRepaintTimer();
  // form_mouse.cpp
  bool OnSetCursor();
  void OnMouseDown(MouseButton button, WPARAM keys, LPARAM position);
  void OnMouseUp(MouseButton button, WPARAM keys, LPARAM position);
  void OnDoubleClick(LPARAM position);

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
  bool settingText_ = false;          // EN_CHANGE from our own SetWindowText
  const Control* pressed_ = nullptr;  // the windowless control that got the press
  bool releaseClicks_ = false;        // false when the press was a double-click's second
  bool inMoveLoop_ = false;           // the system's caption move is running
  RECT pendingRepaint_{};             // changes not yet handed to the window
  ULONGLONG lastRepaint_ = 0;
  bool repaintTimerSet_ = false;
  bool clickedBefore_ = false;  // the last button click, for double-clicks
  LONG lastClickTime_ = 0;
  POINT lastClickPoint_{};
  // Last, so it goes first: the children go before the fonts they use.
  WindowHandle window_;
};

}  // namespace orvane::win32
