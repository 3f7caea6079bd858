#pragma once
// A controller owns one view, made on first use by loadView (a builder that
// creates the outlets) followed by viewDidLoad, and hears the appearance
// calls. It can present another controller modally over the window.
#include <memory>
#include <string>

#include "platform/ui/Responder.h"
#include "platform/ui/View.h"

namespace ui {

enum class ModalPresentationStyle { FullScreen, PageSheet, FormSheet };

class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
 public:
  ViewController();
  ~ViewController() override;
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // The view, loaded on first use.
  std::shared_ptr<View> view();
  void setView(std::shared_ptr<View> view);
  bool isViewLoaded() const { return view_ != nullptr; }

  // The builder: the default makes a plain view of the screen's application area.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  virtual void viewWillAppear(bool animated) { (void)animated; }
  virtual void viewDidAppear(bool animated) { (void)animated; }
  virtual void viewWillDisappear(bool animated) { (void)animated; }
  virtual void viewDidDisappear(bool animated) { (void)animated; }
  virtual void didReceiveMemoryWarning() {}

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }

  // Modal presentation: the presented controller's view covers the window
  // (full screen) or sits centred over a dimmed window (page and form sheets).
  void presentModalViewController(std::shared_ptr<ViewController> controller, bool animated);
  // Sent to the presenter or to the presented controller: dismisses the
  // controller presented by the presenter.
  void dismissModalViewControllerAnimated(bool animated);
  ViewController* modalViewController() const { return modal_.get(); }
  ViewController* parentViewController() const { return parent_.lock().get(); }
  ModalPresentationStyle modalPresentationStyle() const { return style_; }
  void setModalPresentationStyle(ModalPresentationStyle style) { style_ = style; }

  Responder* nextResponder() const override;
  Window* responderWindow() const override;

 private:
  // Takes the modal's view and its container out of the window; the presenter
  // (null when it is gone) hears that it appears again.
  static void finishDismissal(ViewController* presenter, const std::shared_ptr<ViewController>& modal,
                              const std::shared_ptr<View>& container, bool animated);
  cg::Rect sheetFrame(cg::Rect windowBounds) const;

  std::shared_ptr<View> view_;
  std::string title_;
  std::shared_ptr<ViewController> modal_;        // presented by this controller
  std::shared_ptr<View> modalContainer_;         // dimming view holding the modal's view
  std::weak_ptr<ViewController> parent_;         // the presenter
  ModalPresentationStyle style_ = ModalPresentationStyle::FullScreen;
};

}  // namespace ui
