// URL requests, the URL cache and the request queue, against a scripted
// server on the loopback address.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/graphics/Layer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "tests/platform/foundation/TempDir.h"
#include "tests/support/LoopbackServer.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequest.h"
#include "toolkit/core/TKURLRequestQueue.h"

using testing_support::LoopbackServer;
using testing_support::TempDir;

namespace {

std::shared_ptr<ui::Image> imageOfSize(float w, float h, cg::Color colour = cg::Color(0.2f, 0.4f, 0.6f, 1)) {
  auto layer = cg::Layer::create({w, h});
  layer->context().setFillColor(colour);
  layer->context().fillRect({0, 0, w, h});
  return ui::Image::imageWithCGImage(layer->makeImage());
}

struct Listener : TKURLRequestDelegate {
  std::vector<std::string> events;
  std::optional<ns::Error> error;
  std::function<void(TKURLRequest&)> onFinish;
  void requestDidStartLoad(TKURLRequest&) override { events.push_back("start"); }
  void requestDidUploadData(TKURLRequest&) override {
    if (events.empty() || events.back() != "upload") events.push_back("upload");
  }
  void requestDidFinishLoad(TKURLRequest& r) override {
    events.push_back("finish");
    if (onFinish) onFinish(r);
  }
  void requestDidFailLoadWithError(TKURLRequest&, const ns::Error& e) override {
    events.push_back("fail");
    error = e;
  }
  void requestDidCancelLoad(TKURLRequest&) override { events.push_back("cancel"); }
  bool ended() const {
    return !events.empty() && (events.back() == "finish" || events.back() == "fail" || events.back() == "cancel");
  }
};

class TKURLLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ns::RunLoop::resetForTesting();
    cache = std::make_shared<TKURLCache>();
    cache->setCachePath(dir.file("cache"));
    TKURLCache::setSharedCache(cache);
    queue = std::make_shared<TKURLRequestQueue>();
    TKURLRequestQueue::setMainQueue(queue);
    TKSetNetworkActivityIndicatorHandler([this](bool visible) { indicator.push_back(visible); });
  }
  void TearDown() override {
    TKSetNetworkActivityIndicatorHandler(nullptr);
    TKURLRequestQueue::setMainQueue(nullptr);
    TKURLCache::setSharedCache(nullptr);
  }

  std::pair<std::shared_ptr<TKURLRequest>, std::shared_ptr<Listener>> make(const std::string& url) {
    auto listener = std::make_shared<Listener>();
    auto request = TKURLRequest::requestWithURL(url, listener);
    auto response = std::make_shared<TKURLDataResponse>();
    request->setResponse(response);
    return {request, listener};
  }
  static std::string bodyOf(const TKURLRequest& r) {
    return ns::stringFromData(std::static_pointer_cast<TKURLDataResponse>(r.response())->data());
  }
  bool waitFor(const std::function<bool()>& done, double seconds = 10) {
    return ns::RunLoop::main().runUntil(done, seconds);
  }

  TempDir dir;
  LoopbackServer server;
  std::shared_ptr<TKURLCache> cache;
  std::shared_ptr<TKURLRequestQueue> queue;
  std::vector<bool> indicator;
};

// --- global functions ----------------------------------------------------------

TEST(TKGlobal, SchemesAreExactAndCaseSensitive) {
  struct Case {
    const char* text;
    bool bundle, documents;
  } cases[] = {
      {"bundle://", true, false},         {"bundle:/", false, false},
      {"Bundle://x.png", false, false},   {"bundle://images/a.png", true, false},
      {"documents://", false, true},      {"documents:/a", false, false},
      {"", false, false},                 {"http://bundle://", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TKHasBundleScheme(c.text), c.bundle) << c.text;
    EXPECT_EQ(TKHasDocumentsScheme(c.text), c.documents) << c.text;
  }
}

TEST(TKGlobal, ErrorTitlesAndPairedNetworkActivity) {
  EXPECT_EQ(TKErrorDisplayText({ns::kURLErrorDomain, -1001, ""}), "Connection Timed Out");
  EXPECT_EQ(TKErrorDisplayText({ns::kURLErrorDomain, -1009, ""}), "No Internet Connection");
  EXPECT_EQ(TKErrorDisplayText({ns::kURLErrorDomain, -1003, ""}), "Connection Error");
  EXPECT_EQ(TKErrorDisplayText({"Other", -1001, ""}), "Error");

  std::vector<bool> shown;
  TKSetNetworkActivityIndicatorHandler([&](bool v) { shown.push_back(v); });
  TKNetworkActivityBegin();
  TKNetworkActivityBegin();
  TKNetworkActivityEnd();
  EXPECT_EQ(shown, std::vector<bool>{true});
  EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  TKNetworkActivityEnd();
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  EXPECT_EQ(shown, (std::vector<bool>{true, false}));
  TKSetNetworkActivityIndicatorHandler(nullptr);
}

// --- requests --------------------------------------------------------------------

TEST_F(TKURLLoadingTest, MultipartBodyIsExactStringsThenImagesThenFiles) {
  auto request = TKURLRequest::request();
  request->setHttpMethod("POST");
  request->parameters()["b"] = std::string("two");
  request->parameters()["a"] = std::string("one & <1>");
  request->parameters()["pic"] = imageOfSize(4, 4);
  request->addFile(ns::dataFromString("FILE"), "text/plain", "f.txt");
  std::string body = ns::stringFromData(*request->httpBody());
  const std::string B = TKURLRequest::kBoundary;
  std::string jpeg = ns::stringFromData(imageOfSize(4, 4)->cgImage()->jpegData(0.75f));
  std::string expected = "--" + B + "\r\n" +
                         "\r\n--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\none & <1>" +
                         "\r\n--" + B + "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\ntwo" +
                         "\r\n--" + B + "\r\nContent-Disposition: form-data; name=\"pic\"; filename=\"image.jpg\"\r\n" +
                         "Content-Length: " + std::to_string(jpeg.size()) + "\r\nContent-Type: image/jpeg\r\n\r\n" +
                         jpeg + "\r\n--" + B + "\r\nContent-Disposition: form-data; name=\"f.txt\"; filename=\"f.txt\"\r\n" +
                         "Content-Length: 4\r\nContent-Type: text/plain\r\n\r\nFILE" + "\r\n--" + B + "--\r\n";
  EXPECT_EQ(body, expected);
  // Reading the body again changes nothing: the image is still a field.
  EXPECT_EQ(ns::stringFromData(*request->httpBody()), expected);
  EXPECT_EQ(request->contentType(), "multipart/form-data; boundary=" + B);

  auto empty = TKURLRequest::request();
  empty->setHttpMethod("post");  // any case
  EXPECT_EQ(ns::stringFromData(*empty->httpBody()), "--" + B + "\r\n\r\n--" + B + "--\r\n");
  EXPECT_EQ(empty->contentType(), "multipart/form-data; boundary=" + B);
  auto get = TKURLRequest::request();
  EXPECT_FALSE(get->httpBody());
  EXPECT_EQ(get->contentType(), "");
}

TEST_F(TKURLLoadingTest, CacheKeysNameTheURLAndForABodyEveryStringFieldUnambiguously) {
  auto get = TKURLRequest::requestWithURL("http://a.b/c", nullptr);
  EXPECT_EQ(get->cacheKey(), TKURLCache::keyForURL("http://a.b/c"));
  EXPECT_EQ(TKURLRequest::md5HexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");

  auto post = [](std::map<std::string, std::string> fields) {
    auto r = TKURLRequest::requestWithURL("http://a.b/c", nullptr);
    r->setHttpMethod("POST");
    for (auto& [k, v] : fields) r->parameters()[k] = v;
    return r->generateCacheKey();
  };
  EXPECT_NE(post({{"a", "1"}}), post({{"a", "2"}}));
  EXPECT_NE(post({{"a", "b&c=d"}}), post({{"a", "b"}, {"c", "d"}}));
  EXPECT_NE(post({{"ab", ""}}), post({{"a", "b"}}));
  EXPECT_EQ(post({{"x", "1"}, {"y", "2"}}), post({{"y", "2"}, {"x", "1"}}));
}

// --- the cache -------------------------------------------------------------------

TEST_F(TKURLLoadingTest, DiskEntriesExpireByTheirFileDate) {
  cache->storeData(ns::dataFromString("bytes"), "http://x/1");
  std::string path = cache->cachePathForURL("http://x/1");
  double now = ns::Date::now().timeIntervalSince1970();
  std::optional<ns::Date> stamp;
  ns::setModificationDate(path, now - 59);
  EXPECT_TRUE(cache->dataForURL("http://x/1", 60, &stamp));
  ASSERT_TRUE(stamp);
  EXPECT_NEAR(stamp->timeIntervalSince1970(), now - 59, 0.01);
  ns::setModificationDate(path, now - 61);
  EXPECT_FALSE(cache->dataForURL("http://x/1", 60, nullptr));
  EXPECT_TRUE(cache->dataForURL("http://x/1", 0, nullptr));
  EXPECT_TRUE(ns::fileExists(path));

  cache->storeData(ns::dataFromString("fresh"), "http://x/2");
  cache->invalidateURL("http://x/2");
  EXPECT_FALSE(cache->dataForURL("http://x/2", 3600, nullptr));
  EXPECT_TRUE(cache->dataForURL("http://x/2", 0, nullptr));
  EXPECT_TRUE(cache->hasDataForURL("http://x/2"));
}

TEST_F(TKURLLoadingTest, MemoryImagesAreAdmittedBelow240000PixelsAndEvictedLeastRecentlyUsed) {
  cache->storeImage(imageOfSize(480, 500), "big");
  EXPECT_FALSE(cache->imageForURL("big", false));
  cache->storeImage(imageOfSize(480, 500), "big", true);
  EXPECT_TRUE(cache->imageForURL("big", false));
  cache->storeImage(imageOfSize(489, 490), "small");
  EXPECT_TRUE(cache->imageForURL("small", false));

  cache->removeAll(false);
  EXPECT_EQ(cache->totalPixelCount(), 0u);
  cache->setMaxPixelCount(500000);
  cache->storeImage(imageOfSize(400, 500), "one", true);
  cache->storeImage(imageOfSize(400, 500), "two", true);
  cache->storeImage(imageOfSize(300, 500), "three", true);
  EXPECT_FALSE(cache->imageForURL("one", false));
  EXPECT_TRUE(cache->imageForURL("two", false));
  EXPECT_EQ(cache->totalPixelCount(), 350000u);

  // Storing a URL again replaces its image and keeps the total true.
  cache->storeImage(imageOfSize(100, 100), "two");
  EXPECT_EQ(cache->totalPixelCount(), 160000u);
  EXPECT_EQ(cache->memoryImageCount(), 2u);
  // Removal subtracts.
  cache->removeURL("two", false);
  EXPECT_EQ(cache->totalPixelCount(), 150000u);
  // A read makes an image recently used: the unread one goes first.
  cache->storeImage(imageOfSize(400, 500), "four", true);  // 350000
  cache->imageForURL("three", false);
  cache->storeImage(imageOfSize(300, 600), "five", true);  // 530000: evicts "four", not "three"
  EXPECT_TRUE(cache->imageForURL("three", false));
  EXPECT_FALSE(cache->imageForURL("four", false));
  EXPECT_EQ(cache->totalPixelCount(), 330000u);
}

TEST_F(TKURLLoadingTest, LocalSchemesTemporaryURLsAndMemoryWarnings) {
  setenv("ZARVEL_RESOURCES", dir.path().c_str(), 1);
  ns::createDirectory(dir.file("img"));
  imageOfSize(10, 10)->cgImage()->writePNG(dir.file("img/a.png"));
  auto image = cache->imageForURL("bundle://img/a.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(cache->imageForURL("bundle://img/a.png", false), image);  // kept in memory
  EXPECT_FALSE(cache->imageForURL("bundle://img/missing.png"));
  EXPECT_FALSE(cache->imageForURL("http://web/a.png"));
  unsetenv("ZARVEL_RESOURCES");

  cache->storeData(ns::dataFromString("x"), "http://web/b");
  cache->storeImage(imageOfSize(5, 5), "http://web/b");
  ns::NotificationCenter::defaultCenter().postNotificationName(ui::ApplicationDidReceiveMemoryWarningNotification);
  EXPECT_FALSE(cache->imageForURL("http://web/b"));
  EXPECT_TRUE(cache->hasDataForURL("http://web/b"));

  std::string first = cache->createTemporaryURL();
  EXPECT_TRUE(ns::hasPrefix(first, "temp:"));
  int n = ns::intValue(first.substr(5));
  // A temporary file never lands on an existing entry.
  cache->storeData(ns::dataFromString("taken"), "temp:" + std::to_string(n + 1));
  ns::writeFileAtomically(dir.file("incoming"), std::string_view("moved"));
  auto url = cache->storeTemporaryFile(dir.file("incoming"));
  ASSERT_TRUE(url);
  EXPECT_EQ(*url, "temp:" + std::to_string(n + 2));
  EXPECT_EQ(ns::stringFromData(*cache->dataForURL(*url)), "moved");
  EXPECT_FALSE(cache->storeTemporaryFile(dir.file("nothing-here")));
}

// --- the queue ---------------------------------------------------------------------

TEST_F(TKURLLoadingTest, AtMostFiveLoadsAtOnceAndTheSixthStartsWhenOneEnds) {
  for (int i = 0; i < 6; ++i) {
    LoopbackServer::Answer a = LoopbackServer::ok("body" + std::to_string(i));
    a.stallMs = i == 0 ? 100 : 600;
    server.on("/n" + std::to_string(i), a);
  }
  std::vector<std::pair<std::shared_ptr<TKURLRequest>, std::shared_ptr<Listener>>> all;
  for (int i = 0; i < 6; ++i) {
    all.push_back(make(server.url("/n" + std::to_string(i))));
    EXPECT_FALSE(all.back().first->send());
  }
  EXPECT_EQ(queue->totalLoading(), 5);
  EXPECT_EQ(queue->waitingCount(), 1u);
  ASSERT_TRUE(waitFor([&] { return all[0].second->ended(); }));
  EXPECT_EQ(bodyOf(*all[0].first), "body0");
  // The sixth started as soon as the first ended, not at a later timer.
  EXPECT_EQ(queue->waitingCount(), 0u);
  EXPECT_EQ(queue->totalLoading(), 5);
  ASSERT_TRUE(waitFor([&] {
    for (auto& [r, l] : all)
      if (!l->ended()) return false;
    return true;
  }));
  EXPECT_EQ(bodyOf(*all[5].first), "body5");
  EXPECT_EQ(queue->totalLoading(), 0);
  EXPECT_EQ(indicator.back(), false);
  EXPECT_EQ(TKNetworkActivityCount(), 0);
}

TEST_F(TKURLLoadingTest, TwoGetsShareOneLoaderAndCancellingOneKeepsTheOther) {
  LoopbackServer::Answer a = LoopbackServer::ok("shared");
  a.stallMs = 200;
  server.on("/s", a);
  auto [r1, l1] = make(server.url("/s"));
  auto [r2, l2] = make(server.url("/s"));
  r1->send();
  r2->send();
  EXPECT_EQ(queue->totalLoading(), 1);
  r1->cancel();
  EXPECT_EQ(l1->events, (std::vector<std::string>{"start", "cancel"}));
  EXPECT_FALSE(r1->isLoading());
  ASSERT_TRUE(waitFor([&, l2 = l2] { return l2->ended(); }));
  EXPECT_EQ(l2->events.back(), "finish");
  EXPECT_EQ(bodyOf(*r2), "shared");
  EXPECT_EQ(server.requestCount("/s"), 1);

  // Cancelling the last request of a loader closes its connection.
  auto [r3, l3] = make(server.url("/s"));
  r3->setCachePolicy(TKURLRequestCachePolicyNetwork);
  r3->send();
  r3->cancel();
  EXPECT_EQ(queue->totalLoading(), 0);
  EXPECT_EQ(queue->loaderCount(), 0u);
  EXPECT_EQ(TKNetworkActivityCount(), 0);
}

TEST_F(TKURLLoadingTest, StatusesOtherThan200FailWithTheirCodeAndStoreNothing) {
  LoopbackServer::Answer missing;
  missing.status = 404;
  missing.chunks = {"nope"};
  server.on("/404", missing);
  auto [r, l] = make(server.url("/404"));
  r->send();
  ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); }));
  ASSERT_TRUE(l->error);
  EXPECT_EQ(l->error->domain, ns::kURLErrorDomain);
  EXPECT_EQ(l->error->code, 404);
  EXPECT_FALSE(cache->hasDataForURL(server.url("/404")));
}

TEST_F(TKURLLoadingTest, TheContentLengthLimitHoldsForAnnouncedChunkedAndLyingAnswers) {
  queue->setMaxContentLength(1000);
  server.on("/exact", LoopbackServer::ok(std::string(1000, 'a')));
  server.on("/over", LoopbackServer::ok(std::string(1001, 'b')));
  LoopbackServer::Answer chunked;
  chunked.chunkedEncoding = true;
  chunked.chunks = {std::string(700, 'c'), std::string(700, 'c')};
  chunked.pauseMs = 30;
  server.on("/chunked", chunked);
  // No length at all: the end of the connection ends the body.
  LoopbackServer::Answer unannounced;
  unannounced.sendContentLength = false;
  unannounced.chunks = {std::string(600, 'd'), std::string(600, 'd')};
  unannounced.pauseMs = 30;
  server.on("/unannounced", unannounced);
  server.on("/short", LoopbackServer::ok(std::string(300, 'e')));

  struct Case {
    const char* path;
    const char* outcome;
  } cases[] = {{"/exact", "finish"}, {"/over", "cancel"}, {"/chunked", "cancel"}, {"/unannounced", "cancel"}, {"/short", "finish"}};
  for (const auto& c : cases) {
    auto [r, l] = make(server.url(c.path));
    r->send();
    ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); })) << c.path;
    EXPECT_EQ(l->events.back(), c.outcome) << c.path;
  }
  EXPECT_EQ(queue->totalLoading(), 0);
  EXPECT_EQ(TKNetworkActivityCount(), 0);
  // Without a limit nothing is cut.
  queue->setMaxContentLength(0);
  auto [r, l] = make(server.url("/chunked"));
  r->send();
  ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); }));
  EXPECT_EQ(bodyOf(*r).size(), 1400u);
}

TEST_F(TKURLLoadingTest, AHostThatDoesNotResolveIsTriedThreeTimesThenReported) {
  auto [r, l] = make("http://nowhere.invalid/x");
  r->send();
  ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); }));
  ASSERT_TRUE(l->error);
  EXPECT_EQ(l->error->code, ns::kURLErrorCannotFindHost);
  EXPECT_EQ(indicator, (std::vector<bool>{true, false, true, false, true, false}));
  EXPECT_EQ(l->events, (std::vector<std::string>{"start", "fail"}));
}

TEST_F(TKURLLoadingTest, SuspensionAnswersFromMemoryAtOnceAndFromDiskOnResume) {
  cache->storeImage(imageOfSize(4, 4), "http://mem/a.png");
  cache->storeData(ns::dataFromString("on disk"), server.url("/disk"));
  queue->setSuspended(true);
  auto [m, ml] = make("http://mem/a.png");
  m->setResponse(std::make_shared<TKURLImageResponse>());
  EXPECT_TRUE(m->send());
  EXPECT_EQ(ml->events, std::vector<std::string>{"finish"});
  EXPECT_TRUE(m->respondedFromCache());

  auto [d, dl] = make(server.url("/disk"));
  EXPECT_FALSE(d->send());
  EXPECT_EQ(dl->events, std::vector<std::string>{"start"});
  EXPECT_EQ(queue->waitingCount(), 1u);
  queue->setSuspended(false);
  EXPECT_EQ(dl->events, (std::vector<std::string>{"start", "finish"}));
  EXPECT_EQ(bodyOf(*d), "on disk");
  EXPECT_FALSE(d->respondedFromCache());
  EXPECT_EQ(server.requestCount("/disk"), 0);
}

TEST_F(TKURLLoadingTest, CachePoliciesDecideWhatIsReadAndWritten) {
  server.on("/p", LoopbackServer::ok("net"));
  auto load = [&](int policy) {
    auto [r, l] = make(server.url("/p"));
    r->setCachePolicy(policy);
    bool settled = r->send();
    EXPECT_TRUE(waitFor([&, l = l] { return l->ended(); }));
    return std::make_pair(settled, bodyOf(*r));
  };
  EXPECT_EQ(load(TKURLRequestCachePolicyNetwork | TKURLRequestCachePolicyNoCache), std::make_pair(false, std::string("net")));
  EXPECT_FALSE(cache->hasDataForURL(server.url("/p")));
  EXPECT_EQ(load(TKURLRequestCachePolicyNetwork), std::make_pair(false, std::string("net")));
  EXPECT_TRUE(cache->hasDataForURL(server.url("/p")));
  EXPECT_EQ(server.requestCount("/p"), 2);
  EXPECT_EQ(load(TKURLRequestCachePolicyDefault), std::make_pair(true, std::string("net")));
  EXPECT_EQ(load(TKURLRequestCachePolicyNetwork), std::make_pair(false, std::string("net")));
  EXPECT_EQ(server.requestCount("/p"), 3);
}

TEST_F(TKURLLoadingTest, RequestsWithABodyNeverTouchTheCachesNorShareALoader) {
  server.on("/post", [](const LoopbackServer::Received& r) { return LoopbackServer::ok("echo:" + r.body.substr(0, 2)); });
  auto post = [&] {
    auto pair = make(server.url("/post"));
    pair.first->setHttpMethod("POST");
    pair.first->setHttpBody(ns::dataFromString("hi"));
    return pair;
  };
  auto [p1, l1] = post();
  auto [p2, l2] = post();
  auto [g, gl] = make(server.url("/post"));
  p1->send();
  p2->send();
  g->send();
  EXPECT_EQ(queue->totalLoading(), 3);
  ASSERT_TRUE(waitFor([&, l1 = l1, l2 = l2, gl = gl] { return l1->ended() && l2->ended() && gl->ended(); }));
  EXPECT_EQ(server.requestCount("/post"), 3);
  EXPECT_EQ(bodyOf(*p1), "echo:hi");
  auto [p3, l3] = post();
  EXPECT_FALSE(p3->send());  // not answered from the disk cache
  ASSERT_TRUE(waitFor([&, l3 = l3] { return l3->ended(); }));
  EXPECT_EQ(server.requestCount("/post"), 4);

  // Fields on a method without a body are refused, not dropped.
  auto [bad, badl] = make(server.url("/post"));
  bad->parameters()["q"] = std::string("x");
  bad->send();
  ASSERT_TRUE(badl->error);
  EXPECT_EQ(badl->error->code, TKErrorCodeParametersWithoutBody);
}

// HEAD has no body and other methods act on the server: their answers are no
// GET's answer, and a GET's is none of theirs.
TEST_F(TKURLLoadingTest, OnlyGetAnswersAreCachedServedOrJoined) {
  auto byMethod = [](const std::string& body) {
    return [body](const LoopbackServer::Received& r) {
      LoopbackServer::Answer a = LoopbackServer::ok(r.method == "HEAD" ? "" : r.method + ":" + body);
      if (r.method == "HEAD") a.contentLength = 7;
      a.stallMs = 150;
      return a;
    };
  };
  server.on("/m", byMethod("m"));
  auto send = [&](const std::string& method) {
    auto pair = make(server.url("/m"));
    pair.first->setHttpMethod(method);
    pair.first->send();
    return pair;
  };
  auto finish = [&](auto& pair) {
    EXPECT_TRUE(waitFor([&] { return pair.second->ended(); }));
    return bodyOf(*pair.first);
  };
  auto methodsReceived = [&] {
    std::vector<std::string> methods;
    for (const auto& r : server.received()) methods.push_back(r.method);
    std::sort(methods.begin(), methods.end());  // the GET and the DELETE race
    return methods;
  };

  auto head = send("HEAD");
  EXPECT_EQ(finish(head), "");
  EXPECT_FALSE(cache->hasDataForURL(server.url("/m")));
  // A DELETE sent while a GET of the URL loads is a load of its own.
  auto get = send("");
  auto del = send("DELETE");
  EXPECT_EQ(queue->totalLoading(), 2);
  EXPECT_EQ(finish(get), "GET:m");
  EXPECT_EQ(finish(del), "DELETE:m");
  // With the GET's answer on disk, other methods still go to the server.
  auto options = send("OPTIONS");
  EXPECT_FALSE(options.first->respondedFromCache());
  EXPECT_EQ(finish(options), "OPTIONS:m");
  auto again = send("get");
  EXPECT_TRUE(again.first->respondedFromCache());
  EXPECT_EQ(bodyOf(*again.first), "GET:m");
  EXPECT_EQ(methodsReceived(), (std::vector<std::string>{"DELETE", "GET", "HEAD", "OPTIONS"}));

  // Nor do the memory images take another method's answer, or stand for it.
  std::string png = ns::stringFromData(imageOfSize(8, 8)->cgImage()->pngData());
  server.on("/img", LoopbackServer::ok(png));
  auto [post, postListener] = make(server.url("/img"));
  auto response = std::make_shared<TKURLImageResponse>();
  post->setHttpMethod("POST");
  post->setResponse(response);
  cache->storeImage(imageOfSize(2, 2), server.url("/img"));
  auto held = cache->imageForURL(server.url("/img"), false);
  post->send();
  ASSERT_TRUE(waitFor([&, l = postListener] { return l->ended(); }));
  ASSERT_TRUE(response->image());
  EXPECT_NE(response->image(), held);
  EXPECT_EQ(cache->imageForURL(server.url("/img"), false), held);
}

// A key that cannot be a file name is filed under its digest: two such keys
// never share an entry, and no entry lands outside the cache folder.
TEST_F(TKURLLoadingTest, UnusableCacheKeysEachKeepTheirOwnEntry) {
  server.on("/k1", LoopbackServer::ok("one"));
  server.on("/k2", LoopbackServer::ok("two"));
  const std::string keys[] = {"../k", "a/b", "", std::string(300, 'k')};
  for (const std::string& key : keys) cache->storeDataForKey(ns::dataFromString("key " + key), key);
  for (const std::string& key : keys) {
    auto data = cache->dataForKey(key, 0, nullptr);
    ASSERT_TRUE(data) << key;
    EXPECT_EQ(ns::stringFromData(*data), "key " + key);
  }
  EXPECT_EQ(ns::contentsOfDirectory(cache->cachePath()).size(), std::size(keys));
  EXPECT_FALSE(ns::fileExists(dir.file("k")));

  auto load = [&](const std::string& path, const std::string& key) {
    auto [r, l] = make(server.url(path));
    r->setCacheKey(key);
    r->send();
    EXPECT_TRUE(waitFor([&, l = l] { return l->ended(); }));
    return bodyOf(*r);
  };
  EXPECT_EQ(load("/k1", "mine/1"), "one");
  EXPECT_EQ(load("/k2", "mine/2"), "two");
  EXPECT_EQ(load("/k1", "mine/1"), "one");
  EXPECT_EQ(server.requestCount("/k1"), 1);
}

// "bundle://" and "documents://" name files inside their folders only: no
// "..", no link out, whether the queue reads the bytes or the cache an image.
TEST_F(TKURLLoadingTest, LocalURLsNeverReachOutsideTheirFolders) {
  std::string resources = dir.file("res"), home = dir.file("home");
  ns::createDirectory(ns::pathJoin(resources, "img"));
  ns::createDirectory(ns::pathJoin(home, "documents"));
  ns::createDirectory(dir.file("outside"));
  for (const std::string& folder : {ns::pathJoin(resources, "img"), ns::pathJoin(home, "documents"), dir.file("outside")})
    imageOfSize(6, 6)->cgImage()->writePNG(ns::pathJoin(folder, "a.png"));
  ASSERT_EQ(symlink("../../outside", ns::pathJoin(resources, "img/out").c_str()), 0);
  ASSERT_EQ(symlink(dir.file("outside/a.png").c_str(), ns::pathJoin(home, "documents/out.png").c_str()), 0);
  ASSERT_EQ(symlink("a.png", ns::pathJoin(resources, "img/same.png").c_str()), 0);
  setenv("ZARVEL_RESOURCES", resources.c_str(), 1);
  setenv("ZARVEL_HOME", home.c_str(), 1);

  struct Case {
    const char* url;
    bool delivered;
  } cases[] = {
      {"bundle://img/a.png", true},
      {"bundle://img/../img/a.png", true},
      {"bundle://img/same.png", true},
      {"documents://a.png", true},
      {"bundle://../outside/a.png", false},
      {"bundle://img/../../outside/a.png", false},
      {"bundle://img/out/a.png", false},
      {"documents://../../outside/a.png", false},
      {"documents://out.png", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cache->imageForURL(c.url) != nullptr, c.delivered) << c.url;
    auto [r, l] = make(c.url);
    EXPECT_TRUE(r->send()) << c.url;
    EXPECT_EQ(l->events.back(), c.delivered ? "finish" : "fail") << c.url;
    if (!c.delivered) {
      EXPECT_EQ(l->error->domain, ns::kCocoaErrorDomain);
      EXPECT_EQ(l->error->code, 260);
    }
  }
  unsetenv("ZARVEL_RESOURCES");
  unsetenv("ZARVEL_HOME");
}

// An answer small enough for the limit has a deadline as a whole: a server that
// drips it in never idles long enough for the idle time-out.
TEST_F(TKURLLoadingTest, ABoundedLoadHasATotalDeadline) {
  server.on("/drip", LoopbackServer::drip(std::string(40, 'x'), 4, 100));
  queue->setTotalTimeout(0.4);
  auto [r, l] = make(server.url("/drip"));
  r->send();
  ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); }));
  ASSERT_TRUE(l->error);
  EXPECT_EQ(l->error->code, ns::kURLErrorTimedOut);
  EXPECT_EQ(queue->totalLoading(), 0);
  // Without a size limit, answers may be large and take their time.
  queue->setMaxContentLength(0);
  auto [big, bl] = make(server.url("/drip"));
  big->send();
  ASSERT_TRUE(waitFor([&, bl = bl] { return bl->ended(); }));
  EXPECT_EQ(bodyOf(*big), std::string(40, 'x'));
}

TEST_F(TKURLLoadingTest, MissingLocalFilesAndEmptyURLsFailAtSendTime) {
  auto [empty, el] = make("");
  EXPECT_FALSE(empty->send());
  EXPECT_EQ(el->events, (std::vector<std::string>{"start", "fail"}));
  EXPECT_EQ(el->error->code, ns::kURLErrorBadURL);

  auto [local, ll] = make("documents://no/such/file");
  EXPECT_TRUE(local->send());
  ASSERT_TRUE(ll->error);
  EXPECT_EQ(ll->error->domain, ns::kCocoaErrorDomain);
  EXPECT_EQ(ll->error->code, 260);
}

TEST_F(TKURLLoadingTest, ImageResponsesDecodeStoreInMemoryOrFailWith101) {
  server.on("/img", LoopbackServer::ok(ns::stringFromData(imageOfSize(8, 8)->cgImage()->pngData())));
  server.on("/notimg", LoopbackServer::ok("plain text"));
  auto [r, l] = make(server.url("/img"));
  auto response = std::make_shared<TKURLImageResponse>();
  r->setResponse(response);
  r->send();
  ASSERT_TRUE(waitFor([&, l = l] { return l->ended(); }));
  ASSERT_TRUE(response->image());
  EXPECT_EQ(cache->imageForURL(server.url("/img"), false), response->image());

  auto [n, nl] = make(server.url("/notimg"));
  n->setResponse(std::make_shared<TKURLImageResponse>());
  n->send();
  ASSERT_TRUE(waitFor([&, nl = nl] { return nl->ended(); }));
  ASSERT_TRUE(nl->error);
  EXPECT_EQ(nl->error->code, TKErrorCodeNoImage);
  EXPECT_FALSE(cache->hasDataForURL(server.url("/notimg")));
}

TEST_F(TKURLLoadingTest, CancellingADelegatesRequestsAndADelegateCancellingWhileTold) {
  LoopbackServer::Answer slow = LoopbackServer::ok("x");
  slow.stallMs = 300;
  server.on("/a", slow);
  server.on("/b", slow);
  auto owner = std::make_shared<int>(0);
  auto [a, al] = make(server.url("/a"));
  auto [b, bl] = make(server.url("/b"));
  b->setUserInfo(TKUserInfo::make("topic", {}, owner));
  a->send();
  b->send();
  queue->cancelRequestsWithDelegate(al.get());
  queue->cancelRequestsWithDelegate(owner.get());
  EXPECT_EQ(al->events.back(), "cancel");
  EXPECT_EQ(bl->events.back(), "cancel");
  EXPECT_EQ(queue->totalLoading(), 0);

  // A delegate that sends a new request while it hears of the last one's end.
  server.on("/c", LoopbackServer::ok("c"));
  auto [c, cl] = make(server.url("/c"));
  c->setCachePolicy(TKURLRequestCachePolicyNetwork);
  std::shared_ptr<TKURLRequest> again;
  auto listener = cl;
  cl->onFinish = [&](TKURLRequest&) {
    if (!again) {
      again = TKURLRequest::requestWithURL(server.url("/c"), listener);
      again->setCachePolicy(TKURLRequestCachePolicyNetwork);
      again->send();
    }
  };
  c->send();
  ASSERT_TRUE(waitFor([&] { return std::count(listener->events.begin(), listener->events.end(), "finish") == 2; }));
}

}  // namespace
