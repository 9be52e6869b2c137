#include "platform/form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace orvane {

Control& Form::Add(ControlDesign design) {
  ControlObserver& observer = *this;
  return controls_.emplace_back(std::move(design), observer);
}

// Handlers run inside the window procedure, where an exception must not
// cross into the system: a missing control ends the program here instead.
Control& Form::Find(std::string_view name, int index) {
  for (Control& control : controls_) {
    if (control.Name() == name && control.Index() == index) return control;
  }
  std::fprintf(stderr, "no control named %.*s(%d) on the form; add it to the form's design\n",
               static_cast<int>(name.size()), name.data(), index);
  std::abort();
}

const Control& Form::operator[](std::string_view name) const {
  return const_cast<Form&>(*this).Find(name, -1);
}

const Control* Form::HitTest(int x, int y) const {
  for (const Control& control : controls_) {
    if (!control.Windowed() && control.Visible() && control.Bounds().Contains(x, y))
      return &control;
  }
  return nullptr;
}

namespace {

bool Covers(const Rect& front, const Rect& back) {
  return front.left <= back.left && front.top <= back.top &&
         front.left + front.width >= back.left + back.width &&
         front.top + front.height >= back.top + back.height;
}

}  // namespace

const Control* Form::NextFocus(const Control* from, bool backward) const {
  std::vector<const Control*> order;
  for (const Control& control : controls_) {
    if (!control.Windowed() || !control.Visible()) continue;
    // Those added before it lie in front of it.
    const bool covered = std::any_of(order.begin(), order.end(), [&](const Control* front) {
      return Covers(front->Bounds(), control.Bounds());
    });
    if (!covered) order.push_back(&control);
  }
  if (order.empty()) return nullptr;
  const auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return backward ? order.back() : order.front();
  const std::size_t index = static_cast<std::size_t>(at - order.begin());
  const std::size_t count = order.size();
  return order[backward ? (index + count - 1) % count : (index + 1) % count];
}

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  window_.SetCaption(caption_);
}

void Form::SetBackColor(Color color) {
  backColor_ = color;
  window_.SetBackColor(color);
}

void Form::Click(const Control& control) {
  if (const auto& handler = control.Events().click) handler();
}

void Form::DblClick(const Control& control) {
  if (const auto& handler = control.Events().dblClick) handler();
}

void Form::MouseDown(const Control& control, const MouseEvent& event) {
  if (const auto& handler = control.Events().mouseDown) handler(event);
}

void Form::MouseUp(const Control& control, const MouseEvent& event) {
  if (const auto& handler = control.Events().mouseUp) handler(event);
}

void Form::TextTyped(Control& control, std::string text) {
  control.TakeTypedText(std::move(text));
}

void Form::Change(const Control& control) {
  if (const auto& handler = control.Events().change) handler();
}

}  // namespace orvane
