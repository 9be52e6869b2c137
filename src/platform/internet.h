// The seam to the system's internet client: one call that fetches one
// address the way the download needs it, handing the answer's facts and the
// body's blocks to the caller as they come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

namespace orvane {

// A proxy's login, as typed into the system's dialog.
struct ProxyLogin {
  std::string user;
  std::string password;
};

struct FetchRequest {
  std::string url;
  // Deleted from the system's internet cache first; empty: nothing is.
  std::string staleCacheEntry;
  // The typed proxy "address:port", local addresses excepted; none: the
  // system's internet settings.
  std::optional<std::string> proxy;
  // Only the bytes from `from` on, while the server still has the version
  // `ifRange` names; 0 asks for the whole file.
  std::uint64_t from = 0;
  std::string ifRange;
  // Asked from the caller's thread, it ends the fetch at once.
  std::stop_token cancel;
};

// The answer's headers as the server sent them; none where it sent none.
struct FetchAnswer {
  std::optional<std::string> status;
  std::optional<std::string> contentLength;
  std::optional<std::string> contentRange;
  std::optional<std::string> etag;
  std::optional<std::string> lastModified;
  std::optional<std::string> retryAfter;
};

// What a fetch waits for while nothing arrives.
enum class FetchStage { Connecting, AwaitingAnswer, ReceivingBody };

// What the caller makes of an answer.
struct AnswerStep {
  enum Kind {
    ReadBody,   // the body follows, block by block
    Stop,       // the fetch ends here
    SendLogin,  // the request goes again with `login` for the proxy
    AskLogin,   // the system's login dialog asks the user, then the request goes again
  } kind = Stop;
  ProxyLogin login;
};

// Everything a fetch hands to its caller, always on the caller's thread and
// before Fetch returns.
class FetchSink {
 public:
  virtual ~FetchSink() = default;
  // The fetch is waiting for the network, nothing having arrived for
  // `silentSeconds`: the caller lets the window's messages run. False ends
  // the fetch.
  virtual bool Waiting(FetchStage stage, double silentSeconds) = 0;
  // An answer's headers; after SendLogin or AskLogin the next answer comes
  // here too.
  virtual AnswerStep Answer(const FetchAnswer& answer) = 0;
  // What the user typed into the system's login dialog.
  virtual void LoginTyped(const ProxyLogin& login) = 0;
  // The next block of the body; false ends the fetch.
  virtual bool Block(const std::byte* data, std::size_t size) = 0;
};

struct FetchResult {
  enum Kind {
    Complete,        // the body to its end
    Failed,          // the system's internet client failed, with `error`
    Stopped,         // the caller or a cancel ended the fetch
    LoginCancelled,  // the user cancelled the login dialog
  } kind = Failed;
  std::uint32_t error = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  virtual FetchResult Fetch(const FetchRequest& request, FetchSink& sink) = 0;
};

}  // namespace orvane
