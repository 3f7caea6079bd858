// Posting a verse in the shell the program builds, against a fake of the
// network on the loopback interface: the first Post logs in, the next opens
// the posting screen over the root, which fetches the profile (its picture in
// the background), counts the budget, posts, and says why a post failed. The
// login dialog also runs on the real engine under a virtual X display.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>

#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "Classes/sharing/SocialPostViewController.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/String.h"
#include "platform/graphics/Context.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tests/Classes/shell/ShellFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScriptedWebView.h"
#include "tests/support/XvfbDisplay.h"
#include "toolkit/core/TKWebController.h"
#include "toolkit/web/WebKitEngine.h"

namespace shelltest {
namespace {

using testing_support::LoopbackServer;
using testing_support::ScriptedWebView;
using testing_support::XvfbDisplay;

const char* const kVariables[] = {"ZARVEL_SOCIAL_APP_ID", "ZARVEL_SOCIAL_DIALOG_URL", "ZARVEL_SOCIAL_GRAPH_URL",
                                  "ZARVEL_SOCIAL_REST_URL", "ZARVEL_SOCIAL_LOGIN_HOST"};

// The profile's request, as the client sends it with the token "tok".
const char* const kProfilePath = "/graph/me?access_token=tok&format=json&sdk=ios&sdk_version=2";

// A small PNG, as the network's picture service answers.
std::string pictureBytes() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.85, 0.55, 0.2);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::string png;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* out, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(surface);
  return png;
}

// The network's login page: a name to type and a button that ends the login
// at the client's address, with the state the dialog's address carried.
constexpr const char* kLoginPage = R"(<html><head><title>Log In</title></head>
<body style="margin:0;font:16px sans-serif;background:#f2f4f8">
<div style="background:#6d84b4;color:white;padding:10px">Log in to use your account with Zarvel</div>
<p style="padding:10px">Name <input id="name" style="width:220px;height:28px" onfocus="document.title='typing'"
  oninput="document.title=this.value"></p>
<button id="go" style="position:absolute;left:10px;top:110px;width:200px;height:40px" onclick="
  var state = new URLSearchParams(location.search).get('state');
  location.href = 'snconnect://success#access_token=tok-' + document.getElementById('name').value +
                  '&expires_in=0&state=' + state;">Log In</button>
</body></html>)";

// The colour of a point of the view drawn alone.
uint32_t pixelOf(ui::View& view, int x, int y) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(view.bounds().width()),
                                                        static_cast<int>(view.bounds().height()));
  {
    cg::Context context(surface, 1);
    view.drawRect(context, view.bounds());
  }
  cairo_surface_flush(surface);
  uint32_t pixel = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                                y * cairo_image_surface_get_stride(surface) + x * 4);
  cairo_surface_destroy(surface);
  return pixel & 0xffffff;
}

class SocialPostTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (IsSkipped()) return;
    ::setenv("ZARVEL_SOCIAL_APP_ID", "4242", 1);
    ::setenv("ZARVEL_SOCIAL_DIALOG_URL", server.url("/m/").c_str(), 1);
    ::setenv("ZARVEL_SOCIAL_GRAPH_URL", server.url("/graph").c_str(), 1);
    ::setenv("ZARVEL_SOCIAL_REST_URL", server.url("/api/").c_str(), 1);
    ::setenv("ZARVEL_SOCIAL_LOGIN_HOST", "127.0.0.1", 1);
    server.on("/m/dialog/oauth", LoopbackServer::ok(kLoginPage));
    server.on("/graph/me", LoopbackServer::ok(R"({"id":"42","first_name":"Amina","last_name":"Yusuf"})"));
    LoopbackServer::Answer picture = LoopbackServer::ok(pictureBytes());
    picture.headers = {{"Content-Type", "image/png"}};
    server.on("/graph/42/picture", picture);
    server.on("/api/method/stream.publish", [this](const LoopbackServer::Received&) { return postAnswer; });
    postAnswer = LoopbackServer::ok("true");
  }
  void TearDown() override {
    for (const char* name : kVariables) ::unsetenv(name);
    ScriptedWebView::uninstall();
    ShellTest::TearDown();
    delegate.reset();
    root.reset();
    if (ui::WebKitEngine::isRunning()) {
      ui::WebKitEngine::shutdown();
      EXPECT_TRUE(ui::WebKitEngine::helperProcesses().empty()) << "a helper process of the engine outlived it";
    }
    ui::WebView::setFactory(nullptr);
  }

  bool wait(const std::function<bool()>& done) {
    return ns::RunLoop::main().runUntil(
        [&] {
          backend().advance(0.05);
          return done();
        },
        15);
  }
  VerseOptionsPanel& panel() { return *reading().optionsPanel(); }
  std::shared_ptr<SocialPostViewController> postScreen() { return panel().postScreen(); }
  // Logs in through the scripted dialog as the network's page would end it.
  void logInWithScriptedDialog() {
    panel().socialText("first press");
    auto session = delegate->existingSocialNetwork();
    ASSERT_TRUE(session && session->loginDialog());
    ScriptedWebView::last()->clickLink("snconnect://success#access_token=tok&expires_in=0&state=" +
                                       session->authorisationState());
    ASSERT_TRUE(session->isSessionValid());
    settle();
  }
  void type(const std::string& text) {
    postScreen()->textView()->setText(text);
    postScreen()->textViewDidChange(*postScreen()->textView());
  }
  ui::ButtonPanel* alert() { return ui::ButtonPanel::visiblePanel(); }

  LoopbackServer server;
  LoopbackServer::Answer postAnswer;
};

TEST_F(SocialPostTest, TheFirstPostLogsInTheNextPostsTheVerse) {
  ScriptedWebView::install();
  launch();
  logInWithScriptedDialog();
  EXPECT_TRUE(defaults().boolForKey("SocialAuth1.9"));
  EXPECT_EQ(postScreen(), nullptr);

  const std::string verse = "اللَّهُ لَا إِلَٰهَ إِلَّا هُوَ الْحَيُّ الْقَيُّومُ [2:255]";
  panel().socialText(verse);
  settle();
  ASSERT_TRUE(postScreen());
  EXPECT_EQ(root->modalViewController(), postScreen().get());
  EXPECT_EQ(postScreen()->textView()->text(), verse);
  ASSERT_TRUE(wait([&] { return postScreen()->hasLoggedIn(); }));
  EXPECT_EQ(postScreen()->nameLabel()->text(), "Amina Yusuf");
  EXPECT_EQ(defaults().stringForKey("SocialName"), "Amina Yusuf");
  EXPECT_TRUE(postScreen()->sendButton()->isEnabled());
  // The picture comes in the background; its address is kept once the file is.
  ASSERT_TRUE(wait([&] { return !defaults().stringForKey("SocialPic1.0").empty(); }));
  EXPECT_EQ(defaults().stringForKey("SocialPic1.0"), server.url("/graph/42/picture"));
  EXPECT_TRUE(ns::fileExists(SocialPostViewController::picturePath()));
  backend().screenshot(shotPath("posting-screen.png"));

  // The budget: 420 units may go, 421 may not, and a clear empties the text.
  type(std::string(420, 'a'));
  EXPECT_EQ(postScreen()->counterLabel()->text(), "0");
  EXPECT_EQ(postScreen()->counterLabel()->textColor(), cg::Color::white());
  EXPECT_TRUE(postScreen()->sendButton()->isEnabled());
  type(std::string(419, 'a') + "ب");  // still 420 units: one per letter
  EXPECT_EQ(postScreen()->counterLabel()->text(), "0");
  type(std::string(421, 'a'));
  EXPECT_EQ(postScreen()->counterLabel()->text(), "-1");
  EXPECT_EQ(postScreen()->counterLabel()->textColor(), cg::Color(1, 0, 0, 1));
  EXPECT_FALSE(postScreen()->sendButton()->isEnabled());
  backend().screenshot(shotPath("posting-screen-over-budget.png"));
  postScreen()->btnClearPressed();
  EXPECT_EQ(postScreen()->clearButton()->alpha(), 0);
  EXPECT_FALSE(postScreen()->sendButton()->isEnabled());

  // Failures say why and keep the text.
  type(verse);
  struct Case {
    int status;
    std::string body;
    std::string message;
  } failures[] = {
      {500, "<html>Internal Server Error</html>", "Error 500: The server answered with status 500."},
      {200, "{\"id\": ", "Error 10000: The answer could not be read."},
      {200, R"({"error_code":506,"error_msg":"Duplicate status message"})", "Error 506: Duplicate status message"},
  };
  for (const auto& c : failures) {
    postAnswer = LoopbackServer::ok(c.body);
    postAnswer.status = c.status;
    postScreen()->btnSendPressed();
    EXPECT_EQ(postScreen()->sendButton()->currentTitle(), "Sending");
    EXPECT_FALSE(postScreen()->cancelButton()->isEnabled());
    ASSERT_TRUE(wait([&] { return !postScreen()->isSendingMessage(); })) << c.message;
    settle();
    ASSERT_NE(alert(), nullptr) << c.message;
    EXPECT_EQ(alert()->title(), "Posting Failed");
    EXPECT_EQ(alert()->message(), c.message);
    if (c.status == 500) backend().screenshot(shotPath("posting-failed.png"));
    alert()->tapButtonAtIndex(0);
    settle();
    EXPECT_EQ(postScreen()->textView()->text(), verse);
    EXPECT_TRUE(postScreen()->sendButton()->isEnabled());
    EXPECT_EQ(postScreen()->sendButton()->currentTitle(), "Post");
  }

  // The post goes in the body, and the screen closes.
  postAnswer = LoopbackServer::ok("true");
  postScreen()->btnSendPressed();
  ASSERT_TRUE(wait([&] { return postScreen() == nullptr; }));
  settle();
  EXPECT_EQ(root->modalViewController(), nullptr);
  auto sent = server.received().back();
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.path, "/api/method/stream.publish");
  EXPECT_NE(sent.body.find("name=\"message\"\r\n\r\n" + verse + "\r\n"), std::string::npos);
  EXPECT_NE(sent.body.find("name=\"app_id\"\r\n\r\n4242\r\n"), std::string::npos);
  EXPECT_NE(sent.body.find("name=\"access_token\"\r\n\r\ntok\r\n"), std::string::npos);

  // The profile is known now: the next screen asks for nothing.
  int profiles = server.requestCount(kProfilePath);
  EXPECT_EQ(profiles, 1);
  panel().socialText("again");
  settle();
  EXPECT_TRUE(postScreen()->hasLoggedIn());
  EXPECT_EQ(server.requestCount(kProfilePath), profiles);
  postScreen()->btnCancelPressed();
  settle();
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(SocialPostTest, AProfileThatCannotBeHadLogsInAgainAndAPictureThatFailsIsNotKept) {
  ScriptedWebView::install();
  server.on("/graph/me", LoopbackServer::ok("[1, 2]"));  // no profile object
  LoopbackServer::Answer missing = LoopbackServer::ok("gone");
  missing.status = 404;
  server.on("/graph/42/picture", missing);
  launch();
  logInWithScriptedDialog();
  auto session = delegate->existingSocialNetwork();
  auto firstDialog = session->loginDialog();
  panel().socialText("text");
  ASSERT_TRUE(wait([&] { return session->loginDialog() != firstDialog; }));
  EXPECT_FALSE(postScreen()->hasLoggedIn());

  server.on("/graph/me", LoopbackServer::ok(R"({"id":"42","first_name":"Amina","last_name":"Yusuf"})"));
  ScriptedWebView::last()->clickLink("snconnect://success#access_token=tok2&expires_in=0&state=" +
                                     session->authorisationState());
  ASSERT_TRUE(wait([&] { return postScreen()->hasLoggedIn(); }));
  ASSERT_TRUE(wait([&] { return server.requestCount("/graph/42/picture") > 0; }));
  settle();
  EXPECT_TRUE(defaults().stringForKey("SocialPic1.0").empty());
  EXPECT_FALSE(ns::fileExists(SocialPostViewController::picturePath()));
}

// Without the environment, "SocialNetwork.json" in the data folder says
// where the network is; a file that cannot be read or has no proper id
// leaves posting not set up, and the environment overrides the file.
TEST_F(SocialPostTest, SocialNetworkJsonInTheDataFolderConfiguresPosting) {
  for (const char* name : kVariables) ::unsetenv(name);
  ScriptedWebView::install();
  launch();
  const std::string file = ns::pathJoin(ns::documentsDirectory(), "SocialNetwork.json");
  const std::string services = "\"dialog_url\": \"" + server.url("/m/") + "\", \"graph_url\": \"" +
                               server.url("/graph") + "\", \"rest_url\": \"" + server.url("/old") + "\"";
  const std::string notSetUp[] = {"{\"app_id\": \"5151\", " + services, "{\"app_id\": \"51x\", " + services + "}",
                                  "[\"5151\"]", std::string(20000, ' ') + "{\"app_id\": \"5151\", " + services + "}"};
  for (const auto& text : notSetUp) {
    SCOPED_TRACE(text.substr(0, 30));
    ASSERT_TRUE(ns::writeFileAtomically(file, text));
    panel().socialText("x");
    settle();
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Posting Not Set Up");
    alert()->tapButtonAtIndex(0);
    settle();
    EXPECT_EQ(delegate->existingSocialNetwork(), nullptr);
  }

  ASSERT_TRUE(ns::writeFileAtomically(file, "{\"app_id\": \"5151\", " + services + "}"));
  ::setenv("ZARVEL_SOCIAL_REST_URL", server.url("/api").c_str(), 1);  // the environment wins
  panel().socialText("first press");
  auto session = delegate->existingSocialNetwork();
  ASSERT_TRUE(session && session->loginDialog());
  ASSERT_FALSE(ScriptedWebView::last()->loadedURLs().empty());
  const std::string dialog = ScriptedWebView::last()->loadedURLs().front();
  EXPECT_EQ(dialog.rfind(server.url("/m/dialog/oauth?"), 0), 0u) << dialog;
  EXPECT_NE(dialog.find("client_id=5151"), std::string::npos) << dialog;
  ScriptedWebView::last()->clickLink("snconnect://success#access_token=tok&expires_in=0&state=" +
                                     session->authorisationState());
  settle();
  ASSERT_TRUE(session->isSessionValid());
  panel().socialText("a verse");
  settle();
  ASSERT_TRUE(postScreen());
  ASSERT_TRUE(wait([&] { return postScreen()->hasLoggedIn(); }));
  EXPECT_EQ(server.requestCount(kProfilePath), 1);
  postScreen()->btnSendPressed();
  ASSERT_TRUE(wait([&] { return postScreen() == nullptr; }));
  auto sent = server.received().back();
  EXPECT_EQ(sent.path, "/api/method/stream.publish");
  EXPECT_NE(sent.body.find("name=\"app_id\"\r\n\r\n5151\r\n"), std::string::npos);
  ns::removeItem(file);
}

// A login page that ends with a token under another state than the login
// asked for: the reader is told, no session is kept, nothing is posted, and
// the next Post asks for a login again.
TEST_F(SocialPostTest, ATokenWithAnotherStateLogsNothingInAndPostsNothing) {
  ScriptedWebView::install();
  launch();
  panel().socialText("first press");
  auto session = delegate->existingSocialNetwork();
  ASSERT_TRUE(session && session->loginDialog());
  auto dialog = session->loginDialog();
  std::string other(32, 'q');
  ASSERT_NE(session->authorisationState(), other);
  ScriptedWebView::last()->clickLink("snconnect://success#access_token=planted&expires_in=0&state=" + other);
  settle();
  EXPECT_FALSE(dialog->isShowing());
  EXPECT_FALSE(session->isSessionValid());
  EXPECT_EQ(session->accessToken(), "");
  EXPECT_FALSE(defaults().boolForKey("SocialAuth1.9"));
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->title(), "Login Failed");
  EXPECT_EQ(alert()->message(), "Logging in to the social network did not succeed. Please try again.");
  alert()->tapButtonAtIndex(0);
  settle();

  // Post again, as the alert says: no posting screen, but a new login.
  panel().socialText("اللَّهُ لَا إِلَٰهَ إِلَّا هُوَ [2:255]");
  settle();
  EXPECT_EQ(postScreen(), nullptr);
  EXPECT_EQ(root->modalViewController(), nullptr);
  ASSERT_TRUE(session->loginDialog());
  EXPECT_NE(session->loginDialog(), dialog);
  EXPECT_TRUE(session->loginDialog()->isShowing());
  for (const auto& r : server.received()) {
    EXPECT_EQ(r.path.find("stream.publish"), std::string::npos) << r.path;
    EXPECT_EQ(r.path.find("planted"), std::string::npos) << r.path;
    EXPECT_EQ(r.body.find("planted"), std::string::npos) << r.path;
  }
}

// The login dialog on the real engine: the network's page is typed into and
// its button pressed, as a person would.
TEST_F(SocialPostTest, TheLoginDialogLogsInOnTheRealEngine) {
  if (XvfbDisplay::shared().empty()) GTEST_SKIP() << XvfbDisplay::kMissing;
  ui::WebKitEngine::install();
  launch();
  panel().socialText("first press");
  auto session = delegate->existingSocialNetwork();
  auto dialog = session->loginDialog();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(wait([&] { return dialog->title() == "Log In"; }));
  ASSERT_TRUE(wait([&] { return dialog->spinner()->isHidden(); }));
  // Touches reach a page that has been laid out and drawn.
  ASSERT_TRUE(wait([&] { return pixelOf(*dialog->webView(), 5, 5) == 0x6d84b4; }));
  settle(0.5);
  backend().screenshot(shotPath("login-dialog.png"));

  cg::Point web = dialog->webView()->convertPointToView({0, 0}, nullptr);
  backend().tap({web.x + 150, web.y + 78});
  ASSERT_TRUE(wait([&] { return dialog->webView()->title() == "typing"; }));
  backend().typeText("amina");
  // Keys and the mouse reach the page in separate queues: the press waits for the text.
  ASSERT_TRUE(wait([&] { return dialog->webView()->title() == "amina"; }));
  backend().tap({web.x + 100, web.y + 130});
  ASSERT_TRUE(wait([&] { return session->isSessionValid(); }));
  EXPECT_EQ(session->accessToken(), "tok-amina");
  settle();
  EXPECT_FALSE(dialog->isShowing());
}

// The in-application web page over the shell, on the real engine.
TEST_F(SocialPostTest, TheWebPageShowsALoopbackPageOverTheShell) {
  if (XvfbDisplay::shared().empty()) GTEST_SKIP() << XvfbDisplay::kMissing;
  ui::WebKitEngine::install();
  server.on("/about.html", LoopbackServer::ok(
                               "<html><head><title>About Zarvel</title></head><body style='font:17px serif;background:#fbf6ea;"
                               "padding:12px'><h2>Zarvel</h2><p>A Quran reader.</p><p><a href='/credits.html'>"
                               "Data and credits</a></p></body></html>"));
  launch();
  auto page = std::make_shared<TKWebController>();
  auto stack = ui::NavigationController::withRoot(page);
  stack->navigationBar()->setBarStyle(1);
  stack->navigationBar()->setTintColor(cg::Color::fromRGB255(51, 33, 18));
  page->openRequest(server.url("/about.html"));
  stack->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  root->presentModalViewController(stack, true);
  ASSERT_TRUE(wait([&] { return page->title() == "About Zarvel"; }));
  ASSERT_TRUE(wait([&] { return pixelOf(*page->webView(), 2, 2) == 0xfbf6ea; }));
  settle(0.5);
  backend().screenshot(shotPath("web-page.png"));
  page->dismissView();
  settle();
}

}  // namespace
}  // namespace shelltest
