#include "platform/ui/Responder.h"

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace ui {

cg::Point Touch::locationInView(const View* view) const {
  return view ? view->convertPointFromView(location_, nullptr) : location_;
}

cg::Point Touch::previousLocationInView(const View* view) const {
  return view ? view->convertPointFromView(previous_, nullptr) : previous_;
}

void Responder::touchesBegan(const TouchSet& t, const Event& e) {
  if (Responder* n = nextResponder()) n->touchesBegan(t, e);
}
void Responder::touchesMoved(const TouchSet& t, const Event& e) {
  if (Responder* n = nextResponder()) n->touchesMoved(t, e);
}
void Responder::touchesEnded(const TouchSet& t, const Event& e) {
  if (Responder* n = nextResponder()) n->touchesEnded(t, e);
}
void Responder::touchesCancelled(const TouchSet& t, const Event& e) {
  if (Responder* n = nextResponder()) n->touchesCancelled(t, e);
}
void Responder::keyDown(const KeyEvent& key) {
  if (Responder* n = nextResponder()) n->keyDown(key);
}
void Responder::insertText(const std::string& text) {
  if (Responder* n = nextResponder()) n->insertText(text);
}
void Responder::setMarkedText(const std::string& text, int cursor) {
  if (Responder* n = nextResponder()) n->setMarkedText(text, cursor);
}

void Responder::remoteControlReceivedWithEvent(const Event& e) {
  if (Responder* n = nextResponder()) n->remoteControlReceivedWithEvent(e);
}

bool Responder::becomeFirstResponder() {
  Window* w = responderWindow();
  if (!w || !canBecomeFirstResponder()) return false;
  return w->setFirstResponder(this);
}

bool Responder::resignFirstResponder() {
  Window* w = responderWindow();
  if (!w || w->firstResponder() != this) return true;
  if (!canResignFirstResponder()) return false;
  w->clearFirstResponder();
  return true;
}

bool Responder::isFirstResponder() const {
  Window* w = responderWindow();
  return w && w->firstResponder() == this;
}

}  // namespace ui
