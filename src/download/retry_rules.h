// The download's decisions on a flaky line: which failures are tried again,
// how long to wait first, and whether an answer to a resumed request may be
// appended to what is already there. Pure, so each is unit tested alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The proxy's password dialog is shown at most this many times a click.
inline constexpr int kProxyLoginDialogs = 3;

// A click gives up after this many attempts in a row that brought no new byte.
inline constexpr int kAttemptsWithoutProgress = 4;
// The longest wait between two attempts, and the longest Retry-After obeyed.
inline constexpr std::uint32_t kLongestWaitSeconds = 30;
// An attempt that hears nothing for this long has failed: a connect that
// does not complete, an answer that does not come, a body that stops.
inline constexpr double kSilenceSeconds = 20;
// A click gives up once it has heard nothing from the server for this long,
// its waits between attempts included.
inline constexpr double kQuietClickSeconds = 60;

// Answers that say "not now" rather than "no": a timeout, too many requests,
// or a server or gateway that is failing for the moment.
bool IsTransientStatus(std::uint64_t status);

// The proxy asks for a login (407), or refuses the one it was given: some
// proxies answer a wrong login with 401.
bool IsProxyRefusal(std::uint64_t status, bool loginSent);

// The wait before retry number `retry` (1 for the first, and again after an
// attempt that brought new bytes): 1, 2, 4, 8 ... seconds, at most 30; a
// Retry-After in seconds is obeyed instead, also at most 30.
std::uint32_t WaitSecondsBefore(int retry, std::optional<std::uint64_t> retryAfter);

// "bytes first-last/total", the answer to a range request.
struct ContentRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  std::uint64_t total = 0;
};
std::optional<ContentRange> ParseContentRange(std::string_view text);

// What a body that arrived early can be continued with: the validator that
// names its version (the ETag, or Last-Modified where there is none), the
// whole length first announced, and how many of its bytes are on disk.
struct ResumePoint {
  std::string validator;
  std::uint64_t total = 0;
  std::uint64_t received = 0;
};

// Only a body with a validator and a known length can be continued; any
// other is asked for again from its first byte.
bool CanResume(const ResumePoint& point);

// Whether the next request asks only for the rest, from the received count,
// of the version the validator names; if not, it asks for the whole file.
bool AsksRange(const ResumePoint& point);

// How the body of a successful answer relates to what is on disk.
enum class BodyFit {
  Fresh,      // the whole file from its first byte
  Continues,  // the rest, exactly from where the partial file ends
  Mismatch,   // neither: this answer's body can't be used
};

// A 206 continues only the range that was asked for, of a file of the
// length first announced; a 200 (ranges ignored, or the file changed) is
// the whole file again. Any other 2xx is whole only when nothing was asked.
BodyFit FitOf(std::uint64_t status, const ResumePoint& asked,
              const std::optional<ContentRange>& range);

}  // namespace orvane
