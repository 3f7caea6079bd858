#include "tools/tippictures/Studio.h"

#include <cstdlib>

#include "Classes/app/MainInterface.h"
#include "Classes/core/Language.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace tippictures {

namespace {
constexpr double kWednesdayMorning = 1.8e9 + 5 * 86400;
}  // namespace

Studio::Studio(const std::string& resources, const std::string& language) : language_(language) {
  home_ = std::filesystem::temp_directory_path() / ("tippictures-" + std::to_string(::getpid()) + "-" + language);
  std::filesystem::remove_all(home_);
  std::filesystem::create_directories(home_);
  setenv("ZARVEL_HOME", home_.c_str(), 1);
  setenv("ZARVEL_RESOURCES", resources.c_str(), 1);
  setenv("ZARVEL_AUDIO", "silent", 1);
  for (const char* var : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(var);
  setenv("LANG", language == "ar" ? "ar_EG.UTF-8" : "en_GB.UTF-8", 1);
  backend_ = std::make_unique<ui::HeadlessBackend>(kWednesdayMorning);
  ui::Screen::main().setScale(2);
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeRight);
  ui::Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
  Language::setLanguage(language);
}

Studio::~Studio() {
  ui::Animator::finishAll();
  ns::Thread::waitForDetachedThreads();
  ns::RunLoop::main().runUntilIdle();
  if (delegate_) ui::Application::shared().terminate();
  ui::Application::shared().setDelegate(nullptr);
  delegate_.reset();
  backend_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(home_, ignored);
}

void Studio::launch() {
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setBool(true, "TipsHaveShownHD");
  d.setInteger(1, "CurrentTranslationPrimary");
  d.setInteger(1, "CurrentTranslationv22");
  d.setInteger(10, "CurrentTranslationSecondary");
  d.setInteger(2, "CurrentlyShowingSurah");
  // Searches run in the English translation, or the Arabic text in the Arabic interface.
  d.setInteger(language_ == "ar" ? 0 : 1, "LastTranslationSearched");
  d.setInteger(1, "FirstTimeInstall");
  d.synchronize();
  delegate_ = loadMainInterface();
  root_ = delegate_->ipadRootViewController();
  backend_->launch(delegate_);
  settle(2.0);
}

void Studio::settle(double seconds) {
  backend_->advance(seconds);
  for (int round = 0; round < 3; ++round) {
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    backend_->advance(0.4);
  }
}

std::shared_ptr<cg::Image> Studio::snapshot() {
  ui::Window* window = ui::Window::keyWindow();
  return window ? window->snapshot(2) : nullptr;
}

}  // namespace tippictures
