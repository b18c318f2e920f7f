#include "options/version_check.h"

#include <algorithm>
#include <cctype>

#include "app/product.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

// Blanks and control characters at both ends go, as in the server's plain-text answer.
std::string_view trim(std::string_view text) {
  const auto is_space = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

std::string upper_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

constexpr int kInvalidVersion = -1;

}  // namespace

int conv_version(std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank != std::string_view::npos) text = text.substr(blank + 1);
  text = trim(text);
  if (text.size() < 5) return kInvalidVersion;
  const std::string digits{text[0], text[2], text[3], text[4]};
  // Decimal only: the shared integer conversion also reads "$" hexadecimal forms.
  const bool decimal = std::all_of(digits.begin() + 1, digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                       (std::isdigit(static_cast<unsigned char>(digits[0])) || digits[0] == '+' || digits[0] == '-');
  if (!decimal) return kInvalidVersion;
  return parse_int(digits).value_or(kInvalidVersion);
}

bool answer_is_newer(std::string_view answer, std::string_view running_version) {
  const std::string_view trimmed = trim(answer);
  const std::string upper = upper_ascii(trimmed);
  if (upper.empty() || upper == "VER. 0.000") return false;
  const int running = conv_version(running_version);
  const int offered = conv_version(trimmed);
  return running != kInvalidVersion && offered != kInvalidVersion && offered > running;
}

std::string version_request_url(const std::string& server) {
  return server + "/home/download/GetversionSW.asp?nomesw=" + kProductCode;
}

bool check_version(const std::string& server, const HttpRequestLimits& limits) {
  const std::optional<std::string> answer = http_get(version_request_url(server), limits);
  return answer && answer_is_newer(*answer, kVersion);
}

bool check_version() { return check_version(maker_server()); }

}  // namespace brenvale
