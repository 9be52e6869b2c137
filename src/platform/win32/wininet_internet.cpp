#include "platform/win32/wininet_internet.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/fetch_job.h"

namespace orvane::win32 {

namespace {

constexpr char kAgent[] = "API-Download";
// A fresh copy from the server every time, kept out of the user's browser
// cache, on a connection to the server that may already be open.
constexpr DWORD kRequestFlags =
    INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kLoginDialogFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS |
                                    FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                    FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
constexpr DWORD kTextBufferSize = 1024;

// What the worker needs of the request, its own copy.
struct Opening {
  std::string url;
  std::optional<std::string> proxy;
  std::string headers;
};

// The session, through the typed proxy for all but local addresses or with
// the system's settings, and the request with its headers sent and the
// answer's headers read.
void Open(FetchJob& job, const Opening& opening) {
  const WinInetApi& api = job.Api();
  const char* proxy = opening.proxy ? opening.proxy->c_str() : nullptr;
  HINTERNET session =
      api.internetOpen(kAgent, proxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_PRECONFIG,
                       proxy, proxy ? "<local>" : nullptr, 0);
  if (!session) {
    job.SetError(GetLastError());
    return;
  }
  if (!job.AdoptSession(session)) return;
  // The job, as the request's context, hears when the connection is made.
  api.setStatusCallback(session, &FetchJob::StatusCallback);
  const std::string& headers = opening.headers;
  HINTERNET request = api.internetOpenUrl(
      session, opening.url.c_str(), headers.empty() ? nullptr : headers.c_str(),
      static_cast<DWORD>(headers.size()), kRequestFlags, reinterpret_cast<DWORD_PTR>(&job));
  const DWORD error = request ? 0 : GetLastError();
  if (!job.AdoptRequest(request)) return;
  job.SetError(error);
  if (request) job.Heard();
}

// The same request again, with what was set on it since.
void Resend(FetchJob& job) {
  const BOOL sent = job.Api().httpSendRequest(job.Request(), nullptr, 0, nullptr, 0);
  job.SetError(sent ? 0 : GetLastError());
  if (sent) job.Heard();
}

// The buffer starts as zero bytes, so the header's text ends at the first zero.
std::optional<std::string> Header(const WinInetApi& api, HINTERNET request, DWORD level) {
  std::array<char, kTextBufferSize> buffer{};
  DWORD length = kTextBufferSize - 1;
  DWORD index = 0;
  if (!api.httpQueryInfo(request, level, buffer.data(), &length, &index)) return std::nullopt;
  return std::string(buffer.data());
}

FetchAnswer ReadAnswer(const WinInetApi& api, HINTERNET request) {
  return {Header(api, request, HTTP_QUERY_STATUS_CODE),
          Header(api, request, HTTP_QUERY_CONTENT_LENGTH),
          Header(api, request, HTTP_QUERY_CONTENT_RANGE),
          Header(api, request, HTTP_QUERY_ETAG),
          Header(api, request, HTTP_QUERY_LAST_MODIFIED),
          Header(api, request, HTTP_QUERY_RETRY_AFTER)};
}

// The proxy's login on the request, for the proxy to check when it is sent again.
void SetLogin(const WinInetApi& api, HINTERNET request, const ProxyLogin& login) {
  for (const auto& [option, text] : {std::pair{INTERNET_OPTION_PROXY_USERNAME, login.user},
                                     std::pair{INTERNET_OPTION_PROXY_PASSWORD, login.password}}) {
    std::string value = text;
    api.internetSetOption(request, option, value.data(), static_cast<DWORD>(value.size()));
  }
}

// What the dialog put on the request.
ProxyLogin ReadLogin(const WinInetApi& api, HINTERNET request) {
  ProxyLogin login;
  for (auto [option, text] : {std::pair{INTERNET_OPTION_PROXY_USERNAME, &login.user},
                              std::pair{INTERNET_OPTION_PROXY_PASSWORD, &login.password}}) {
    std::array<char, kTextBufferSize> buffer{};
    DWORD length = kTextBufferSize - 1;
    if (api.internetQueryOption(request, option, buffer.data(), &length)) *text = buffer.data();
  }
  return login;
}

}  // namespace

// A cancel closes the handles from the window's thread; on the way out they
// are closed the same way, and a worker still in a call is left to end.
FetchResult WinInetInternet::Fetch(const FetchRequest& request, FetchSink& sink) {
  if (!api_.Loaded()) return {FetchResult::Failed, ERROR_MOD_NOT_FOUND};
  // The usual answer is that no entry exists; neither answer changes what
  // comes next.
  if (!request.staleCacheEntry.empty()) {
    api_.deleteUrlCacheEntry(request.staleCacheEntry.c_str());
  }
  const auto job = std::make_shared<FetchJob>(api_);
  const std::stop_callback onCancel(request.cancel, [&job] { job->Abort(); });
  const FetchResult result = Converse(*job, request, sink);
  job->Abort();
  return result;
}

FetchResult WinInetInternet::Converse(FetchJob& job, const FetchRequest& request, FetchSink& sink) {
  Opening opening{request.url, request.proxy, ""};
  if (request.from > 0) {
    opening.headers = "Range: bytes=" + std::to_string(request.from) +
                      "-\r\nIf-Range: " + request.ifRange + "\r\n";
  }
  if (!job.Run([opening](FetchJob& worker) { Open(worker, opening); }, sink))
    return {FetchResult::Stopped};
  if (!job.Request()) return {FetchResult::Failed, job.Error()};
  for (;;) {
    const AnswerStep step = sink.Answer(ReadAnswer(api_, job.Request()));
    switch (step.kind) {
      case AnswerStep::ReadBody:
        return job.Receive(sink);
      case AnswerStep::Stop:
        return {FetchResult::Stopped};
      case AnswerStep::SendLogin:
        SetLogin(api_, job.Request(), step.login);
        break;
      case AnswerStep::AskLogin:
        // The dialog puts what the user typed on the request.
        if (api_.internetErrorDlg(owner_, job.Request(), ERROR_INTERNET_INCORRECT_PASSWORD,
                                  kLoginDialogFlags, nullptr) != ERROR_INTERNET_FORCE_RETRY)
          return {FetchResult::LoginCancelled};
        sink.LoginTyped(ReadLogin(api_, job.Request()));
        break;
    }
    if (!job.Run(Resend, sink)) return {FetchResult::Stopped};
    if (job.Error() != 0) return {FetchResult::Failed, job.Error()};
  }
}

}  // namespace orvane::win32
