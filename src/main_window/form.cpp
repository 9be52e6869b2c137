#include "main_window/form.h"

#include <stdexcept>
#include <utility>

namespace orvane {

Control& Form::Add(ControlDesign design) {
  ControlObserver& observer = *this;
  return controls_.emplace_back(std::move(design), observer);
}

Control& Form::Find(std::string_view name, int index) {
  for (Control& control : controls_) {
    if (control.Name() == name && control.Index() == index) return control;
  }
  throw std::out_of_range("no control named " + std::string(name) +
                          (index >= 0 ? "(" + std::to_string(index) + ")" : std::string()) +
                          " on the form; add it to the form's design table");
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

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  window_.SetCaption(caption_);
}

void Form::SetBackColor(Color color) {
  backColor_ = color;
  window_.SetBackColor(color);
}

}  // namespace orvane
