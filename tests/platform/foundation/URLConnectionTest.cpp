#include "platform/foundation/URLConnection.h"

#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"
#include "tests/support/LoopbackServer.h"

using namespace ns;
using testing_support::LoopbackServer;

namespace {

// Records what a connection tells its delegate, and on which thread.
struct Recorder : URLConnectionDelegate {
  std::vector<std::string> events;
  HTTPURLResponse response;
  std::string body;
  std::optional<Error> error;
  std::int64_t uploaded = 0, uploadExpected = 0;
  bool offMainThread = false;
  std::function<void(URLConnection&)> onData;

  void note(const std::string& e) {
    if (!ns::isMainThread()) offMainThread = true;
    if (events.empty() || events.back() != e) events.push_back(e);
  }
  void connectionDidReceiveResponse(URLConnection&, const HTTPURLResponse& r) override {
    note("response");
    response = r;
  }
  void connectionDidReceiveData(URLConnection& c, const Data& d) override {
    note("data");
    body += stringFromData(d);
    if (onData) onData(c);
  }
  void connectionDidSendBodyData(URLConnection&, std::int64_t, std::int64_t total,
                                 std::int64_t expected) override {
    note("upload");
    uploaded = total;
    uploadExpected = expected;
  }
  void connectionDidFinishLoading(URLConnection&) override { note("finished"); }
  void connectionDidFailWithError(URLConnection&, const Error& e) override {
    note("failed");
    error = e;
  }
  bool ended() const {
    return !events.empty() && (events.back() == "finished" || events.back() == "failed");
  }
};

class URLConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override { RunLoop::resetForTesting(); }

  std::shared_ptr<Recorder> load(URLRequest request, double timeout = 10) {
    auto recorder = std::make_shared<Recorder>();
    auto connection = URLConnection::start(request, recorder);
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return recorder->ended(); }, timeout)) << request.url;
    return recorder;
  }
  std::shared_ptr<Recorder> get(const std::string& url) {
    URLRequest r;
    r.url = url;
    return load(r);
  }

  LoopbackServer server;
};

TEST_F(URLConnectionTest, GetDeliversResponseThenDataThenFinishOnTheMainThread) {
  LoopbackServer::Answer a;
  a.headers = {{"X-Thing", "one"}};
  a.chunks = {"hello ", "chunked ", "world"};
  a.pauseMs = 20;
  server.on("/a", a);
  auto r = get(server.url("/a"));
  EXPECT_EQ(r->events, (std::vector<std::string>{"response", "data", "finished"}));
  EXPECT_FALSE(r->offMainThread);
  EXPECT_EQ(r->response.statusCode, 200);
  EXPECT_EQ(r->response.headerField("x-THING"), "one");
  EXPECT_EQ(r->response.expectedContentLength(), 19);
  EXPECT_EQ(r->body, "hello chunked world");
}

TEST_F(URLConnectionTest, StatusCodesOtherThan200AreAnswersNotFailures) {
  server.on("/missing", [](const auto&) {
    LoopbackServer::Answer a;
    a.status = 404;
    a.chunks = {"gone"};
    return a;
  });
  auto r = get(server.url("/missing"));
  EXPECT_EQ(r->response.statusCode, 404);
  EXPECT_EQ(r->events.back(), "finished");
  EXPECT_EQ(r->body, "gone");
}

TEST_F(URLConnectionTest, AnEmptyBodyStillGetsItsResponse) {
  server.on("/empty", LoopbackServer::ok(""));
  auto r = get(server.url("/empty"));
  EXPECT_EQ(r->events, (std::vector<std::string>{"response", "finished"}));
}

TEST_F(URLConnectionTest, PostSendsMethodHeadersAndBodyAndReportsUpload) {
  server.on("/post", LoopbackServer::ok("ok"));
  URLRequest req;
  req.url = server.url("/post");
  req.method = "post";
  req.setValueForHTTPHeaderField("text/plain", "Content-Type");
  req.setValueForHTTPHeaderField("zarvel-test", "User-Agent");
  req.body = dataFromString(std::string(100000, 'x'));
  auto r = load(req);
  auto got = server.received();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].method, "POST");
  EXPECT_EQ(got[0].headers["content-type"], "text/plain");
  EXPECT_EQ(got[0].headers["user-agent"], "zarvel-test");
  EXPECT_EQ(got[0].body.size(), 100000u);
  EXPECT_EQ(r->uploaded, 100000);
  EXPECT_EQ(r->uploadExpected, 100000);
  EXPECT_EQ(r->events.back(), "finished");
}

TEST_F(URLConnectionTest, HeaderFieldsThatWouldInjectLinesAreRefused) {
  server.on("/h", LoopbackServer::ok("ok"));
  URLRequest req;
  req.url = server.url("/h");
  req.headers = {{"X-A", "1\r\nX-Injected: yes"}, {"X-B:", "2"}, {"X-C", "3"}};
  load(req);
  auto got = server.received();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].headers.count("x-injected"), 0u);
  EXPECT_EQ(got[0].headers.count("x-a"), 0u);
  EXPECT_EQ(got[0].headers["x-c"], "3");
}

// What the engine would read differently from what was asked is refused before
// anything is sent: the address up to a NUL byte, a method that adds lines.
TEST_F(URLConnectionTest, AddressesWithNulAndMethodsThatAreNoTokenAreRefused) {
  server.on("/a", LoopbackServer::ok("a"));
  struct Case {
    std::string url, method;
  } cases[] = {
      {server.url("/a") + std::string(1, '\0') + "/b", ""},
      {server.url("/a"), "GET /a HTTP/1.1\r\nX-Injected: yes\r\nX-Rest:"},
      {server.url("/a"), "DELETE\n"},
      {server.url("/a"), "GET /x"},
  };
  for (const auto& c : cases) {
    URLRequest req;
    req.url = c.url;
    req.method = c.method;
    auto r = load(req);
    ASSERT_TRUE(r->error) << c.method;
    EXPECT_EQ(r->error->code, kURLErrorBadURL) << c.method;
  }
  EXPECT_TRUE(server.received().empty());
  URLRequest custom;
  custom.url = server.url("/a");
  custom.method = "purge";
  EXPECT_EQ(load(custom)->events.back(), "finished");
  ASSERT_EQ(server.received().size(), 1u);
  EXPECT_EQ(server.received()[0].method, "PURGE");
}

// Two different lengths leave the body's end to guesswork: a framing error.
// The same length said twice frames it well.
TEST_F(URLConnectionTest, ConflictingContentLengthsFailTheLoad) {
  auto answer = [](std::vector<std::string> lengths) {
    LoopbackServer::Answer a = LoopbackServer::ok("0123456789");
    a.sendContentLength = false;
    for (const auto& l : lengths) a.headers.emplace_back("Content-Length", l);
    return a;
  };
  server.on("/two", answer({"5", "10"}));
  server.on("/list", answer({"10, 5"}));
  server.on("/same", answer({"10", "10"}));
  for (const char* path : {"/two", "/list"}) {
    auto r = get(server.url(path));
    ASSERT_TRUE(r->error) << path;
    EXPECT_EQ(r->error->code, kURLErrorBadServerResponse) << path;
    EXPECT_TRUE(r->body.empty()) << path;
  }
  auto same = get(server.url("/same"));
  EXPECT_EQ(same->events.back(), "finished");
  EXPECT_EQ(same->body, "0123456789");
}

// A body that drips in never idles long enough for the idle time-out; the
// total bound ends it.
TEST_F(URLConnectionTest, ATotalTimeOutEndsADripThatTheIdleTimeOutNeverCatches) {
  server.on("/drip", LoopbackServer::drip(std::string(40, 'x'), 4, 150));
  URLRequest req;
  req.url = server.url("/drip");
  req.timeoutInterval = 1;
  req.totalTimeout = 0.5;
  auto r = load(req);
  ASSERT_TRUE(r->error);
  EXPECT_EQ(r->error->code, kURLErrorTimedOut);
  EXPECT_LT(r->body.size(), 40u);
  req.totalTimeout = 0;
  EXPECT_EQ(load(req)->body, std::string(40, 'x'));
}

TEST_F(URLConnectionTest, RedirectsAreFollowedWithinTheirBound) {
  LoopbackServer::Answer hop;
  hop.status = 302;
  hop.headers = {{"Location", "/target"}};
  server.on("/hop", hop);
  server.on("/target", LoopbackServer::ok("arrived"));
  LoopbackServer::Answer loop;
  loop.status = 301;
  loop.headers = {{"Location", "/loop"}};
  server.on("/loop", loop);

  auto r = get(server.url("/hop"));
  EXPECT_EQ(r->body, "arrived");
  EXPECT_EQ(r->response.url, server.url("/target"));

  URLRequest req;
  req.url = server.url("/loop");
  req.maxRedirects = 3;
  auto looped = load(req);
  ASSERT_TRUE(looped->error);
  EXPECT_EQ(looped->error->code, kURLErrorHTTPTooManyRedirects);
  EXPECT_EQ(server.requestCount("/loop"), 4);
}

TEST_F(URLConnectionTest, FailuresCarryThePlatformsCodes) {
  LoopbackServer::Answer cut;
  cut.contentLength = 100;
  cut.closeEarly = true;
  server.on("/cut", cut);
  LoopbackServer::Answer stall;
  stall.stallMs = 2500;
  stall.chunks = {"late"};
  server.on("/stall", stall);

  struct Case {
    std::string url;
    double timeout;
    int code;
  } cases[] = {
      {"", 60, kURLErrorBadURL},
      {"ftp://127.0.0.1/x", 60, kURLErrorUnsupportedURL},
      {"file:///etc/passwd", 60, kURLErrorUnsupportedURL},
      {"http://nowhere.invalid/x", 60, kURLErrorCannotFindHost},
      {server.url("/cut"), 60, kURLErrorNetworkConnectionLost},
      {server.url("/stall"), 1, kURLErrorTimedOut},
  };
  for (const auto& c : cases) {
    URLRequest req;
    req.url = c.url;
    req.timeoutInterval = c.timeout;
    auto r = load(req);
    ASSERT_TRUE(r->error) << c.url;
    EXPECT_EQ(r->error->domain, kURLErrorDomain);
    EXPECT_EQ(r->error->code, c.code) << c.url;
  }
  // Nothing was asked of the port for the refused addresses.
  EXPECT_EQ(server.requestCount("/x"), 0);
}

TEST_F(URLConnectionTest, ReceivedBytesAreCountedAgainstTheLimitWhateverWasAnnounced) {
  const std::string exact(1000, 'a');
  server.on("/exact", LoopbackServer::ok(exact));
  LoopbackServer::Answer chunked;
  chunked.chunkedEncoding = true;
  chunked.chunks = {std::string(600, 'b'), std::string(600, 'c')};
  server.on("/chunked", chunked);
  LoopbackServer::Answer lying;
  lying.contentLength = 10;
  lying.chunks = {std::string(1001, 'd')};
  server.on("/lying", lying);

  auto loadWithLimit = [&](const std::string& path) {
    URLRequest req;
    req.url = server.url(path);
    req.maxResponseBytes = 1000;
    return load(req);
  };
  auto ok = loadWithLimit("/exact");
  EXPECT_EQ(ok->events.back(), "finished");
  EXPECT_EQ(ok->body, exact);
  auto over = loadWithLimit("/chunked");
  ASSERT_TRUE(over->error);
  EXPECT_EQ(over->error->code, kURLErrorDataLengthExceedsMaximum);
  EXPECT_LE(over->body.size(), 1000u);
  // A server that announces less than it sends gets cut at its announcement.
  auto lied = loadWithLimit("/lying");
  EXPECT_LE(lied->body.size(), 1000u);
}

TEST_F(URLConnectionTest, NothingIsToldAfterCancelNotEvenWhatWasAlreadyPosted) {
  LoopbackServer::Answer slow;
  slow.chunks = {"first", "second", "third", "fourth"};
  slow.pauseMs = 50;
  server.on("/slow", slow);
  auto r = std::make_shared<Recorder>();
  URLRequest req;
  req.url = server.url("/slow");
  r->onData = [](URLConnection& c) { c.cancel(); };
  auto connection = URLConnection::start(req, r);
  ASSERT_TRUE(RunLoop::main().runUntil([&] { return !r->body.empty(); }));
  RunLoop::main().runUntil([] { return false; }, 0.4);
  EXPECT_TRUE(connection->isCancelled());
  EXPECT_EQ(r->body, "first");
  EXPECT_EQ(r->events, (std::vector<std::string>{"response", "data"}));
}

TEST_F(URLConnectionTest, AGoneDelegateOrADroppedHandleHearsNothing) {
  LoopbackServer::Answer slow;
  slow.chunks = {"a", "b"};
  slow.pauseMs = 100;
  server.on("/slow", slow);
  URLRequest req;
  req.url = server.url("/slow");

  auto gone = std::make_shared<Recorder>();
  auto keep = URLConnection::start(req, gone);
  std::weak_ptr<Recorder> watch = gone;
  gone.reset();

  auto dropped = std::make_shared<Recorder>();
  URLConnection::start(req, dropped);  // handle dropped at once: cancelled

  auto witness = std::make_shared<Recorder>();
  auto w = URLConnection::start(req, witness);
  ASSERT_TRUE(RunLoop::main().runUntil([&] { return witness->ended(); }));
  EXPECT_TRUE(watch.expired());
  EXPECT_TRUE(dropped->events.empty());
}

}  // namespace
