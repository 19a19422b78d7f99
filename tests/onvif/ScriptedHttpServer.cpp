// A web server that answers in scripted ways, each path one behaviour a camera may show, for the
// HTTP transports' tests on Linux and, from the Linux side of the test network, under Wine.
// It runs inside a lan namespace of the test network:
//
//   vanmoor_scripted_http_server CERTIFICATE KEY
//
// listens on every address of its namespace (http on 8080, https on 8443 with the given
// certificate, a stand-in proxy on 3128) and prints "ready" once all three listen.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kPiece = 64 * 1024;
const std::string kFiller(kPiece, 'x');
// How long the slow answers hold out before they end on their own: far beyond any limit the
// tests set, so that only a transport that keeps its limit returns early.
constexpr auto kHoldOut = 15s;

std::atomic<int> g_TargetHits{0};

// The request as the server saw it: the headers that matter to the tests, then the body.
void Echo(const httplib::Request& request, httplib::Response& response) {
    std::string seen;
    for (const char* name : {"Content-Type", "Authorization", "Expect"}) {
        if (request.has_header(name)) {
            seen += std::string(name) + ": " + request.get_header_value(name) + "\n";
        }
    }
    response.set_content(seen + "\n" + request.body, "application/soap+xml; charset=utf-8");
}

void Routes(httplib::Server& server) {
    server.Post("/echo", Echo);
    server.Post("/challenge", [](const httplib::Request&, httplib::Response& response) {
        response.status = 401;
        response.set_header("WWW-Authenticate",
                            "Digest realm=\"cam\", qop=\"auth\", algorithm=SHA-256, nonce=\"a1\"");
        // A name in other letters is the same header.
        response.set_header("www-authenticate",
                            "Digest realm=\"cam\", qop=\"auth\", algorithm=MD5, nonce=\"b2\"");
        response.set_header("WWW-Authenticate", "Basic realm=\"cam\"");
        response.set_content("refused", "text/plain");
    });
    server.Post("/large", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            50 * 1024 * 1024, "application/soap+xml",
            [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                (void)offset;
                return sink.write(kFiller.data(), std::min(length, kPiece));
            });
    });
    server.Post("/endless", [](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("application/soap+xml",
                                              [](std::size_t, httplib::DataSink& sink) {
                                                  return sink.write(kFiller.data(), kFiller.size());
                                              });
    });
    server.Post("/silent", [](const httplib::Request&, httplib::Response& response) {
        std::this_thread::sleep_for(kHoldOut);
        response.set_content("late", "text/plain");
    });
    server.Post("/drip", [](const httplib::Request&, httplib::Response& response) {
        const auto end = std::chrono::steady_clock::now() + kHoldOut;
        response.set_chunked_content_provider("application/soap+xml",
                                              [end](std::size_t, httplib::DataSink& sink) {
                                                  if (std::chrono::steady_clock::now() >= end) {
                                                      sink.done();
                                                      return true;
                                                  }
                                                  std::this_thread::sleep_for(100ms);
                                                  return sink.write("x", 1);
                                              });
    });
    server.Post("/cut", [](const httplib::Request&, httplib::Response& response) {
        // Announces 100000 bytes, sends 1000 and closes the connection.
        response.set_content_provider(100000, "application/soap+xml",
                                      [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                          return offset == 0 && sink.write(kFiller.data(), 1000);
                                      });
    });
    server.Post("/redirect", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/target", 302);
    });
    server.Post("/target", [](const httplib::Request&, httplib::Response& response) {
        ++g_TargetHits;
        response.set_content("target", "text/plain");
    });
    server.Post("/target-hits", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::to_string(g_TargetHits.load()), "text/plain");
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vanmoor_scripted_http_server CERTIFICATE KEY\n");
        return 2;
    }
    httplib::Server plain;
    httplib::SSLServer secure(argv[1], argv[2]);
    // Whatever reaches it was sent through a proxy, which a transport must never do.
    httplib::Server proxy;
    proxy.set_pre_routing_handler([](const httplib::Request&, httplib::Response& response) {
        response.set_content("proxied", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
    Routes(plain);
    Routes(secure);
    if (!secure.is_valid() || !plain.bind_to_port("0.0.0.0", 8080) ||
        !secure.bind_to_port("0.0.0.0", 8443) || !proxy.bind_to_port("0.0.0.0", 3128)) {
        std::fprintf(stderr, "vanmoor_scripted_http_server: cannot listen\n");
        return 1;
    }
    std::thread plainThread([&] { plain.listen_after_bind(); });
    std::thread secureThread([&] { secure.listen_after_bind(); });
    std::printf("ready\n");
    std::fflush(stdout);
    proxy.listen_after_bind();
    plainThread.join();
    secureThread.join();
    return 0;
}
