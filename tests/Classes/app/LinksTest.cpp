// Inbound links: the own scheme opens a verse; anything else goes only to an
// existing social-network session.
#include "AppTestEnvironment.h"
#include "src/SocialNetwork.h"

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
  auto delegate = install();
  const std::string login = "snzarvelreader://authorize#access_token=abc&expires_in=3600";
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), "https://example.com/zarvel://2:255:1"));
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), login));
  EXPECT_EQ(delegate->existingSocialNetwork(), nullptr);
  EXPECT_TRUE(openedURLs.empty());

  auto session = delegate->socialNetwork();
  EXPECT_TRUE(session->loginRequested());
  EXPECT_EQ(session->permissions(), (std::vector<std::string>{"publish_stream", "offline_access"}));
  EXPECT_FALSE(delegate->handleOpenURL(ui::Application::shared(), "otherapp://authorize#access_token=abc"));
  EXPECT_TRUE(delegate->handleOpenURL(ui::Application::shared(), login));
  EXPECT_TRUE(session->isSessionValid());
  EXPECT_TRUE(defaults().boolForKey("SocialAuth1.9"));  // snDidLogin
  EXPECT_TRUE(root->calls.list.empty());
}

TEST_F(LinkTest, ThroughTheApplication) {
  auto delegate = install();
  EXPECT_TRUE(ui::Application::shared().openInboundURL("zarvel://18:10"));
  EXPECT_EQ(root->calls.list.front(), "showSurahView(18, 10, NO, NO)");
}

}  // namespace
}  // namespace apptest
