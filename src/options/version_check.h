// The version check: asks the maker's web server for the newest released version of this
// configurator and tells whether it is newer than the running one. Any failure of the request
// counts as "no newer version"; the check never shows anything itself.
#pragma once

#include <string>
#include <string_view>

#include "options/http_client.h"

namespace brenvale {

// The integer form of a version text: the text after its first blank (or the whole text),
// trimmed; its characters 1, 3, 4 and 5 (the dot skipped) read as a decimal number.
// "VER. 2.001" gives 2001; a shorter text or characters that are no number give -1.
int conv_version(std::string_view text);

// The decision on a server answer against the running version: true only when both version
// numbers are valid and the answer's is greater. An empty answer and "VER. 0.000" (the server
// knows no version), in any letter case and with blanks around, give false.
bool answer_is_newer(std::string_view answer, std::string_view running_version);

// The request URL on `server` (scheme, host, port): the path asking for the product's version.
std::string version_request_url(const std::string& server);

// Check_Version: the request on `server`, then the decision against the running version.
bool check_version(const std::string& server, const HttpRequestLimits& limits = {});
// The same on the maker's server.
bool check_version();

}  // namespace brenvale
