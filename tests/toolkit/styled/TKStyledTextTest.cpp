// The markup parser, the node tree, the styled layout and the document.
#include <gtest/gtest.h>

#include "platform/text/TextMeasure.h"
#include "tests/toolkit/styled/StyledFrames.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledLayout.h"
#include "toolkit/styled/TKStyledNode.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/styled/TKStyledTextParser.h"

namespace {

// A compact picture of a node chain: T"text", BR, B(...), I(...), A[url](...),
// S.class(...), D.class(...), IMG[url].
std::string shape(const TKStyledNode* n) {
  std::string out;
  for (; n; n = n->nextSibling().get()) {
    auto children = [&](const TKStyledElement* e) { return "(" + shape(e->firstChild().get()) + ")"; };
    if (auto* t = dynamic_cast<const TKStyledTextNode*>(n)) {
      out += "T\"" + t->text + "\"";
    } else if (auto* img = dynamic_cast<const TKStyledImageNode*>(n)) {
      out += "IMG[" + img->URL() + "]";
    } else if (dynamic_cast<const TKStyledLineBreakNode*>(n)) {
      out += "BR";
    } else if (auto* b = dynamic_cast<const TKStyledBoldNode*>(n)) {
      out += "B" + children(b);
    } else if (auto* i = dynamic_cast<const TKStyledItalicNode*>(n)) {
      out += "I" + children(i);
    } else if (auto* a = dynamic_cast<const TKStyledLinkNode*>(n)) {
      out += "A[" + a->URL + "]" + children(a);
    } else if (auto* s = dynamic_cast<const TKStyledInline*>(n)) {
      out += "S." + s->className + children(s);
    } else if (auto* d = dynamic_cast<const TKStyledElement*>(n)) {
      out += "D." + d->className + children(d);
    }
  }
  return out;
}

std::string parsed(const std::string& markup, bool lineBreaks = false, bool urls = false) {
  TKStyledTextParser parser;
  parser.setParseLineBreaks(lineBreaks);
  parser.setParseURLs(urls);
  parser.parseXHTML(markup);
  return shape(parser.rootNode().get());
}

TEST(TKStyledTextParser, MarkupBecomesNodes) {
  struct Case {
    const char* markup;
    bool lineBreaks, urls;
    const char* want;
  } cases[] = {
      {"plain", false, false, "T\"plain\""},
      {"<b>bold</b> text", false, false, "B(T\"bold\")T\" text\""},
      {"a<span class=\"yellowBox\">hit</span>b", false, false, "T\"a\"S.yellowBox(T\"hit\")T\"b\""},
      {"<span class=\"s\">x<u>y</u>z</span>", false, false, "S.s(T\"x\"T\"y\"T\"z\")"},
      {"<SPAN>x</SPAN>", false, false, "S.(T\"x\")"},
      {"<span CLASS=\"s\">x</span>", false, false, "S.(T\"x\")"},
      {"x&nbsp;y &amp; &lt;&gt;&quot;", false, false, "T\"x y & <>\"\""},
      {"a\n\nb", true, false, "T\"a\"BRBRT\"b\""},
      {"see HTTP://A.B, ok", false, true, "T\"see \"A[HTTP://A.B,](T\"HTTP://A.B,\")T\" ok\""},
      {"x http://a\nb", false, true, "T\"x \"A[http://a\nb](T\"http://a\nb\")"},
      {"http://a", true, false, "A[http://a](T\"http://a\")"},
      {"<i>x</i><br/><p class=\"c\">y</p>", false, false, "I(T\"x\")BRD.c(T\"y\")"},
      {"<a href=\"u\">t</a><img src=\"p\" width=\"w\"/>", false, false, "A[u](T\"t\")IMG[p]"},
      {"<b>x", false, false, "B()"},  // the parse stops; the gathered text is dropped
      {"", false, false, ""},
      // Text without markup, as the XML parser would take it (or, refusing
      // it, give it back whole).
      {"a ]]> b\x01", false, false, "T\"a ]]> b\x01\""},
      {"line\r\nnext", true, false, "T\"line\"BRT\"next\""},
  };
  for (const auto& c : cases) EXPECT_EQ(parsed(c.markup, c.lineBreaks, c.urls), c.want) << c.markup;
}

TEST(TKStyledTextParser, ImageAttributes) {
  TKStyledTextParser parser;
  parser.parseXHTML("<img class=\"pic\" src=\"bundle://x.png\" width=\"12.5\" height=\"nope\"/>");
  auto* img = dynamic_cast<TKStyledImageNode*>(parser.rootNode().get());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->className, "pic");
  EXPECT_FLOAT_EQ(img->width, 12.5f);
  EXPECT_FLOAT_EQ(img->height, 0);
}

TEST(TKStyledTextParser, NestingIsCapped) {
  std::string markup;
  for (int i = 0; i < 500; ++i) markup += "<span>";
  markup += "deep";
  for (int i = 0; i < 500; ++i) markup += "</span>";
  TKStyledTextParser parser;
  EXPECT_TRUE(parser.parseXHTML(markup));
  int depth = 0;
  for (TKStyledNode* n = parser.rootNode().get(); auto* e = dynamic_cast<TKStyledElement*>(n);
       n = e->firstChild().get()) {
    ++depth;
  }
  EXPECT_EQ(depth, TKStyledTextParser::kMaxDepth);
  EXPECT_EQ(parser.rootNode()->outerText(), "deep");
}

TEST(TKStyledTextDocument, ConstructorsAndMarkupErrors) {
  EXPECT_EQ(shape(TKStyledText::textFromXHTML("a http://x d")->rootNode().get()),
            "T\"a \"A[http://x](T\"http://x\")T\" d\"");
  EXPECT_EQ(shape(TKStyledText::textFromXHTML("a http://x d", false, false)->rootNode().get()), "T\"a http://x d\"");
  EXPECT_EQ(TKStyledText::textFromXHTML(""), nullptr);
  EXPECT_EQ(shape(TKStyledText::textWithURLs("<b>http://q</b>")->rootNode().get()),
            "T\"<b>\"A[http://q</b>](T\"http://q</b>\")");
  // Markup that is not well formed shows whole as text, never disappears.
  struct Case {
    const char* markup;
    const char* text;
  } broken[] = {
      {"<b>x", "x"},
      {"Tom & Jerry <b>run</b>", "Tom & Jerry run"},
      {"a < b and <i>c</i>", "a < b and c"},
      {"<span class=\"yellowBox\">fish</span> & chips", "fish & chips"},
  };
  for (const auto& c : broken) {
    auto doc = TKStyledText::textFromXHTML(c.markup, false, false);
    ASSERT_TRUE(doc) << c.markup;
    EXPECT_EQ(doc->rootNode()->outerText(), c.text);
  }
  // Text escaped into markup by the code comes back as it was.
  std::string word = "<R&D>";
  auto snippet = TKStyledText::textFromXHTML("a <span class=\"yellowBox\">" + TKStyledTextEscape(word) + "</span>",
                                             false, false);
  EXPECT_EQ(shape(snippet->rootNode().get()), "T\"a \"S.yellowBox(T\"<R&D>\")");
}

TEST(TKStyledNode, OuterTextAndHTML) {
  auto span = std::make_shared<TKStyledInline>("x");
  span->setNextSibling(std::make_shared<TKStyledImageNode>("u"));
  EXPECT_EQ(span->outerHTML(), "<div>x</div><img src=\"u\"/>");
  EXPECT_EQ(span->outerText(), "x");
  auto doc = TKStyledText::textFromXHTML("a<b>b<i>c</i></b><span></span>d");
  EXPECT_EQ(doc->rootNode()->outerText(), "abcd");
  EXPECT_EQ(doc->rootNode()->outerHTML(), "a<div>b<div>c</div></div><div/>d");
  EXPECT_EQ(doc->rootNode()->nextSibling()->description(), "*b*");
}

TEST(TKStyledNode, TreeEditing) {
  auto make = [](std::initializer_list<const char*> texts) {
    auto doc = std::make_shared<TKStyledText>();
    for (const char* t : texts) doc->addText(t);
    return doc;
  };
  struct Case {
    std::initializer_list<const char*> chain;
    int index;
    const char* want;
  } cases[] = {
      {{}, 3, "T\"N\""},
      {{"a"}, 1, "T\"a\"T\"N\""},
      {{"a", "b"}, 1, "T\"a\"T\"N\"T\"b\""},
      {{"a", "b", "c"}, 1, "T\"a\"T\"N\"T\"b\"T\"c\""},
      {{"a", "b", "c"}, 2, "T\"a\"T\"b\"T\"N\"T\"c\""},
      {{"a", "b"}, 0, "T\"N\"T\"a\"T\"b\""},
      {{"a", "b"}, 9, "T\"a\"T\"b\"T\"N\""},
      {{"a", "b"}, -1, "T\"a\"T\"b\"T\"N\""},
  };
  for (const auto& c : cases) {
    auto doc = make(c.chain);
    doc->insertChild(std::make_shared<TKStyledTextNode>("N"), c.index);
    EXPECT_EQ(shape(doc->rootNode().get()), c.want) << c.index;
  }

  auto parent = std::make_shared<TKStyledBlock>();
  auto a = std::make_shared<TKStyledTextNode>("a");
  auto b = std::make_shared<TKStyledTextNode>("b");
  parent->addChild(a);
  parent->addChild(b);
  EXPECT_EQ(a->parentNode(), parent.get());
  EXPECT_EQ(parent->lastChild(), b.get());
  parent->replaceChild(b.get(), std::make_shared<TKStyledTextNode>("c"));
  EXPECT_EQ(shape(parent->firstChild().get()), "T\"a\"T\"c\"");
  EXPECT_EQ(static_cast<TKStyledTextNode*>(parent->lastChild())->text, "c");
  parent->replaceChild(a.get(), nullptr);
  EXPECT_EQ(shape(parent->firstChild().get()), "T\"c\"");
  parent->replaceChild(parent->firstChild().get(), nullptr);
  EXPECT_EQ(parent->firstChild(), nullptr);
  EXPECT_EQ(parent->lastChild(), nullptr);
}

TEST(TKStyledNode, ElementsByClassDepthFirst) {
  auto doc = TKStyledText::textFromXHTML(
      "x<span class=\"a\"><b><span class=\"t\">1</span></b></span><span class=\"t\">2</span>");
  TKStyledElement* hit = doc->getElementByClassName("t");
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->outerText().substr(0, 1), "1");
  EXPECT_EQ(hit->ancestorOrSelfWithClass<TKStyledBoldNode>()->className, "");
  EXPECT_EQ(doc->getElementByClassName("a")->className, "a");
  EXPECT_EQ(doc->getElementByClassName("none"), nullptr);
}

TEST(TKStyledNode, HundredThousandNodesNeitherOverflowNorCrawl) {
  auto block = std::make_shared<TKStyledBlock>();
  for (int i = 0; i < 100000; ++i) block->addText(i % 2 ? "b " : "a ");
  auto doc = std::make_shared<TKStyledText>();
  doc->addChild(block);
  TKStyledNode* tail = block.get();
  for (int i = 0; i < 100000; ++i) {
    auto c = std::make_shared<TKStyledTextNode>("c");
    TKStyledNode* next = c.get();
    tail->setNextSibling(std::move(c));
    tail = next;
  }
  EXPECT_EQ(block->firstChild()->outerText().size(), 200000u);
  EXPECT_EQ(doc->rootNode()->outerHTML().size(), 200000u + 11 + 100000u);
  EXPECT_EQ(TKStyledLayout::findLastNode(doc->rootNode().get()), TKStyledNode::findLastSibling(doc->rootNode().get()));
  EXPECT_EQ(doc->getElementByClassName("missing"), nullptr);
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(1, 10));
  doc->setWidth(400);
  EXPECT_GT(doc->height(), 0);
  EXPECT_EQ(doc->hitTest({1, 1}), nullptr);
  doc.reset();  // released chain by chain
  block.reset();
}

// --- layout ---------------------------------------------------------------------------

class TKStyledLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { TKStyleSheet::setGlobalStyleSheet(std::make_shared<TestSheet>()); }
  void TearDown() override { TKStyleSheet::setGlobalStyleSheet(nullptr); }

  struct TestSheet : TKDefaultStyleSheet {
    TestSheet() {
      registerStyle("big", [](unsigned) -> std::shared_ptr<TKStyle> {
        return TKTextStyle::styleWithFont(ui::Font::systemFontOfSize(30), std::nullopt, nullptr);
      });
      registerStyle("floatLeft", [](unsigned) -> std::shared_ptr<TKStyle> {
        return TKBoxStyle::styleWithFloats(TKPositionFloatLeft, nullptr);
      });
    }
  };

  static std::vector<TKStyledTextFrame*> textFrames(TKStyledFrame* f) { return styledtest::textFrames(f); }
  static std::shared_ptr<TKStyledText> chain(std::initializer_list<const char*> texts, float width) {
    auto doc = std::make_shared<TKStyledText>();
    for (const char* t : texts) doc->addText(t);
    doc->setWidth(width);
    return doc;
  }
};

TEST_F(TKStyledLayoutTest, OneNodeIsMeasuredWhole) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  auto doc = TKStyledText::textFromXHTML("aaaa bbbb cccc dddd eeee", false, false);
  doc->setWidth(200);
  auto frames = textFrames(doc->rootFrame());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0]->text, "aaaa bbbb cccc dddd eeee");
  EXPECT_FLOAT_EQ(frames[0]->height(), 40);
  EXPECT_FLOAT_EQ(doc->height(), 40);
  // A new width drops the frames; the same width keeps them.
  TKStyledFrame* root = doc->rootFrame();
  doc->setWidth(200);
  EXPECT_EQ(doc->rootFrame(), root);
  doc->setWidth(100);
  EXPECT_TRUE(doc->needsLayout());
}

TEST_F(TKStyledLayoutTest, AWordExactlyAtTheWidthStays) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  struct Case {
    float width;
    float secondY;
  } cases[] = {{70, 0}, {69, 20}};
  for (const auto& c : cases) {
    auto doc = chain({"abc ", "def"}, c.width);
    auto frames = textFrames(doc->rootFrame());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_FLOAT_EQ(frames[1]->y(), c.secondY) << c.width;
  }
}

TEST_F(TKStyledLayoutTest, AnOverWideWordKeepsTheWidthOfTheRest) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  auto doc = chain({"aaaaaaaaaa ", "bb ", "cc"}, 50);
  auto frames = textFrames(doc->rootFrame());
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_FLOAT_EQ(doc->width(), 50);
  EXPECT_LE(frames[0]->width(), 50);  // broken by characters over two lines
  EXPECT_FLOAT_EQ(frames[0]->height(), 40);
  EXPECT_EQ(frames[1]->text, "bb ");
  EXPECT_FLOAT_EQ(frames[1]->y(), 40);
  EXPECT_FLOAT_EQ(frames[1]->x(), 0);
  // "cc" joins "bb " on a line of the label's width.
  EXPECT_FLOAT_EQ(frames[2]->y(), 40);
  EXPECT_FLOAT_EQ(frames[2]->x(), 30);
}

TEST_F(TKStyledLayoutTest, LineBreaks) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  float fontLine = TKStyleSheet::globalStyleSheet()->font().lineHeight();
  auto first = TKStyledText::textFromXHTML("<br/>x<i>y</i>");
  first->setWidth(200);
  EXPECT_FLOAT_EQ(textFrames(first->rootFrame()).front()->y(), 0);
  auto empty = TKStyledText::textFromXHTML("a<br/><br/>b<i>c</i>");
  empty->setWidth(200);
  auto frames = textFrames(empty->rootFrame());
  ASSERT_GE(frames.size(), 2u);
  EXPECT_FLOAT_EQ(frames[1]->y(), 20 + fontLine);
}

TEST_F(TKStyledLayoutTest, BaselinesAlignOnlyLinesOfSeveralFrames) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 0));
  ui::Font small = TKStyleSheet::globalStyleSheet()->font();
  auto doc = TKStyledText::textFromXHTML("a<span class=\"big\">B</span>");
  doc->setWidth(200);
  auto frames = textFrames(doc->rootFrame());
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_FLOAT_EQ(frames[0]->height(), small.pointSize());
  EXPECT_FLOAT_EQ(frames[0]->y(), 30 - (small.pointSize() - small.descender()));
  EXPECT_FLOAT_EQ(frames[1]->y(), 0);
  auto single = TKStyledText::textFromXHTML("<span class=\"big\">B</span>");
  single->setWidth(200);
  EXPECT_FLOAT_EQ(textFrames(single->rootFrame()).front()->y(), 0);
}

TEST_F(TKStyledLayoutTest, FloatsReleaseLinesOnlyAfterTheirHeight) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  auto image = std::make_shared<TKStyledImageNode>();
  image->className = "floatLeft";
  image->width = 40;
  image->height = 40;
  auto doc = std::make_shared<TKStyledText>();
  doc->addChild(image);
  doc->addText("aaaaa aaaaa aaaaa aaaaa aaaaa");
  doc->setWidth(110);
  auto frames = textFrames(doc->rootFrame());
  ASSERT_EQ(frames.size(), 4u);
  std::pair<float, float> want[] = {{40, 0}, {40, 20}, {40, 40}, {0, 60}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(frames[i]->x(), want[i].first) << i;
    EXPECT_FLOAT_EQ(frames[i]->y(), want[i].second) << i;
  }
}

TEST_F(TKStyledLayoutTest, AWrappedLinkGivesTwoLinkedPieces) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  auto doc = TKStyledText::textFromXHTML("aaa <a href=\"http://x\">bbb ccc</a> ddd");
  doc->setWidth(80);
  std::vector<TKStyledInlineFrame*> pieces;
  for (TKStyledFrame* f = doc->rootFrame(); f; f = f->nextFrame().get()) {
    if (auto* p = dynamic_cast<TKStyledInlineFrame*>(f)) pieces.push_back(p);
  }
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0]->inlineNextFrame, pieces[1]);
  EXPECT_EQ(pieces[1]->inlinePreviousFrame, pieces[0]);
  auto link = TKStyleSheet::globalStyleSheet()->styleWithSelector("linkText:");
  EXPECT_EQ(pieces[0]->style, link);
  EXPECT_EQ(pieces[1]->style, link);
  EXPECT_FLOAT_EQ(pieces[0]->y(), 0);
  EXPECT_FLOAT_EQ(pieces[1]->y(), 20);
  EXPECT_EQ(doc->hitTest({pieces[1]->x() + 1, 25}), pieces[1]);
  EXPECT_EQ(doc->hitTest({1, 1}), nullptr);  // plain text is never an answer
  EXPECT_EQ(doc->getFrameForNode(doc->rootNode()->nextSibling().get()), pieces[0]);
}

TEST_F(TKStyledLayoutTest, ReplacingTheRootDropsTheLayout) {
  ui::ScopedMeasurer fixed(std::make_shared<ui::FixedAdvanceMeasurer>(10, 20));
  auto doc = chain({"abc ", "def"}, 100);
  ASSERT_TRUE(doc->rootFrame());
  doc->setRootNode(std::make_shared<TKStyledTextNode>("xyz"));
  EXPECT_TRUE(doc->needsLayout());
  EXPECT_EQ(textFrames(doc->rootFrame()).front()->text, "xyz");
  // A tree with no frames stays in need of layout.
  auto none = std::make_shared<TKStyledText>(std::make_shared<TKStyledInline>());
  EXPECT_FLOAT_EQ(none->height(), 0);
  EXPECT_TRUE(none->needsLayout());
}

}  // namespace
