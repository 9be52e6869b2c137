// The host's portable logic without a window: which control gets the mouse,
// when changes are repainted, and how often the message loop runs.
#include <gtest/gtest.h>

#include <sstream>

#include "fakes.h"
#include "platform/form_painter.h"
#include "platform/mouse_router.h"
#include "platform/paced_user_interface.h"
#include "platform/pixel_rows.h"
#include "platform/repaint_pacer.h"
#include "platform/unicode_text.h"

namespace orvane::testing {
namespace {

// Windowless controls: "front" over the left half of "back", and a hidden
// one beside them. Run() plays what the window reports, each step a word and
// the x it happens at: "down" presses the left button, "rdown" the right one,
// "up" lets go of the last button held, "up+" of one while another still
// holds, "dbl" is a double-click's second press; "lost" is another window
// taking the mouse. It answers with the capture calls and the events, each
// with its button, its place in the control and the shift keys.
struct RouterRig : MouseCapture {
  FakeSystem window;
  Form form{window};
  std::vector<std::string> log;
  MouseRouter router{form, *this};

  RouterRig() {
    for (const auto& [name, rect] :
         {std::pair{"front", Rect{0, 0, 20, 10}}, std::pair{"back", Rect{0, 0, 40, 10}},
          std::pair{"hidden", Rect{40, 0, 20, 10}}}) {
      ControlDesign design;
      design.name = name;
      design.rect = rect;
      design.visible = name[0] != 'h';
      const std::string who = name;
      auto note = [this, who](std::string what, const MouseEvent& e) {
        Note(who + " " + what + std::to_string(static_cast<int>(e.button)) + " " +
             std::to_string(e.x) + "," + std::to_string(e.y) + " " + std::to_string(e.shift));
      };
      design.events.click = [this, who] { Note(who + " click"); };
      design.events.dblClick = [this, who] { Note(who + " dblclick"); };
      design.events.mouseDown = [note](const MouseEvent& e) { note("down", e); };
      design.events.mouseUp = [note](const MouseEvent& e) { note("up", e); };
      form.Add(std::move(design));
    }
  }
  void Note(const std::string& what) { log.push_back(what); }
  void SetCapture() override { Note("capture"); }
  void ReleaseCapture() override { Note("release"); }
  void EndMoveLoop() override { Note("end move"); }

  std::string Run(const std::string& script) {
    const std::size_t start = log.size();
    std::istringstream steps(script);
    std::string step;
    int x = 0;
    while (steps >> step) {
      if (step == "lost") {
        router.CaptureLost();
        continue;
      }
      steps >> x;
      const MouseInput input{step[0] == 'r' ? MouseButton::Right : MouseButton::Left,
                             {x, 5},
                             3,
                             !step.ends_with("up")};
      if (step.ends_with("down")) router.ButtonDown(input);
      if (step.starts_with("up") || step.starts_with("rup")) router.ButtonUp(input);
      if (step == "dbl") router.DoubleClick(input);
    }
    std::string played;
    for (std::size_t i = start; i < log.size(); ++i) played += (i > start ? ", " : "") + log[i];
    return played;
  }
};

TEST(MouseRouter, TheReleaseGoesToThePressedControlAndClicksOnlyOverIt) {
  RouterRig rig;
  EXPECT_EQ(rig.Run("down 5 up 7"),
            "capture, front down1 5,5 3, release, front up1 7,5 3, front click");
  // Behind "front", then released over another control, and outside every one.
  EXPECT_EQ(rig.Run("down 25 up 5"), "capture, back down1 25,5 3, release, back up1 5,5 3");
  EXPECT_EQ(rig.Run("down 5 up 50"), "capture, front down1 5,5 3, release, front up1 50,5 3");
  EXPECT_EQ(rig.Run("rdown 5 rup 5"), "capture, front down2 5,5 3, release, front up2 5,5 3");
  EXPECT_EQ(rig.Run("down 50 up 50 dbl 50 up 50"), "") << "nothing there, hidden or not";
}

// While one button holds a control, the others' presses and releases go to
// it too, and the capture stays until the last button is let go.
TEST(MouseRouter, EverythingGoesToTheHeldControlUntilTheLastRelease) {
  RouterRig rig;
  EXPECT_EQ(rig.Run("down 25 rdown 5 rup+ 5 up 25 up 25"),
            "capture, back down1 25,5 3, capture, back down2 5,5 3, back up2 5,5 3, release, "
            "back up1 25,5 3, back click");
}

// The second press of a double-click raises DblClick, not MouseDown, and its
// release clicks nothing; the next press clicks again.
TEST(MouseRouter, ADoubleClickIsOneClickAndOneDblClick) {
  RouterRig rig;
  EXPECT_EQ(rig.Run("down 5 up 5 dbl 6 up 6 down 5 up 5"),
            "capture, front down1 5,5 3, release, front up1 5,5 3, front click, capture, "
            "front dblclick, release, front up1 6,5 3, capture, front down1 5,5 3, release, "
            "front up1 5,5 3, front click");
}

// A press on the title hands the mouse to the system's caption move, which
// ends at the release of the buttons; meanwhile the form sees nothing, and
// the release that ends it reaches no control. So does another window that
// takes the mouse.
TEST(MouseRouter, TheCaptionMoveOwnsTheMouseUntilItEnds) {
  RouterRig rig;
  ControlDesign title;
  title.name = "title";
  title.rect = {0, 0, 60, 10};
  title.events.mouseDown = [&rig](const MouseEvent&) {
    rig.Note("drag");
    rig.router.CaptureLost();
    rig.router.SetMoveLoop(true);
    rig.Run("rdown 5 rup+ 5 up 5");  // the left button ends it
    rig.router.SetMoveLoop(false);
  };
  rig.form.Add(std::move(title));
  EXPECT_EQ(rig.Run("down 50 up 50"), "capture, drag, end move");
  EXPECT_EQ(rig.Run("down 5 lost up 5"), "capture, front down1 5,5 3");
}

// A picture button's second click within the double-click time and area is
// dropped; a third starts afresh. Times wrap round.
TEST(MouseRouter, AButtonsDoubleClickCountsOnce) {
  struct Case {
    std::uint32_t gap;
    int dx, dy;
    bool dropped;
  };
  for (const Case& c : {Case{500, 2, 3, true}, Case{501, 0, 0, false}, Case{0, 3, 0, false},
                        Case{0, -2, -3, true}, Case{0, 0, 4, false}, Case{0, 0, -4, false}}) {
    RouterRig rig;
    const std::uint32_t start = 0xFFFFFF00u;  // the second click comes after the wrap
    std::string clicks;
    for (const std::uint32_t after : {0u, c.gap, c.gap + 10}) {
      const Point at = clicks.empty() ? Point{100, 100} : Point{100 + c.dx, 100 + c.dy};
      rig.router.ButtonClicked(rig.form["back"], {start + after, at}, {500, 4, 6});
      clicks += rig.log.empty() ? "-" : "c";
      rig.log.clear();
    }
    EXPECT_EQ(clicks, c.dropped ? "c-c" : "cc-") << c.gap << " ms, " << c.dx << "," << c.dy;
  }
}

struct PacerRig : RepaintPort {
  bool shown = true;
  std::string log;
  RepaintPacer pacer{*this};
  bool Shown() const override { return shown; }
  void Repaint(const Rect& r) override {
    log += "paint " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.width) + "x" + std::to_string(r.height) + "; ";
  }
  void SetFrameTimer(std::uint32_t ms) override { log += "timer " + std::to_string(ms) + "; "; }
  void KillFrameTimer() override { log += "kill; "; }
};

// One repaint a frame at most, the changes of the frame gathered into one
// area; the last change is always shown, and the timer stops once a tick
// finds nothing, to start again when a change comes too soon.
TEST(RepaintPacer, OneRepaintAFrameAndAlwaysTheLastChange) {
  PacerRig rig;
  rig.pacer.Invalidate({10, 10, 5, 5}, 100);
  rig.pacer.Invalidate({0, 20, 3, 3}, 110);
  rig.pacer.Invalidate({30, 0, 0, 9}, 111);  // empty: nothing to show
  rig.pacer.Invalidate({12, 0, 1, 1}, 120);
  rig.pacer.Flush(132);
  rig.pacer.TimerTick(133);
  rig.pacer.TimerTick(166);
  rig.pacer.Invalidate({1, 1, 1, 1}, 180);  // a frame since the last: at once
  rig.pacer.Invalidate({2, 2, 1, 1}, 190);
  rig.pacer.Flush(223);
  EXPECT_EQ(rig.log,
            "paint 10,10 5x5; timer 33; paint 0,0 13x23; kill; paint 1,1 1x1; timer 33; "
            "paint 2,2 1x1; ");
}

// A system paint starts a frame too; a hidden window's changes are dropped.
TEST(RepaintPacer, SystemPaintsStartAFrameAndHiddenChangesAreDropped) {
  PacerRig rig;
  rig.pacer.Painted(1000);
  rig.pacer.Invalidate({1, 1, 1, 1}, 1032);
  rig.shown = false;
  rig.pacer.Flush(1033);
  rig.shown = true;
  rig.pacer.Flush(2000);
  EXPECT_EQ(rig.log, "timer 33; ");
}

// Each pass takes 3 ms here; the next comes 8 ms after the last one ended.
TEST(PacedUserInterface, PassesComeAtMostOnceAMinimumAfterTheLastEnded) {
  FakeSystem inner;
  double now = 100;
  inner.onPass = [&now] { now += 0.003; };
  PacedUserInterface paced(
      inner, [&now] { return now; }, 0.008);
  std::vector<int> passes;
  for (const double at : {100.0, 100.010, 100.0115, 100.0199, 100.0230}) {
    now = at;
    paced.DoEvents();
    passes.push_back(inner.passes);
  }
  EXPECT_EQ(passes, (std::vector<int>{1, 1, 2, 2, 3}));
  PacedUserInterface unpaced(
      inner, [&now] { return now; }, 0);
  unpaced.DoEvents();
  unpaced.DoEvents();
  EXPECT_EQ(inner.passes, 5);
  inner.cursor = {7, 8};
  Point point;
  EXPECT_TRUE(paced.GetCursorPos(point) && point == (Point{7, 8}));
  paced.ShowMessage("text", "title", kMsgBoxInformation);
  EXPECT_EQ(inner.messages, std::vector<std::string>{"text"});
}

std::string Text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

struct CanvasLog : Canvas {
  std::string log;
  void Fill(const Rect& r, Color c) override {
    log += "fill " + Text(r) + (c == kFormBackColor ? "" : " colour") + "; ";
  }
  void DrawPicture(const std::string& picture, const Rect& r, bool stretch) override {
    log +=
        (picture.empty() ? "-" : picture) + (stretch ? " stretched to " : " at ") + Text(r) + "; ";
  }
  void WriteText(const std::string& text, const Rect& r, const Font& font, Color,
                 TextAlign align) override {
    log += "'" + text + "' " + (align == TextAlign::Center ? "centred " : "") + font.face + " " +
           Text(r) + "; ";
  }
};

// The form's background, then its shown windowless controls that reach into
// the area, back to front: the frame, the grips, the panel, the progress and
// the title over them.
TEST(PaintForm, TheAreaIsPaintedBackToFrontWithWhatReachesIntoIt) {
  Rig rig;
  rig.frm.Form_Load();
  rig.frm.Layout_Setting("InsTrue");
  rig.frm["ProgressBar"].SetWidth(100);
  CanvasLog whole, corner;
  PaintForm(rig.frm, {0, 0, 528, 255}, whole);
  EXPECT_EQ(whole.log,
            "fill 0,0 528x255; window_right.bmp stretched to 509,30 19x217; window_left.bmp "
            "stretched to 0,30 19x195; window_bottom.bmp stretched to 19,225 490x30; "
            "window_bottom_right.bmp at 509,225 19x30; window_bottom_left.bmp at 0,225 19x30; "
            "title_main.bmp stretched to 19,0 509x30; title_right.gif at 509,0 19x30; "
            "title_left.gif at 0,0 19x30; - at 0,0 11x11; - at 517,0 11x11; - at 0,244 11x11; - at "
            "517,244 11x11; - at 19,250 489x5; - at 19,0 489x5; - at 523,30 5x195; - at 0,30 "
            "5x195; - at 112,24 13x13; bg1.jpg at 8,40 511x203; fill 12,214 100x23 colour; '' "
            "centred Arial 12,218 504x20; 'Install && Upgrade Orvane 12 .0' Arial 16,7 266x16; ");
  PaintForm(rig.frm, {5, 5, 11, 2}, corner);  // the title label starts just beyond it
  EXPECT_EQ(corner.log, "fill 5,5 11x2; title_left.gif at 0,0 19x30; - at 0,0 11x11; ");
}

// Rows come packed whatever the source's stride, bottom-up ones too; a
// picture is opaque only while every alpha is 255.
TEST(PixelRows, RowsArePackedAndOpaqueMeansEveryAlphaIsFull) {
  const std::uint8_t source[] = {1, 2, 3, 255, 4, 5, 6, 255, 0, 0, 7, 8, 9, 255, 1, 1, 1, 254};
  std::uint8_t packed[16] = {};
  EXPECT_TRUE(CopyPixelRows(source, 10, packed, 2, 1));
  EXPECT_FALSE(CopyPixelRows(source + 10, -10, packed, 2, 2));
  EXPECT_EQ(std::vector<std::uint8_t>(packed, packed + 16),
            (std::vector<std::uint8_t>{7, 8, 9, 255, 1, 1, 1, 254, 1, 2, 3, 255, 4, 5, 6, 255}));
}

// Vietnamese folder names and everything else the system may hand over go
// through unchanged; each malformed piece becomes one U+FFFD.
TEST(UnicodeText, Utf8AndUtf16RoundTripAndMalformedPiecesAreReplaced) {
  const std::string text =
      "D:\\Ph\xE1\xBA\xA7n m\xE1\xBB\x81m \xC3\xA9\xF0\x9F\x93\x81\x7F\xEF\xBF\xBF";
  const std::u16string wide = u"D:\\Ph\u1EA7n m\u1EC1m \u00E9\U0001F4C1\u007F\uFFFF";
  EXPECT_EQ(Utf16FromUtf8(text), wide);
  EXPECT_EQ(Utf8FromUtf16(wide), text);
  // Each piece ends before the next letter (none of them a hex digit).
  EXPECT_EQ(Utf16FromUtf8("\xC3g\xE1\xBAh\xC0\xAFi\xE0\x80\x80j\xED\xA0\x80k\xF4\x90\x80\x80l\xFF"
                          "\x80m\xF0\x9F\x93"),
            u"\xFFFDg\xFFFDh\xFFFD\xFFFDi\xFFFD\xFFFD\xFFFDj\xFFFD\xFFFD\xFFFDk\xFFFD\xFFFD\xFFFD"
            u"\xFFFDl\xFFFD\xFFFDm\xFFFD");
  EXPECT_EQ(Utf8FromUtf16(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
}  // namespace orvane::testing
