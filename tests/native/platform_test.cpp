// The host's portable logic without a window: mouse, repaints, passes, painting, system text.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "fakes.h"
#include "platform/decorators.h"
#include "platform/display_scale.h"
#include "platform/form_painter.h"
#include "platform/mouse_router.h"
#include "platform/unicode_text.h"

namespace orvane::testing {
namespace {

std::string Text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

// Windowless controls at y 20: "front" over the left half of "back", a hidden one beside them.
// Run() plays the window's reports, a word and an x each: "down"/"rdown" press the left/right
// button, "up" releases the last one held, "up+" one of two held, "dbl" is a double-click's second
// press, "lost" another window taking the mouse; it answers with the capture calls and events.
struct RouterRig : MouseCapture {
  FakeSystem window;
  Form form{window};
  std::string log;  // ", " before each entry
  MouseRouter router{form, *this};

  RouterRig() {
    Add("front", {10, 20, 20, 10});
    Add("back", {10, 20, 40, 10});
    Add("hidden", {50, 20, 20, 10}).SetVisible(false);
  }
  Control& Add(const std::string& name, Rect rect,
               std::function<void(const MouseEvent&)> press = {}) {
    ControlDesign design;
    design.name = name;
    design.rect = rect;
    design.events.click = [this, name] { Note(name + " click"); };
    design.events.dblClick = [this, name] { Note(name + " dblclick"); };
    design.events.mouseDown = press ? press : [this, name](auto& e) { Note(name + " down", e); };
    design.events.mouseUp = [this, name](const MouseEvent& e) { Note(name + " up", e); };
    return form.Add(std::move(design));
  }
  void Note(const std::string& what) { log += ", " + what; }
  void Note(const std::string& what, const MouseEvent& e) {
    Note(what + std::to_string(static_cast<int>(e.button)) + " " + std::to_string(e.x) + "," +
         std::to_string(e.y) + " " + std::to_string(e.shift));
  }
  void SetCapture() override { Note("capture"); }
  void ReleaseCapture() override { Note("release"); }
  void EndMoveLoop() override { Note("end move"); }

  std::string Run(const std::string& script) {
    const std::size_t start = log.size();
    std::istringstream steps(script);
    std::string step;
    int x = 0;
    while (steps >> step) {
      if (step == "lost") router.CaptureLost();
      if (step == "lost" || !(steps >> x)) continue;
      const auto button = step[0] == 'r' ? MouseButton::Right : MouseButton::Left;
      const MouseInput input{button, {x, 25}, 3, !step.ends_with("up")};
      if (step.ends_with("down")) router.ButtonDown(input);
      if (step.find("up") != std::string::npos) router.ButtonUp(input);
      if (step == "dbl") router.DoubleClick(input);
    }
    return log.size() > start ? log.substr(start + 2) : "";
  }
};

// The release goes to the pressed control wherever it happens; only a left release over it clicks.
// Other buttons go to the held control too, and the capture stays until the last is let go. A
// double-click's second press raises DblClick, not MouseDown, and its release clicks nothing.
TEST(MouseRouter, TheHeldControlOrCaptionMoveGetsAllAndOnlyALeftReleaseOverItClicks) {
  RouterRig rig;
  EXPECT_EQ(rig.Run("down 15 up 17"),
            "capture, front down1 5,5 3, release, front up1 7,5 3, front click");
  // Just past "front", then released over another control.
  EXPECT_EQ(rig.Run("down 30 up 15"), "capture, back down1 20,5 3, release, back up1 5,5 3");
  EXPECT_EQ(rig.Run("rdown 15 rup 15"), "capture, front down2 5,5 3, release, front up2 5,5 3");
  EXPECT_EQ(rig.Run("down 60 up 60 dbl 60 up 60"), "") << "nothing there, hidden or not";
  EXPECT_EQ(rig.Run("down 35 rdown 15 rup+ 15 up 35 up 35"),
            "capture, back down1 25,5 3, capture, back down2 5,5 3, back up2 5,5 3, release, "
            "back up1 25,5 3, back click");
  EXPECT_EQ(rig.Run("down 15 up 15 dbl 16 up 16"),
            "capture, front down1 5,5 3, release, front up1 5,5 3, front click, capture, "
            "front dblclick, release, front up1 6,5 3");

  // A press on the title, behind the rest, hands the mouse to the caption move until the buttons
  // are released; the form sees nothing of it, nor of a release after another window took it.
  rig.Add("title", {0, 20, 80, 10}, [&rig](const MouseEvent&) {
    rig.Note("drag");
    rig.router.CaptureLost();
    rig.router.SetMoveLoop(true);
    rig.Run("rdown 15 rup+ 15 up 15");  // the left button ends it
    rig.router.SetMoveLoop(false);
  });
  EXPECT_EQ(rig.Run("down 75 up 75"), "capture, drag, end move");
  EXPECT_EQ(rig.Run("down 15 lost up 15"), "capture, front down1 5,5 3");
}

// A second click within the double-click time and half its area is dropped ("-"); times wrap.
TEST(MouseRouter, AButtonsDoubleClickCountsOnce) {
  RouterRig rig;
  std::uint32_t time = 0xFFFFFF00u;
  Point at{100, 100};
  std::string clicks;
  // From the click before: within the limits, the third, too late, too far across or down, within.
  const std::tuple<std::uint32_t, int, int> steps[] = {
      {0, 0, 0}, {500, 2, 3}, {10, 0, 0}, {501, 0, 0}, {0, 3, 0}, {0, 0, 4}, {0, -2, -3}};
  for (const auto& [gap, dx, dy] : steps) {
    time += gap;
    at = {at.x + dx, at.y + dy};
    rig.router.ButtonClicked(rig.form["back"], {time, at}, {500, 4, 6});
    clicks += std::exchange(rig.log, {}).empty() ? "-" : "c";
  }
  EXPECT_EQ(clicks, "c-cccc-");
}

struct PacerRig : RepaintPort {
  std::string log;
  RepaintPacer pacer{*this};
  bool Shown() const override { return true; }
  void Repaint(const Rect& r) override { log += "paint " + Text(r) + "; "; }
  void SetFrameTimer(std::uint32_t ms) override { log += "timer " + std::to_string(ms) + "; "; }
  void KillFrameTimer() override { log += "kill; "; }
};

// One repaint a frame at most, of its changes gathered; the last is always shown. The timer stops
// once a tick finds nothing, to start again when a change comes too soon.
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

// Paced passes run at most once a minimum after the last one ended (3 ms each); plain ones always.
TEST(DecoratedPlatform, PassesArePacedAfterTheLastOneEnded) {
  Rig rig;
  double now = 100;
  rig.system.onPass = [&now] { now += 0.003; };
  DecoratedPlatform platform(
      rig.platform, {}, [&now] { return now; }, 0.008);
  std::string passes;
  for (const double at : {100.0, 100.010, 100.0115, 100.0199, 100.0230}) {
    now = at;
    platform.Services().ui.DoEventsPaced();
    passes += std::to_string(rig.system.passes);
  }
  platform.Services().ui.DoEvents();
  EXPECT_EQ(passes + std::to_string(rig.system.passes), "112234");
}

// The background, then the shown windowless controls in the area, back to front (* stretched).
TEST(PaintForm, TheAreaIsPaintedBackToFrontWithWhatReachesIntoIt) {
  struct CanvasLog : Canvas {
    std::string log;
    void Fill(const Rect& r, Color c) override {
      log += "fill " + Text(r) + (c == kFormBackColor ? "" : " colour") + "; ";
    }
    void DrawPicture(const std::string& picture, const Rect& r, bool stretch) override {
      log += (picture.empty() ? "-" : picture) + (stretch ? " * " : " ") + Text(r) + "; ";
    }
    void WriteText(const std::string& text, const Rect& r, const Font& font, Color,
                   TextAlign align) override {
      log += "'" + text + "' " + (align == TextAlign::Center ? "centred " : "") + font.face + " " +
             Text(r) + "; ";
    }
  } whole, corner;
  Rig rig;
  rig.frm.Form_Load();
  rig.frm.Layout_Setting(Panel::Installing);
  rig.frm["ProgressBar"].SetWidth(100);
  PaintForm(rig.frm, {0, 0, 528, 255}, whole);
  EXPECT_EQ(whole.log,
            "fill 0,0 528x255; window_right.bmp * 509,30 19x217; window_left.bmp * 0,30 19x195; "
            "window_bottom.bmp * 19,225 490x30; window_bottom_right.bmp 509,225 19x30; "
            "window_bottom_left.bmp 0,225 19x30; title_main.bmp * 19,0 509x30; title_right.gif "
            "509,0 19x30; title_left.gif 0,0 19x30; - 0,0 11x11; - 517,0 11x11; - 0,244 11x11; - "
            "517,244 11x11; - 19,250 489x5; - 19,0 489x5; - 523,30 5x195; - 0,30 5x195; - 112,24 "
            "13x13; bg1.jpg 8,40 511x203; fill 12,214 100x23 colour; '' centred Arial 12,218 "
            "504x20; 'Install && Upgrade Orvane 12 .0' Arial 16,7 266x16; ");
  PaintForm(rig.frm, {11, 7, 5, 2}, corner);  // between the top-left grip and the title
  EXPECT_EQ(corner.log, "fill 11,7 5x2; title_left.gif 0,0 19x30; ");
}

// A change is shown where the control was and is; a change to the same value shows nothing.
TEST(Control, AChangeIsShownWhereTheControlWasAndIs) {
  RouterRig rig;
  Control& front = rig.form["front"];
  rig.window.changes.clear();
  front.Move(30, 20);
  front.SetPicture("glyph_restore.bmp");
  front.SetPicture("glyph_restore.bmp");
  const Rect now{30, 20, 20, 10};
  EXPECT_EQ(rig.window.changes,
            (std::vector<std::pair<Rect, Rect>>{{{10, 20, 20, 10}, now}, {now, now}}));
}

// The 528 x 255 window and 9.75 pt text at each scale, to the nearest pixel with halves away from
// zero; pieces that meet in design pixels meet on screen, a device pixel goes back to the design
// pixel it lies in, and no artwork is enlarged below 200 %.
TEST(DisplayScale, LengthsEdgesTheMouseArtworkAndFonts) {
  const std::tuple<int, int, int, int, int> scales[] = {
      // dpi, width, height, art, font
      {96, 528, 255, 100, -13},  {97, 534, 258, 125, -13},  {120, 660, 319, 125, -16},
      {144, 792, 383, 150, -20}, {168, 924, 446, 200, -23}, {192, 1056, 510, 200, -26},
      {240, 1320, 638, 200, -33}};
  for (const auto& [dpi, width, height, art, font] : scales) {
    SCOPED_TRACE(dpi);
    const DisplayScale scale(dpi);
    EXPECT_EQ(std::tuple(scale.Pixels(528), scale.Pixels(255), scale.ArtPercent(),
                         scale.FontHeight(9.75)),
              std::tuple(width, height, art, font));
    EXPECT_EQ(scale.Pixels(Rect{19, 0, 490, 30}).left, scale.Pixels(Rect{0, 0, 19, 30}).right);
    EXPECT_EQ(scale.DesignCovering(scale.Pixels(Rect{8, 40, 511, 203})), (Rect{8, 40, 511, 203}));
    for (int x = -3; x < 40; ++x) EXPECT_EQ(scale.Design(scale.Pixels(x)), x) << x;
  }
}

// Text goes through unchanged; each malformed piece becomes one U+FFFD (no hex digit follows one).
TEST(UnicodeText, Utf8AndUtf16RoundTripAndMalformedPiecesAreReplaced) {
  const std::string text =
      "Ph\xE1\xBA\xA7n m\xE1\xBB\x81m \xC3\xA9\xF0\x9F\x93\x81\x7F\xEF\xBF\xBF";
  const std::u16string wide = u"Ph\u1EA7n m\u1EC1m \u00E9\U0001F4C1\u007F\uFFFF";
  EXPECT_TRUE(Utf16FromUtf8(text) == wide && Utf8FromUtf16(wide) == text);
  EXPECT_EQ(Utf16FromUtf8(
                "\xC3g\xE1\xBAh\xC0\xAFi\xE0\x80\x80j\xED\xA0\x80k\xF4\x90\x80\x80l\xF0\x9F\x93"),
            u"\xFFFDg\xFFFDh\xFFFD\xFFFDi\xFFFD\xFFFD\xFFFDj\xFFFD\xFFFD\xFFFDk\xFFFD\xFFFD\xFFFD"
            u"\xFFFDl\xFFFD");
  EXPECT_EQ(Utf8FromUtf16(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
}  // namespace orvane::testing
