#pragma once
// A dimming view laid over a list while its search field is being edited: it
// starts black and invisible and lets touches through; a screen shows it by
// switching its touches on and raising its alpha, and a tap on it asks the
// delegate to hide it (which ends the editing). Main thread only.
#include <memory>

#include "platform/ui/View.h"

class OpaqueLayerDelegate {
 public:
  virtual ~OpaqueLayerDelegate() = default;
  virtual void hideOpaqueView() = 0;
};

class OpaqueLayer : public ui::View {
 public:
  explicit OpaqueLayer(cg::Rect frame);

  // Not retained.
  void setDelegate(std::weak_ptr<OpaqueLayerDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<OpaqueLayerDelegate> delegate() const { return delegate_.lock(); }

  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;

 private:
  std::weak_ptr<OpaqueLayerDelegate> delegate_;
};
