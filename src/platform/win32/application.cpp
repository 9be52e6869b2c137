#include "platform/win32/application.h"

#include "main_window/frm_main_design.h"

namespace orvane::win32 {

Application::Application(HINSTANCE instance)
    : pictures_(instance),
      platform_{ui_, internet_, files_, processes_, system_, shell_, xml_},
      download_(platform_),
      window_(instance, pictures_),
      form_(window_, platform_, skin_, download_) {}

bool Application::Start() {
  if (!window_.Create(form_, kFormWidth, kFormHeight)) return false;
  ui_.SetMainWindow(&window_);
  form_.Form_Load();
  window_.Show();
  return true;
}

}  // namespace orvane::win32
