// A scripted stand-in for the system's internet client: one response per
// test, every call recorded with its arguments, and handle bookkeeping that
// notices leaks and double closes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/internet.h"

namespace orvane::testing {

struct ScriptedResponse {
  bool sessionOpens = true;
  bool addressOpens = true;
  std::optional<std::string> status = "200";  // nullopt: the status query fails
  std::optional<std::string> contentLength;   // nullopt: no length announced
  // The body, chunk by chunk; a chunk longer than a read is served over
  // several reads. Then generatedBytes more, made up and never stored.
  std::vector<std::string> chunks;
  std::uint64_t generatedBytes = 0;
  std::optional<std::size_t> failingRead;  // 0-based read that returns false
};

class ScriptedInternet : public Internet {
 public:
  ScriptedResponse response;
  std::vector<std::string> calls;
  bool recordReads = true;  // off for bodies of millions of blocks
  std::uint64_t reads = 0;
  std::vector<std::uint32_t> readSizesAskedFor;  // distinct sizes, in order of first use
  std::vector<std::string> faults;               // closes of unknown or closed handles

  std::size_t OpenHandles() const { return open_.size(); }

  bool DeleteUrlCacheEntryA(const std::string& url) override {
    calls.push_back("DeleteUrlCacheEntryA(" + url + ")");
    return false;  // the usual answer: no such entry
  }

  InternetHandle InternetOpenA(const std::string& agent, std::uint32_t accessType,
                               const char* proxyName, const char* proxyBypass,
                               std::uint32_t flags) override {
    calls.push_back("InternetOpenA(" + agent + ", " + std::to_string(accessType) + ", " +
                    Text(proxyName) + ", " + Text(proxyBypass) + ", " + std::to_string(flags) +
                    ")");
    return response.sessionOpens ? Open("session") : nullptr;
  }

  InternetHandle InternetOpenUrlA(InternetHandle session, const std::string& url,
                                  const char* headers, std::uint32_t headersLength,
                                  std::uint32_t flags, std::uintptr_t context) override {
    calls.push_back("InternetOpenUrlA(" + Name(session) + ", " + url + ", " + Text(headers) + ", " +
                    std::to_string(headersLength) + ", " + Hex(flags) + ", " +
                    std::to_string(context) + ")");
    // Every request is served the response from its first byte.
    chunk_ = 0;
    offset_ = 0;
    generated_ = 0;
    return response.addressOpens ? Open("request") : nullptr;
  }

  // Like the real call: the text and a terminating zero if they fit, with the
  // length of the text; otherwise false and the length needed.
  bool HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                      std::uint32_t& bufferLength, std::uint32_t& index) override {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    const bool zeroed = std::all_of(bytes, bytes + bufferLength, [](auto b) { return b == 0; });
    calls.push_back("HttpQueryInfoA(" + Name(request) + ", " + std::to_string(infoLevel) + ", " +
                    (zeroed ? "zeroed " : "dirty ") + std::to_string(bufferLength) + ", " +
                    std::to_string(index) + ")");
    const std::optional<std::string>& text =
        infoLevel == kHttpQueryStatusCode ? response.status : response.contentLength;
    if (!text) return false;
    if (text->size() + 1 > bufferLength) {
      bufferLength = static_cast<std::uint32_t>(text->size() + 1);
      return false;
    }
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    bufferLength = static_cast<std::uint32_t>(text->size());
    return true;
  }

  bool InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                        std::uint32_t& bytesRead) override {
    if (recordReads) {
      calls.push_back("InternetReadFile(" + Name(file) + ", " + std::to_string(bytesToRead) + ")");
    }
    if (std::find(readSizesAskedFor.begin(), readSizesAskedFor.end(), bytesToRead) ==
        readSizesAskedFor.end()) {
      readSizesAskedFor.push_back(bytesToRead);
    }
    bytesRead = 0;
    if (response.failingRead == reads++) return false;

    auto* out = static_cast<char*>(buffer);
    while (chunk_ < response.chunks.size() && offset_ == response.chunks[chunk_].size()) {
      ++chunk_;
      offset_ = 0;
    }
    if (chunk_ < response.chunks.size()) {
      const std::string& chunk = response.chunks[chunk_];
      bytesRead =
          static_cast<std::uint32_t>(std::min<std::size_t>(bytesToRead, chunk.size() - offset_));
      std::memcpy(out, chunk.data() + offset_, bytesRead);
      offset_ += bytesRead;
    } else if (generated_ < response.generatedBytes) {
      bytesRead = static_cast<std::uint32_t>(
          std::min<std::uint64_t>(bytesToRead, response.generatedBytes - generated_));
      std::memset(out, 'g', bytesRead);
      generated_ += bytesRead;
    }
    return true;
  }

  bool InternetCloseHandle(InternetHandle handle) override {
    calls.push_back("InternetCloseHandle(" + Name(handle) + ")");
    if (open_.erase(handle) == 0) {
      faults.push_back("closed " + Name(handle) + " while not open");
      return false;
    }
    return true;
  }

 private:
  static std::string Text(const char* text) { return text ? text : "null"; }
  static std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
  }

  InternetHandle Open(const std::string& kind) {
    // Opaque tokens, never dereferenced; distinct so a mix-up shows.
    auto* handle =
        reinterpret_cast<InternetHandle>(static_cast<std::uintptr_t>(0x1000 + ++issued_));
    names_[handle] = kind;
    open_.insert(handle);
    return handle;
  }
  std::string Name(InternetHandle handle) const {
    const auto found = names_.find(handle);
    return found != names_.end() ? found->second : handle ? "unknown" : "null";
  }

  std::map<InternetHandle, std::string> names_;
  std::set<InternetHandle> open_;
  std::uintptr_t issued_ = 0;
  std::size_t chunk_ = 0;
  std::size_t offset_ = 0;
  std::uint64_t generated_ = 0;
};

}  // namespace orvane::testing
