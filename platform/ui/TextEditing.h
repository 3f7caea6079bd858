#pragma once
// The editing engine of text fields and text views: the text as paragraphs,
// the selection, an input method's marked text, pango layouts made only for
// the paragraphs drawn or touched (so a megabyte of text stays quick), caret
// geometry, hit testing, moving by keys, undo and redo, and drawing.
// Coordinates are the text's own: (0, 0) is the top left of the first
// paragraph. Main thread only.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"
#include "platform/ui/Responder.h"
#include "platform/ui/TextDrawing.h"

namespace cg {
class Context;
}
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoAttrList PangoAttrList;

namespace ui {

class View;

// The caret's blink on the run loop's clock: shown at once after every
// change, then turning every half second while editing.
class CaretBlink {
 public:
  CaretBlink() = default;
  ~CaretBlink() { timer_.invalidate(); }
  CaretBlink(const CaretBlink&) = delete;
  CaretBlink& operator=(const CaretBlink&) = delete;
  // Shows the caret of the view (when editing) and starts the blink afresh.
  void restart(View& view, bool editing);
  bool isOn() const { return on_; }
  // Fills the caret's rect while it is on.
  void draw(cg::Context& context, cg::Rect caret) const;

 private:
  bool on_ = false;
  ns::Timer timer_;
};

// A place in the text: a paragraph and a byte offset into it.
struct TextPosition {
  std::size_t paragraph = 0;
  std::size_t offset = 0;
  friend bool operator==(const TextPosition&, const TextPosition&) = default;
  friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

class TextEditing {
 public:
  TextEditing();
  ~TextEditing();
  TextEditing(const TextEditing&) = delete;
  TextEditing& operator=(const TextEditing&) = delete;

  // Look. A text that wraps breaks its lines at the width; one that does not
  // keeps each paragraph on one line (a single-line field).
  void setFont(const Font& font);
  const Font& font() const { return font_; }
  // Every line this many points high (0: the font's own line height), as on
  // ruled paper.
  void setLineHeight(float points);
  void setWraps(bool wraps, float width);
  void setAlignment(TextAlignment alignment);
  // Several paragraphs allowed; a single-line text turns line breaks typed or
  // pasted into spaces.
  void setMultiline(bool multiline) { multiline_ = multiline; }
  // A secret text (a password): every character is drawn as a bullet, and
  // nothing of it is copied, cut or taken apart into words.
  void setSecure(bool secure);
  bool isSecure() const { return secure_; }

  // The text; setting it puts the caret at the end, drops marked text and
  // forgets what could be undone.
  void setText(const std::string& text);
  std::string text() const;
  bool isEmpty() const { return paragraphs_.size() == 1 && paragraphs_[0].text.empty(); }
  std::size_t paragraphCount() const { return paragraphs_.size(); }
  const std::string& paragraphText(std::size_t i) const { return paragraphs_[i].text; }

  // The selection in UTF-16 units of the whole text (length 0: a caret).
  ns::Range selectedRange() const;
  void setSelectedRange(ns::Range range);
  std::string selectedText() const;
  TextPosition caret() const { return caret_; }
  TextPosition anchor() const { return anchor_; }
  bool hasSelection() const { return anchor_ != caret_; }
  void selectAll();

  // Asked before every change with the range replaced (UTF-16) and the new
  // text; a false answer leaves the text alone.
  std::function<bool(ns::Range, const std::string&)> shouldChange;
  // Told after every change of the text.
  std::function<void()> didChange;

  // Edits at the selection; each answers whether the text changed.
  bool insertText(const std::string& text);
  bool deleteBackward();
  bool deleteForward();
  // The input method's composition, drawn underlined at the caret (replacing
  // the selection); an empty text ends it without inserting.
  void setMarkedText(const std::string& text, int cursor16);
  const std::string& markedText() const { return marked_; }
  bool hasMarkedText() const { return !marked_.empty(); }
  // Commits the marked text as typed text.
  void unmarkText();

  // Keys, as on the desktop: movement by character, line, word (Control) and
  // to the ends of the line and (Control) of the text, Shift extending the
  // selection; deletion by character and (Control) by word; Return
  // (multiline); Control-A, C, X, V with the general pasteboard; Control-Z
  // to undo, Control-Shift-Z and Control-Y to redo. True when handled.
  bool handleKey(const KeyEvent& key);
  void copy();
  void cut();
  void paste();

  // Undo and redo of what was typed, deleted, cut, pasted or otherwise
  // changed through the engine. Typing runs together into one step a word
  // (with the spaces after it) long, and so does deleting character by
  // character; typing over a selection makes one step with what it replaced.
  // Moving the caret ends a run. Each answers whether the text changed.
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  bool undo();
  bool redo();
  static constexpr std::size_t kMaxUndoSteps = 200;
  static constexpr std::size_t kMaxUndoBytes = 16 << 20;

  // Moving by words: forward to the end of the next word, backward to the
  // start of the previous one, across paragraphs.
  void moveWord(int direction, bool extend);
  // Deletes the selection, else to the start of the word before the caret
  // (backward) or the end of the word after it (forward).
  bool deleteWordBackward();
  bool deleteWordForward();

  // Geometry in the text's coordinates.
  cg::Size contentSize();       // widest line (when not wrapping) and total height
  float paragraphTop(std::size_t i);
  TextPosition positionAtPoint(cg::Point p);
  cg::Rect caretRect();
  // Puts the caret at the point (extending the selection when asked).
  void setCaretAtPoint(cg::Point p, bool extend);
  // Selects the word at the point (a double tap); between words, the caret goes there.
  void selectWordAtPoint(cg::Point p);

  // Lays out the paragraphs that meet `visible` (their heights become exact).
  void layoutVisible(cg::Rect visible);
  // Draws the paragraphs that meet `visible` with the selection and marked text.
  void draw(cg::Context& context, cg::Rect visible, cg::Color color, bool showSelection);

 private:
  // One step of the undo history: at start (UTF-16) `removed` gave way to
  // `inserted`, and the selection went from one range to the other.
  enum class EditKind { Other, Typing, DeletingBackward, DeletingForward };
  struct Edit {
    EditKind kind = EditKind::Other;
    std::size_t start = 0;
    std::string removed, inserted;
    ns::Range selectionBefore, selectionAfter;
  };
  void record(Edit edit);
  bool joinsLastEdit(const Edit& edit) const;
  bool replaceAsUndoStep(EditKind kind, TextPosition from, TextPosition to, const std::string& text);
  bool replay(std::size_t start, std::size_t length, const std::string& text, ns::Range selection);
  std::string textBetween(TextPosition from, TextPosition to) const;
  // The start (backward) or end (forward) of the nearest word from the caret.
  TextPosition wordBoundary(TextPosition from, int direction);
  // Whether the paragraph runs right to left (its first strong character).
  bool isRightToLeft(std::size_t paragraph);

  struct Paragraph {
    std::string text;
    std::size_t units = 0;  // UTF-16 length of the text, kept with it
    float height = 0;
    float width = 0;
    bool measured = false;
    PangoLayout* layout = nullptr;
  };
  PangoLayout* layoutFor(std::size_t i);
  void dropLayout(Paragraph& p);
  void dropAllLayouts();
  void invalidate(std::size_t i);
  float estimatedHeight(const Paragraph& p) const;
  void updateTops();
  void markDirty(std::size_t paragraph) { dirtyFrom_ = std::min(dirtyFrom_, paragraph); }
  std::size_t paragraphAtY(float y);
  std::size_t toLayoutIndex(std::size_t paragraph, std::size_t offset) const;
  std::size_t fromLayoutIndex(std::size_t paragraph, std::size_t index) const;
  std::size_t offset16(TextPosition p) const;
  // What the paragraph's layout holds: the text with the marked text at the
  // caret, as bullets when secure.
  std::string shownText(std::size_t paragraph) const;
  TextPosition positionFor16(std::size_t units) const;
  bool replace(TextPosition from, TextPosition to, const std::string& text);
  void moveHorizontally(int direction, bool extend);
  void moveVertically(int direction, bool extend);
  void moveToLineEdge(bool end, bool extend);
  void placeCaret(TextPosition p, bool extend);
  void trimLayouts(std::size_t firstVisible, std::size_t lastVisible);
  // The first and last paragraphs meeting the rect, laid out.
  std::pair<std::size_t, std::size_t> visibleParagraphs(cg::Rect visible);
  PangoAttrList* baseAttributes() const;  // a new list the caller releases

  std::vector<Paragraph> paragraphs_;
  std::vector<float> tops_;  // prefix sums of the heights, one more than paragraphs
  std::size_t dirtyFrom_ = 0;  // tops_ after this paragraph are stale (npos: none)
  float lineHeight_ = 0;
  float fixedLineHeight_ = 0;
  std::size_t liveLayouts_ = 0;
  Font font_ = Font::systemFontOfSize(17);
  bool wraps_ = true;
  float width_ = 0;
  TextAlignment alignment_ = TextAlignment::Left;
  bool multiline_ = true;
  TextPosition anchor_, caret_;
  float goalX_ = -1;  // kept while moving up and down
  std::string marked_;
  int markedCursor_ = 0;
  bool secure_ = false;
  std::vector<Edit> undo_, redo_;
  EditKind pendingKind_ = EditKind::Other;  // what the edit under way is
  bool replaying_ = false;
  bool runBroken_ = true;  // the next typing or deleting starts a new step
};

}  // namespace ui
