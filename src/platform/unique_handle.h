// A move-only owner for a handle of the operating system: the handle is
// released exactly once, whatever path the code takes. Traits name the
// handle's type, its invalid value and how it is released.
#pragma once

#include <utility>

namespace orvane {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  // Gives up ownership, e.g. when a region is handed to SetWindowRgn.
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename H>
struct NullIsInvalid {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr; }
};

}  // namespace orvane
