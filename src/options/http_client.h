// A small blocking HTTP GET for the version request. The request runs on the window thread, so
// it is bounded in time and in answer size: a stalled or hostile server cannot freeze the
// program for longer than the time limit nor fill its memory.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace brenvale {

struct HttpRequestLimits {
  std::chrono::milliseconds total_time{5000};  // connection, request and answer together
  std::size_t max_body_bytes = 4096;           // a longer answer counts as a failure
};

// The body of a 2xx answer to a GET of `url` over HTTP/1.0, without cookies, with the Accept
// header of a browser. Nothing on any failure: no connection, refused connection, a status
// other than 2xx, an interrupted or over-long transfer, the time limit, a scheme other than
// http or https.
std::optional<std::string> http_get(const std::string& url, const HttpRequestLimits& limits = {});

}  // namespace brenvale
