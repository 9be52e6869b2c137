// Owns one internet handle for the length of a call and closes it exactly
// once, whichever way the call ends. Move-only, so no copy closes it twice.
#pragma once

#include <utility>

#include "platform/internet.h"

namespace orvane {

class UniqueInternetHandle {
 public:
  UniqueInternetHandle(Internet& internet, InternetHandle handle) noexcept
      : internet_(&internet), handle_(handle) {}
  UniqueInternetHandle(UniqueInternetHandle&& other) noexcept
      : internet_(other.internet_), handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueInternetHandle& operator=(UniqueInternetHandle&& other) noexcept {
    if (this != &other) {
      Close();
      internet_ = other.internet_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueInternetHandle(const UniqueInternetHandle&) = delete;
  UniqueInternetHandle& operator=(const UniqueInternetHandle&) = delete;
  ~UniqueInternetHandle() { Close(); }

  InternetHandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // The result is ignored: a handle that fails to close leaves nothing to undo.
  void Close() noexcept {
    if (handle_ != nullptr) internet_->InternetCloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  Internet* internet_;
  InternetHandle handle_;
};

}  // namespace orvane
