// The social-network client against a fake of the network on the loopback
// interface: requests and their answers, the multipart body, the session's
// login addresses and its state, and the dialogs' endings on a scripted web
// view.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "src/Social/SocialNetwork.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScriptedWebView.h"

namespace {

using testing_support::LoopbackServer;
using testing_support::ScriptedWebView;

struct Requests : SNRequestDelegate {
  std::vector<std::string> calls;
  std::optional<ns::Value> result;
  std::optional<SNError> error;
  void requestLoading(SNRequest&) override { calls.push_back("loading"); }
  void requestDidReceiveResponse(SNRequest&, const ns::HTTPURLResponse&) override { calls.push_back("response"); }
  void requestDidLoadRawResponse(SNRequest&, const ns::Data&) override { calls.push_back("raw"); }
  void requestDidLoad(SNRequest&, const ns::Value& r) override {
    calls.push_back("load");
    result = r;
  }
  void requestDidFailWithError(SNRequest&, const SNError& e) override {
    calls.push_back("fail");
    error = e;
  }
  bool done() const { return result || error; }
};

struct Session : SNSessionDelegate {
  std::vector<std::string> calls;
  void snDidLogin() override { calls.push_back("login"); }
  void snDidNotLogin(bool cancelled) override { calls.push_back(cancelled ? "cancelled" : "failed"); }
  void snDidLogout() override { calls.push_back("logout"); }
};

struct Dialogs : SNDialogDelegate {
  std::vector<std::string> calls;
  std::optional<SNError> error;
  void dialogDidComplete(SNDialog&) override { calls.push_back("complete"); }
  void dialogDidNotComplete(SNDialog&) override { calls.push_back("not complete"); }
  void dialogDidFailWithError(SNDialog&, const SNError& e) override {
    calls.push_back("fail");
    error = e;
  }
};

class SocialClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = std::make_unique<ui::HeadlessBackend>();
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 768, 1024));
    window->makeKeyAndVisible();
    ScriptedWebView::install();
    services = {"4242", server.url("/m/"), server.url("/graph"), server.url("/api/"), "127.0.0.1"};
    session = std::make_shared<SocialNetwork>("4242", services);
  }
  void TearDown() override { ScriptedWebView::uninstall(); }

  bool wait(const std::function<bool()>& done) { return ns::RunLoop::main().runUntil(done, 10); }
  std::shared_ptr<Requests> send(const std::string& path, const std::string& method, SNParams params = {}) {
    auto requests = std::make_shared<Requests>();
    session->requestWithGraphPath(path, std::move(params), method, requests);
    EXPECT_TRUE(wait([&] { return requests->done(); }));
    return requests;
  }

  LoopbackServer server;
  std::unique_ptr<ui::HeadlessBackend> backend;
  std::shared_ptr<ui::Window> window;
  SocialConfiguration services;
  std::shared_ptr<SocialNetwork> session;
};

TEST(SNRequestText, AddressesCarryTheirParametersEscaped) {
  EXPECT_EQ(SNRequest::serializeURL("http://h/p", {{"q", "a b&c"}, {"z", "é"}}), "http://h/p?q=a%20b%26c&z=%C3%A9");
  EXPECT_EQ(SNRequest::serializeURL("http://h/p?x=1", {{"q", "1"}}), "http://h/p?x=1&q=1");
  EXPECT_EQ(SNRequest::serializeURL("http://h/p", {}), "http://h/p?");
  EXPECT_EQ(SNRequest::serializeURL("http://h/p", {{"f", SNParam::data({1, 2})}, {"q", "1"}}), "http://h/p?q=1");
  EXPECT_EQ(SNRequest::encode("!*'();:@&=+$,/?%#[] ~-_."), "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D%20~-_.");
}

TEST(SNRequestText, AnswersAreReadAsTheServicesWriteThem) {
  struct Case {
    std::string answer;
    bool hasResult;
    int errorCode;  // 0: none
  } cases[] = {
      {"true", true, 0},
      {"false", false, 10000},
      {R"({"id":"1","name":"x"})", true, 0},
      {R"([1,2])", true, 0},
      {R"({"error":{"message":"bad"}})", false, 10000},
      {R"({"error_code":190,"error_msg":"expired"})", false, 190},
      {R"({"error_msg":"careful","id":"1"})", true, 10000},
      {R"({"error_reason":"why"})", true, 10000},
      {"<html>not JSON</html>", false, 10000},
      {"", false, 10000},
  };
  for (const auto& c : cases) {
    std::optional<SNError> error;
    auto result = SNRequest::parseJsonResponse(ns::Data(c.answer.begin(), c.answer.end()), &error);
    EXPECT_EQ(result.has_value(), c.hasResult) << c.answer;
    EXPECT_EQ(error ? error->code : 0, c.errorCode) << c.answer;
    if (error) {
      EXPECT_EQ(error->domain, std::string(kSocialErrorDomain));
    }
  }
  std::optional<SNError> error;
  auto t = SNRequest::parseJsonResponse(ns::Data{'t', 'r', 'u', 'e'}, &error);
  EXPECT_EQ((*t)["result"].stringValue(), "true");
  SNRequest::parseJsonResponse(ns::Data{'f', 'a', 'l', 's', 'e'}, &error);
  EXPECT_EQ(error->userInfo["error_msg"].stringValue(), "This operation can not be completed");
}

TEST(SNRequestText, APostBodyEndsWithItsClosingLineUnderABoundaryOfItsOwn) {
  auto one = SNRequest::getRequestWithParams({{"message", "salam"}}, "POST", {}, "http://h/p");
  std::string body = ns::stringFromData(one->generatePostBody());
  const std::string& b = one->boundary();
  ASSERT_EQ(b.size(), 40u);
  for (char c : b) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)));
  EXPECT_EQ(body, "--" + b + "\r\nContent-Disposition: form-data; name=\"message\"\r\n\r\nsalam\r\n--" + b + "--\r\n");

  auto two = SNRequest::getRequestWithParams({{"message", "salam"}}, "POST", {}, "http://h/p");
  two->generatePostBody();
  EXPECT_NE(two->boundary(), b);

  // Files follow the text, and the boundary appears in none of the content.
  auto files = SNRequest::getRequestWithParams({{"a", SNParam::image({0x89, 'P'})}, {"b", b}}, "POST", {}, "http://h/p");
  std::string mixed = ns::stringFromData(files->generatePostBody());
  EXPECT_LT(mixed.find("name=\"b\""), mixed.find("filename=\"a\""));
  EXPECT_NE(mixed.find("Content-Type: image/png\r\n\r\n"), std::string::npos);
  EXPECT_EQ(std::string(b).find(files->boundary()), std::string::npos);
}

TEST_F(SocialClientTest, RequestsReportInOrderAndFailOnBadStatusesUnreadableAndOversizedAnswers) {
  server.on("/graph/me", LoopbackServer::ok(R"({"id":"42","first_name":"Amina"})"));
  auto me = send("me", "GET");
  EXPECT_EQ(me->calls, (std::vector<std::string>{"loading", "response", "raw", "load"}));
  EXPECT_EQ((*me->result)["first_name"].stringValue(), "Amina");
  auto received = server.received().back();
  EXPECT_EQ(received.method, "GET");
  EXPECT_EQ(received.path, "/graph/me?format=json&sdk=ios&sdk_version=2");
  EXPECT_EQ(received.headers["user-agent"], "SocialConnect");

  LoopbackServer::Answer broken = LoopbackServer::ok("<html>Internal Server Error</html>");
  broken.status = 500;
  server.on("/graph/broken", broken);
  auto failed = send("broken", "GET");
  ASSERT_TRUE(failed->error);
  EXPECT_EQ(failed->error->code, 500);
  EXPECT_EQ(failed->error->description, "The server answered with status 500.");

  LoopbackServer::Answer refused = LoopbackServer::ok(R"({"error_code":190,"error_msg":"Session expired"})");
  refused.status = 400;
  server.on("/graph/refused", refused);
  EXPECT_EQ(send("refused", "GET")->error->code, 190);

  server.on("/graph/garbled", LoopbackServer::ok("{\"id\": "));
  EXPECT_EQ(send("garbled", "GET")->error->code, kSocialGeneralError);

  server.on("/graph/huge", LoopbackServer::ok(std::string(SNRequest::kMaxAnswerBytes + 10, ' ')));
  EXPECT_EQ(send("huge", "GET")->error->code, ns::kURLErrorDataLengthExceedsMaximum);

  // A POST carries its parameters in the body only.
  server.on("/graph/feed", LoopbackServer::ok("true"));
  session->setAccessToken("tok/en");
  session->setExpirationDate(ns::Date::dateWithTimeIntervalSinceNow(60));
  auto post = send("feed", "POST", {{"message", "a b"}});
  EXPECT_TRUE(post->result);
  received = server.received().back();
  EXPECT_EQ(received.path, "/graph/feed");
  EXPECT_NE(received.headers["content-type"].find("multipart/form-data; boundary="), std::string::npos);
  EXPECT_NE(received.body.find("name=\"access_token\"\r\n\r\ntok/en\r\n"), std::string::npos);
  EXPECT_NE(received.body.find("name=\"message\"\r\n\r\na b\r\n"), std::string::npos);
}

TEST_F(SocialClientTest, ReturnedAddressesLogInOnlyWithTheStateOfTheLoginAsked) {
  auto delegate = std::make_shared<Session>();
  session->authorize({"publish_stream"}, delegate);
  // The desktop opens the in-application dialog at once.
  ASSERT_TRUE(session->loginDialog());
  const SNParams& params = session->loginDialog()->params();
  EXPECT_EQ(params.at("redirect_uri").text, "snconnect://success");
  EXPECT_EQ(params.at("scope").text, "publish_stream");
  EXPECT_EQ(params.at("client_id").text, "4242");
  std::string state = session->authorisationState();
  EXPECT_EQ(state.size(), 32u);
  EXPECT_EQ(params.at("state").text, state);

  EXPECT_FALSE(session->handleOpenURL("sn4243://authorize#access_token=x&state=" + state));
  EXPECT_TRUE(session->handleOpenURL("sn4242://authorize#access_token=x&expires_in=0"));
  EXPECT_TRUE(session->handleOpenURL("sn4242://authorize#access_token=x&state=wrong"));
  EXPECT_FALSE(session->isSessionValid());
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"failed", "failed"}));

  EXPECT_TRUE(session->handleOpenURL("sn4242://authorize#access_token=a%2Fb%3D&expires_in=3600&state=" + state));
  EXPECT_TRUE(session->isSessionValid());
  EXPECT_EQ(session->accessToken(), "a/b=");
  EXPECT_NEAR(session->expirationDate()->timeIntervalSinceNow(), 3600, 5);
  // The state serves one login.
  EXPECT_TRUE(session->handleOpenURL("sn4242://authorize#access_token=other&state=" + state));
  EXPECT_EQ(session->accessToken(), "a/b=");

  session->authorize({}, delegate);
  EXPECT_TRUE(session->handleOpenURL("sn4242://authorize?access_token=q&expires_in=0&state=" +
                                     session->authorisationState()));
  EXPECT_GT(session->expirationDate()->timeIntervalSinceNow(), 1e9);

  struct Case {
    std::string query;
    std::string reported;
  } failures[] = {
      {"error=access_denied", "cancelled"},
      {"error=access_denied&error_code=200", "failed"},
      {"error=other", "failed"},
      {"", "cancelled"},
      {"&&=&a&b=%ZZ%&%", "cancelled"},  // malformed pairs and escapes are read, not feared
  };
  for (const auto& c : failures) {
    delegate->calls.clear();
    EXPECT_TRUE(session->handleOpenURL("sn4242://authorize#" + c.query)) << c.query;
    EXPECT_EQ(delegate->calls, std::vector<std::string>{c.reported}) << c.query;
  }
  ns::Dictionary parsed = SocialNetwork::parseURLParams("a=1&b&c=%41%2&=x");
  EXPECT_EQ(parsed["a"].stringValue(), "1");
  EXPECT_EQ(parsed["b"].stringValue(), "");
  EXPECT_EQ(parsed["c"].stringValue(), "A%2");

  session->setAccessToken("t");
  session->setExpirationDate(std::nullopt);
  EXPECT_FALSE(session->isSessionValid());
  session->logout(delegate);
  EXPECT_EQ(delegate->calls.back(), "logout");
  EXPECT_TRUE(session->accessToken().empty());
}

TEST_F(SocialClientTest, AMultitaskingDeviceHandsTheLoginOutAndFallsBackToTheDialog) {
  std::vector<std::string> opened;
  ui::URLOpener::setLauncher([&](const std::string& url) {
    opened.push_back(url);
    return false;  // no browser
  });
  session->setCanHandOffLogin(true);
  session->authorize({}, {});
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(ns::hasPrefix(opened[0], server.url("/m/dialog/oauth?")));
  // The dialog gets the address the browser would have returned to.
  EXPECT_EQ(session->loginDialog()->params().at("redirect_uri").text, "sn4242://authorize");
  ui::URLOpener::setLauncher(nullptr);
}

TEST_F(SocialClientTest, TheLoginDialogEndsOnTheClientsOwnAddresses) {
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait);
  ui::Screen::main().setBounds(cg::Rect(0, 0, 768, 1024));
  auto delegate = std::make_shared<Session>();
  session->authorize({}, delegate);
  auto dialog = session->loginDialog();
  ASSERT_TRUE(dialog->isShowing());
  ns::RunLoop::main().runUntilIdle();
  EXPECT_TRUE(ns::hasPrefix(ScriptedWebView::last()->loadedURLs().front(), server.url("/m/dialog/oauth?client_id=4242")));
  // A tablet's frame of 768 x 1004 in portrait gives a panel of 440 x 582.
  EXPECT_EQ(dialog->frame().size, (cg::Size{440, 582}));

  // Without the state the dialog carried, a token is refused.
  ScriptedWebView::last()->clickLink("snconnect://success#access_token=evil&expires_in=0&state=nope");
  EXPECT_FALSE(session->isSessionValid());
  EXPECT_EQ(delegate->calls, std::vector<std::string>{"failed"});
  backend->advance(1);
  EXPECT_FALSE(dialog->isShowing());

  session->authorize({}, delegate);
  ScriptedWebView::last()->clickLink("snconnect://success#access_token=tok&expires_in=0&state=" +
                                     session->authorisationState());
  EXPECT_TRUE(session->isSessionValid());
  EXPECT_EQ(delegate->calls.back(), "login");

  // Cancellations, short addresses and the network's own errors.
  auto dialogs = std::make_shared<Dialogs>();
  struct Case {
    std::string url;
    std::string outcome;
    int code;
  } cases[] = {
      {"snconnect://cancel", "not complete", 0},
      {"snconnect://cancel?error_code=190&error_msg=Bad%20token", "fail", 190},
      {"snconnect://ok", "complete", 0},
      {"snconnect:", "complete", 0},
      {"snconnect:/c", "complete", 0},
  };
  for (const auto& c : cases) {
    session->dialog("feed", dialogs);
    dialogs->calls.clear();
    dialogs->error.reset();
    ScriptedWebView::last()->clickLink(c.url);
    EXPECT_EQ(dialogs->calls, std::vector<std::string>{c.outcome}) << c.url;
    if (c.code) {
      EXPECT_EQ(dialogs->error->code, c.code);
      EXPECT_EQ(dialogs->error->userInfo["error_msg"].stringValue(), "Bad token");
    }
  }
  EXPECT_EQ(session->lastDialog()->params().at("app_id").text, "4242");
  EXPECT_EQ(session->lastDialog()->params().at("access_token").text, "tok");
}

}  // namespace
