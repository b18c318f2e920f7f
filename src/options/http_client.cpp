#include "options/http_client.h"

#include <memory>

#include <curl/curl.h>
#include <dlfcn.h>

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

// libcurl is opened on the first request, not linked: with the TLS, Kerberos and LDAP libraries
// it pulls in, loading it takes several times as long as the rest of the program's start, and
// most runs never ask the maker's server.
struct CurlLibrary {
  decltype(&curl_global_init) global_init;
  decltype(&curl_easy_init) easy_init;
  decltype(&curl_easy_setopt) easy_setopt;
  decltype(&curl_easy_perform) easy_perform;
  decltype(&curl_easy_getinfo) easy_getinfo;
  decltype(&curl_easy_cleanup) easy_cleanup;
  decltype(&curl_slist_append) slist_append;
  decltype(&curl_slist_free_all) slist_free_all;
};

template <typename Function>
bool find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

// The library with its global set-up done, or nullptr when it cannot be opened (every request
// then fails as an unreachable server would). It stays open for the rest of the run.
const CurlLibrary* curl_library() {
  static const CurlLibrary* const loaded = []() -> const CurlLibrary* {
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static CurlLibrary curl{};
    const bool complete = find(library, "curl_global_init", curl.global_init) &&
                          find(library, "curl_easy_init", curl.easy_init) &&
                          find(library, "curl_easy_setopt", curl.easy_setopt) &&
                          find(library, "curl_easy_perform", curl.easy_perform) &&
                          find(library, "curl_easy_getinfo", curl.easy_getinfo) &&
                          find(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                          find(library, "curl_slist_append", curl.slist_append) &&
                          find(library, "curl_slist_free_all", curl.slist_free_all);
    if (!complete || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    return &curl;
  }();
  return loaded;
}

struct EasyDeleter {
  const CurlLibrary* curl;
  void operator()(CURL* handle) const { curl->easy_cleanup(handle); }
};
struct ListDeleter {
  const CurlLibrary* curl;
  void operator()(curl_slist* list) const { curl->slist_free_all(list); }
};

}  // namespace

std::optional<std::string> http_get(const std::string& url, const HttpRequestLimits& limits) {
  const CurlLibrary* const lib = curl_library();
  if (lib == nullptr) return std::nullopt;
  std::unique_ptr<CURL, EasyDeleter> curl(lib->easy_init(), EasyDeleter{lib});
  if (!curl) return std::nullopt;
  std::unique_ptr<curl_slist, ListDeleter> headers(lib->slist_append(nullptr, kAcceptHeader), ListDeleter{lib});
  if (!headers) return std::nullopt;

  Body body;
  body.limit = limits.max_body_bytes;
  CURL* c = curl.get();
  const long total_ms = static_cast<long>(limits.total_time.count());
  const auto set = lib->easy_setopt;
  const bool set_up =
      set(c, CURLOPT_URL, url.c_str()) == CURLE_OK && set(c, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      set(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0)) == CURLE_OK &&
      set(c, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK && set(c, CURLOPT_USERAGENT, "Brenvale") == CURLE_OK &&
      set(c, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK && set(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      set(c, CURLOPT_TIMEOUT_MS, total_ms) == CURLE_OK && set(c, CURLOPT_CONNECTTIMEOUT_MS, total_ms) == CURLE_OK &&
      set(c, CURLOPT_WRITEFUNCTION, &collect) == CURLE_OK && set(c, CURLOPT_WRITEDATA, &body) == CURLE_OK;
  if (!set_up) return std::nullopt;
  // Cookies stay off: the cookie engine is never switched on for this handle.

  if (lib->easy_perform(c) != CURLE_OK || body.too_long) return std::nullopt;
  long status = 0;
  if (lib->easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return std::nullopt;
  if (status < 200 || status > 299) return std::nullopt;
  return std::move(body.text);
}

}  // namespace brenvale
