#pragma once
// The text frames of a laid-out styled text, for the tests that look at them.
#include <vector>

#include "toolkit/styled/TKStyledFrame.h"

namespace styledtest {

// The text frames of a chain in order, those inside boxes included.
inline std::vector<TKStyledTextFrame*> textFrames(TKStyledFrame* f) {
  std::vector<TKStyledTextFrame*> out;
  for (; f; f = f->nextFrame().get()) {
    if (auto* t = dynamic_cast<TKStyledTextFrame*>(f)) out.push_back(t);
    if (auto* box = dynamic_cast<TKStyledBoxFrame*>(f)) {
      auto inner = textFrames(box->firstChildFrame().get());
      out.insert(out.end(), inner.begin(), inner.end());
    }
  }
  return out;
}

}  // namespace styledtest
