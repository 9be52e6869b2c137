// A UserInterface decorator for the download probe: at every paced pass (the
// download's, after each block) it notes what the progress caption and bar
// show, then hands the pass on to the real message loop unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "platform/user_interface.h"

namespace orvane::probe {

class RecordingUserInterface : public UserInterface {
 public:
  // keepHistory: keep every distinct caption and width, not only counts (a
  // 256 MiB transfer shows some 65,000 captions, which would cost memory).
  RecordingUserInterface(UserInterface& inner, bool keepHistory)
      : inner_(inner), keepHistory_(keepHistory) {}

  void Watch(const Control& caption, const Control& bar) {
    caption_ = &caption;
    bar_ = &bar;
  }
  // For profiling: false keeps the passes from reaching the message loop,
  // so what remains is the cost of the progress updates themselves.
  void SetForwarding(bool forward) { forward_ = forward; }
  // Called once, at the first pass of the download: it is under way.
  void OnFirstPass(std::function<void()> callback) { onFirstPass_ = std::move(callback); }

  void DoEvents() override {
    Started();
    inner_.DoEvents();
  }
  void DoEventsPaced() override {
    Started();
    ++calls_;
    if (caption_ && caption_->Caption() != lastCaption_) {
      lastCaption_ = caption_->Caption();
      ++distinctCaptions_;
      if (keepHistory_) captions_.push_back(lastCaption_);
    }
    if (bar_ && bar_->Width() != lastWidth_) {
      lastWidth_ = bar_->Width();
      ++distinctWidths_;
      if (keepHistory_) widths_.push_back(lastWidth_);
    }
    if (forward_) inner_.DoEventsPaced();
  }
  void Pause(double seconds) override { inner_.Pause(seconds); }
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    return inner_.ShowMessage(text, title, style);
  }
  bool GetCursorPos(Point& point) override { return inner_.GetCursorPos(point); }

  std::uint64_t Calls() const { return calls_; }
  std::uint64_t DistinctCaptions() const { return distinctCaptions_; }
  std::uint64_t DistinctWidths() const { return distinctWidths_; }
  const std::vector<std::string>& Captions() const { return captions_; }
  const std::vector<int>& Widths() const { return widths_; }

 private:
  void Started() {
    if (onFirstPass_) std::exchange(onFirstPass_, nullptr)();
  }

  UserInterface& inner_;
  const bool keepHistory_;
  const Control* caption_ = nullptr;
  const Control* bar_ = nullptr;
  std::function<void()> onFirstPass_;
  bool forward_ = true;
  std::uint64_t calls_ = 0;
  std::string lastCaption_;
  int lastWidth_ = -1;
  std::uint64_t distinctCaptions_ = 0;
  std::uint64_t distinctWidths_ = 0;
  std::vector<std::string> captions_;
  std::vector<int> widths_;
};

}  // namespace orvane::probe
