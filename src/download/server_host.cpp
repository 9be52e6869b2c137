// The product server's host, compiled into each program (see CMakeLists.txt).
#include "download/mdl_download.h"

#ifndef ORVANE_SERVER_HOST
#error "ORVANE_SERVER_HOST must name the product server's host; the build sets it"
#endif

namespace orvane {

std::string_view ProductServerHost() {
  return ORVANE_SERVER_HOST;
}

}  // namespace orvane
