#include "HttpExchange.h"

#include <gtest/gtest.h>

namespace {

using vanmoor::onvif::HttpExchange;
using vanmoor::onvif::HttpRequest;

// A nonce or realm a camera sent may end up in an Authorization header: a line break in it
// would add headers of the camera's choosing to the next request.
TEST(HttpExchangeTest, RefusesHeadersThatWouldSplitTheRequest) {
    std::string why;
    HttpRequest request{"http://192.0.2.10/", "application/soap+xml", "", {}};
    request.headers = {{"Authorization", "Digest nonce=\"1\""}};
    const auto lines = HttpExchange::RequestHeaderLines(request, why);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{"Content-Type: application/soap+xml",
                                                "Authorization: Digest nonce=\"1\""}));
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"Authorization", "Digest nonce=\"1\"\r\nX-Injected: 1"},
             {"Authorization", std::string("a\0b", 3)},
             {"Bad Name", "1"},
             {"", "1"}}) {
        request.headers = {{name, value}};
        EXPECT_FALSE(HttpExchange::RequestHeaderLines(request, why)) << name;
    }
    request.headers.clear();
    request.contentType = "text/xml\nX: 1";
    EXPECT_FALSE(HttpExchange::RequestHeaderLines(request, why));
}

TEST(HttpExchangeTest, KeepsTheHeadersOfTheFinalAnswerWhateverTheirLetters) {
    HttpExchange exchange(100);
    exchange.HeaderLine("HTTP/1.1 100 Continue\r\n");
    exchange.HeaderLine("WWW-Authenticate: Basic realm=\"interim\"\r\n");
    exchange.HeaderLine("HTTP/1.1 401 Unauthorized\r\n");
    exchange.HeaderLine("www-authenticate: Digest algorithm=MD5\r\n");
    exchange.HeaderLine("WWW-AUTHENTICATE:  Digest algorithm=SHA-256 \r\n");
    exchange.HeaderLine("content-type: application/soap+xml\r\n");
    exchange.HeaderLine("\r\n");
    EXPECT_EQ(exchange.Response().status, 401);
    EXPECT_EQ(exchange.Response().wwwAuthenticate,
              (std::vector<std::string>{"Digest algorithm=MD5", "Digest algorithm=SHA-256"}));
    EXPECT_EQ(exchange.Response().contentType, "application/soap+xml");
}

TEST(HttpExchangeTest, BoundsTheBodyAndTellsACutAnswer) {
    HttpExchange exchange(10);
    exchange.Status(200);
    exchange.Header("Content-Length", "8");
    EXPECT_TRUE(exchange.LengthWithinLimit());
    EXPECT_TRUE(exchange.Body("12345"));
    EXPECT_FALSE(exchange.Complete());
    EXPECT_TRUE(exchange.Body("678"));
    EXPECT_TRUE(exchange.Complete());
    EXPECT_FALSE(exchange.Body("901"));
    EXPECT_TRUE(exchange.TooLarge());
    EXPECT_EQ(exchange.Response().body, "12345678");
    exchange.Status(200);
    exchange.Header("Content-Length", "11");
    EXPECT_FALSE(exchange.LengthWithinLimit());
}

} // namespace
