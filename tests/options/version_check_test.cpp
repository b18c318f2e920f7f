#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/product.h"
#include "options/version_check.h"
#include "support/local_http_server.h"

namespace brenvale {
namespace {

using testing::LocalHttpServer;
using testing::ok_reply;

TEST(ConvVersion, ReadsDigitDotThreeDigits) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"2.001", 2001},      {"VER. 2.002", 2002}, {"VER.   1.999  ", 1999}, {"ver. 0.000", 0},
      {"2.005", 2005},      {"VER. 10.001", -1},  {"VER. 2.0", -1},        {"", -1},
      {"VER.", -1},         {"VER. 2x001", 2001}, {"VER. a.bcd", -1},      {"VER. $.abc", -1},
      {"VER. 2.00a", -1},   {"A B 2.001", -1},    {"VER. 2.0015", 2001},
  };
  for (const auto& c : cases) EXPECT_EQ(conv_version(c.text), c.expected) << '"' << c.text << '"';
}

TEST(AnswerIsNewer, ComparesWithTheRunningVersion) {
  const struct {
    const char* answer;
    bool newer;
  } cases[] = {
      {"VER. 2.002", true},       {"VER. 2.001", false},   {"VER. 1.999", false},
      {"VER. 0.000", false},      {"  ver. 0.000 \r\n", false}, {"", false},
      {" \r\n", false},           {"VER. 10.001", false},  {"2.005", true},
      {"\r\nVER. 3.000\r\n", true}, {"ver. 2.100", true},  {"VER. garbage", false},
  };
  for (const auto& c : cases) EXPECT_EQ(answer_is_newer(c.answer, kVersion), c.newer) << '"' << c.answer << '"';
}

TEST(AnswerIsNewer, AnInvalidRunningVersionNeverReportsNewer) {
  EXPECT_FALSE(answer_is_newer("VER. 9.999", "10.001"));
}

TEST(VersionRequest, AsksForTheProductOnTheGivenServer) {
  EXPECT_EQ(version_request_url("http://127.0.0.1:8080"),
            "http://127.0.0.1:8080/home/download/GetversionSW.asp?nomesw=Talvik");
}

TEST(CheckVersion, AnswersOfALocalServer) {
  const struct {
    std::string reply;
    bool newer;
  } cases[] = {
      {ok_reply("VER. 2.002"), true},
      {ok_reply("VER. 2.001"), false},
      {ok_reply("VER. 1.999"), false},
      {ok_reply("  ver. 0.000  "), false},
      {ok_reply(""), false},
      {ok_reply("VER. 10.001"), false},
      {ok_reply("2.005"), true},
      // An error page that happens to carry a newer version is still an error.
      {"HTTP/1.0 404 Not Found\r\nContent-Length: 10\r\n\r\nVER. 9.000", false},
      {"HTTP/1.0 500 Internal Server Error\r\n\r\nVER. 9.000", false},
      {"HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\n\r\nVER. 9.000", false},
      // Without a length the body ends with the connection.
      {"HTTP/1.0 200 OK\r\n\r\nVER. 2.002", true},
      // A transfer cut short of its announced length is a failure.
      {"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nVER. 2.002", false},
      {"garbage", false},
  };
  for (const auto& c : cases) {
    LocalHttpServer server(c.reply);
    EXPECT_EQ(check_version(server.url()), c.newer) << c.reply;
  }
}

TEST(CheckVersion, SendsTheFixedRequest) {
  LocalHttpServer server(ok_reply("VER. 2.001"));
  ASSERT_FALSE(check_version(server.url()));
  const std::string request = server.last_request();
  EXPECT_EQ(request.rfind("GET /home/download/GetversionSW.asp?nomesw=Talvik HTTP/1.0\r\n", 0), 0u) << request;
  EXPECT_NE(request.find("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"),
            std::string::npos)
      << request;
  EXPECT_EQ(request.find("Cookie"), std::string::npos) << request;
}

TEST(CheckVersion, RefusedConnectionIsNoNewerVersion) {
  EXPECT_FALSE(check_version(LocalHttpServer::refused_url()));
}

TEST(CheckVersion, AServerThatNeverAnswersTimesOutAsNoNewerVersion) {
  LocalHttpServer server("", LocalHttpServer::Mode::NeverAnswer);
  HttpRequestLimits limits;
  limits.total_time = std::chrono::milliseconds(300);
  EXPECT_FALSE(check_version(server.url(), limits));
}

TEST(CheckVersion, AnOverLongAnswerIsRefused) {
  LocalHttpServer server(ok_reply("VER. 2.002" + std::string(10000, ' ')));
  EXPECT_FALSE(check_version(server.url()));
  HttpRequestLimits roomy;
  roomy.max_body_bytes = 20000;
  EXPECT_TRUE(check_version(server.url(), roomy));
}

TEST(CheckVersion, OnlyWebSchemesAreAsked) {
  EXPECT_FALSE(http_get("file:///etc/hostname").has_value());
}

}  // namespace
}  // namespace brenvale
