#include "options/http_client.h"

#include <memory>
#include <mutex>

#include <curl/curl.h>

namespace brenvale {

namespace {

constexpr const char* kAcceptHeader =
    "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";

struct Body {
  std::string text;
  std::size_t limit = 0;
  bool too_long = false;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const std::size_t n = size * count;
  if (body->text.size() + n > body->limit) {
    body->too_long = true;
    return 0;  // aborts the transfer
  }
  body->text.append(data, n);
  return n;
}

void init_curl_once() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

std::optional<std::string> http_get(const std::string& url, const HttpRequestLimits& limits) {
  init_curl_once();
  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) return std::nullopt;
  std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, kAcceptHeader));
  if (!headers) return std::nullopt;

  Body body;
  body.limit = limits.max_body_bytes;
  CURL* c = curl.get();
  const long total_ms = static_cast<long>(limits.total_time.count());
  const bool set_up =
      curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0)) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_USERAGENT, "Brenvale") == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, total_ms) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, total_ms) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect) == CURLE_OK &&
      curl_easy_setopt(c, CURLOPT_WRITEDATA, &body) == CURLE_OK;
  if (!set_up) return std::nullopt;
  // Cookies stay off: the cookie engine is never switched on for this handle.

  if (curl_easy_perform(c) != CURLE_OK || body.too_long) return std::nullopt;
  long status = 0;
  if (curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return std::nullopt;
  if (status < 200 || status > 299) return std::nullopt;
  return std::move(body.text);
}

}  // namespace brenvale
