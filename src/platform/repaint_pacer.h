// How often the window repaints: changed areas are gathered and handed over
// at most once a frame, and always after the last change. The host passes in
// its millisecond clock and carries out the paints and the frame timer.
#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace orvane {

// What the pacing asks of the window. Every paint goes through Repaint, the
// ones the system asks for as well.
class RepaintPort {
 public:
  virtual ~RepaintPort() = default;
  virtual bool Shown() const = 0;
  // Draws the area now.
  virtual void Repaint(const Rect& area) = 0;
  // A timer that ticks every interval until it is killed.
  virtual void SetFrameTimer(std::uint32_t milliseconds) = 0;
  virtual void KillFrameTimer() = 0;
};

// About 30 repaints a second at most. Under Wine a frame (timer, invalidation,
// paint and hand-over to X) costs 1 to 2 ms, so at 60 a second repainting
// alone took a 256 MiB download 6 to 11 % longer; at 30 it takes half that,
// and a progress caption and bar look no less smooth.
inline constexpr std::uint64_t kFrameMilliseconds = 33;

class RepaintPacer {
 public:
  explicit RepaintPacer(RepaintPort& port) : port_(port) {}

  // An area changed: it is repainted now if the last repaint is a frame old.
  void Invalidate(const Rect& area, std::uint64_t now);
  // Repaints what changed since the last repaint, if that is a frame old;
  // otherwise the frame timer does it when the frame is up.
  void Flush(std::uint64_t now);
  void TimerTick(std::uint64_t now);
  // The system had the window painted: a frame starts.
  void Painted(std::uint64_t now) { lastRepaint_ = now; }

 private:
  RepaintPort& port_;
  Rect pending_;  // empty when nothing waits
  std::uint64_t lastRepaint_ = 0;
  bool timerSet_ = false;
};

}  // namespace orvane
