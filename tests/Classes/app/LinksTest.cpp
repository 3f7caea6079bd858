// Inbound links: the own scheme opens a verse; anything else goes only to an
// existing social-network session.
#include <cstdlib>
#include <random>

#include "AppTestEnvironment.h"
#include "platform/services/InstanceLock.h"
#include "src/Social/SocialNetwork.h"

namespace apptest {
namespace {

// "zarvel://2:255:" padded with digits to the length.
std::string linkOfLength(size_t length) {
  std::string url = "zarvel://2:255:";
  url.append(length - url.size(), '7');
  return url;
}

struct LinkCase {
  std::string url;
  bool handled;
  std::string opened;  // the index's call, "" when nothing opens
};

class LinkTest : public AppTest {};

TEST_F(LinkTest, OwnSchemeLinks) {
  const std::vector<LinkCase> cases = {
      {"zarvel://2:255", true, "showSurahView(2, 255, NO, NO)"},
      {"zarvel://2:255:9", true, "showSurahView(2, 255, NO, NO)"},
      {"zarvel://2", true, ""},
      {"zarvel://2:255:1:1", true, ""},
      {linkOfLength(2000), true, "showSurahView(2, 255, NO, NO)"},
      {linkOfLength(2001), false, ""},
      {"zarvel://115:1", true, ""},
      {"zarvel://0:1", true, ""},
      {"zarvel://-2:5", true, ""},
      {"zarvel://x:5", true, ""},
      {"zarvel://99999999999999999999:1", true, ""},
      {"zarvel://2:-5", true, "showSurahView(2, 0, NO, NO)"},
      {"zarvel://2:0", true, "showSurahView(2, 0, NO, NO)"},
      {"zarvel://2:287", true, "showSurahView(2, 286, NO, NO)"},
      {"zarvel://114:99999999999999999999", true, "showSurahView(114, 6, NO, NO)"},
      {"zarvel:// 2: 255", true, "showSurahView(2, 255, NO, NO)"},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url.substr(0, 40));
    auto delegate = makeDelegate();
    EXPECT_EQ(delegate->handleOpenURL(ui::Application::shared(), c.url), c.handled);
    if (c.opened.empty()) {
      EXPECT_TRUE(root->calls.list.empty());
    } else {
      ASSERT_FALSE(root->calls.list.empty());
      EXPECT_EQ(root->calls.list.front(), c.opened);
      EXPECT_EQ(root->calls.list.back(), "asyncSurahReload");
    }
  }
}

TEST_F(LinkTest, GoesOnlyToAnExistingSessionAndNeverStartsALogin) {
  ::setenv("ZARVEL_SOCIAL_APP_ID", "4242", 1);
  for (const char* name : {"ZARVEL_SOCIAL_DIALOG_URL", "ZARVEL_SOCIAL_GRAPH_URL", "ZARVEL_SOCIAL_REST_URL"})
    ::setenv(name, "http://127.0.0.1:9/", 1);
  auto delegate = install();
  const std::string login = "sn4242://authorize#access_token=abc&expires_in=3600";
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), "https://example.com/zarvel://2:255:1"));
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), login));
  EXPECT_EQ(delegate->existingSocialNetwork(), nullptr);
  EXPECT_TRUE(openedURLs.empty());

  auto session = delegate->socialNetwork();
  EXPECT_TRUE(session->loginDialog());
  EXPECT_EQ(session->permissions(), (std::vector<std::string>{"publish_stream", "offline_access"}));
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), "otherapp://authorize#access_token=abc"));
  // Only the answer that brings back the login's state logs in.
  EXPECT_TRUE(delegate->handleOpenURL(ui::Application::shared(), login));
  EXPECT_FALSE(session->isSessionValid());
  EXPECT_TRUE(delegate->handleOpenURL(ui::Application::shared(), login + "&state=" + session->authorisationState()));
  EXPECT_TRUE(session->isSessionValid());
  EXPECT_TRUE(defaults().boolForKey("SocialAuth1.9"));  // snDidLogin
  EXPECT_TRUE(root->calls.list.empty());
  for (const char* name : {"ZARVEL_SOCIAL_APP_ID", "ZARVEL_SOCIAL_DIALOG_URL", "ZARVEL_SOCIAL_GRAPH_URL",
                           "ZARVEL_SOCIAL_REST_URL"})
    ::unsetenv(name);
}

TEST_F(LinkTest, ThroughTheApplication) {
  auto delegate = install();
  EXPECT_TRUE(ui::Application::shared().openInboundURL("zarvel://18:10"));
  EXPECT_EQ(root->calls.list.front(), "showSurahView(18, 10, NO, NO)");
}

// `xdg-open zarvel://2:255` while the reader runs starts a second process,
// which hands the link to this one: it opens the verse as its own link would.
TEST_F(LinkTest, ALinkHandedOverByASecondStartOpensItsVerse) {
  ui::InstanceLock::Start running = ui::InstanceLock::acquire(documents(), "");
  ASSERT_EQ(running.outcome, ui::InstanceLock::Outcome::Acquired);
  ASSERT_TRUE(running.lock->listen([](const std::string& link) { ui::Application::shared().openInboundURL(link); }));
  launch();
  advance(5);
  root->calls.list.clear();

  EXPECT_EQ(ui::InstanceLock::acquire(documents(), "zarvel://2:255").outcome,
            ui::InstanceLock::Outcome::HandedOver);
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return !root->calls.list.empty(); }));
  EXPECT_EQ(root->calls.list,
            (std::vector<std::string>{"showSurahView(2, 255, NO, NO)", "updateSurahNameButton", "asyncSurahReload"}));
}

// Random and mutated links: never a crash, and never a verse outside the Quran.
TEST_F(LinkTest, RandomLinksOpenOnlyVersesThatExist) {
  std::mt19937 rng(20261210);
  const std::string alphabet = "zarvel:/0123456789-+ \t%\xD8\xA8\xFF";
  const std::vector<std::string> seeds = {"zarvel://2:255", "zarvel://114:6:1", "sn4242://authorize#a=b"};
  auto delegate = install();
  for (int i = 0; i < 3000; ++i) {
    std::string url = seeds[i % seeds.size()];
    std::uniform_int_distribution<int> edits(1, 6), pick(0, static_cast<int>(alphabet.size()) - 1);
    for (int e = edits(rng); e > 0 && !url.empty(); --e) {
      std::size_t at = std::uniform_int_distribution<std::size_t>(0, url.size() - 1)(rng);
      switch (e % 3) {
        case 0: url[at] = alphabet[pick(rng)]; break;
        case 1: url.insert(at, 1, alphabet[pick(rng)]); break;
        default: url.erase(at, 1); break;
      }
    }
    root->calls.list.clear();
    delegate->handleOpenURL(ui::Application::shared(), url);
    if (root->calls.list.empty()) continue;
    int surah = 0, verse = 0;
    ASSERT_EQ(std::sscanf(root->calls.list.front().c_str(), "showSurahView(%d, %d", &surah, &verse), 2) << url;
    EXPECT_TRUE(surah >= 1 && surah <= 114) << url;
    EXPECT_TRUE(verse >= 0 && verse <= 286) << url;
  }
  EXPECT_EQ(delegate->existingSocialNetwork(), nullptr);
}

}  // namespace
}  // namespace apptest
