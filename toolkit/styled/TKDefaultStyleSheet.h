#pragma once
// The toolkit's stock look: the named styles its views draw with, and the
// colours and fonts callers read from the global sheet each time they need
// them. Subclasses override accessors or register further styles. Main thread only.
#include <memory>
#include <optional>

#include "platform/graphics/Color.h"
#include "platform/text/Font.h"
#include "toolkit/styled/TKStyleSheet.h"

class TKShape;

class TKDefaultStyleSheet : public TKStyleSheet {
 public:
  TKDefaultStyleSheet();

  // Colours (a new value on every call; nullopt where the sheet has none).
  virtual cg::Color textColor();
  virtual cg::Color highlightedTextColor();
  virtual cg::Color placeholderTextColor();
  virtual cg::Color timestampTextColor();
  virtual cg::Color linkTextColor();
  virtual cg::Color moreLinkTextColor();
  virtual cg::Color selectedTextColor();
  virtual cg::Color photoCaptionTextColor();
  virtual cg::Color navigationBarTintColor();
  virtual cg::Color toolbarTintColor();
  virtual cg::Color searchBarTintColor();
  virtual cg::Color screenBackgroundColor();
  virtual cg::Color backgroundColor();
  virtual cg::Color tableActivityTextColor();
  virtual cg::Color tableErrorTextColor();
  virtual cg::Color tableSubTextColor();
  virtual cg::Color tableTitleTextColor();
  virtual std::optional<cg::Color> tableHeaderTextColor();
  virtual std::optional<cg::Color> tableHeaderShadowColor();
  virtual std::optional<cg::Color> tableHeaderTintColor();
  virtual cg::Color tableSeparatorColor();
  virtual std::optional<cg::Color> tablePlainBackgroundColor();
  virtual cg::Color tableGroupedBackgroundColor();
  virtual cg::Color searchTableBackgroundColor();
  virtual cg::Color searchTableSeparatorColor();
  virtual cg::Color tabBarTintColor();
  virtual cg::Color tabTintColor();
  virtual cg::Color messageFieldTextColor();
  virtual cg::Color messageFieldSeparatorColor();
  virtual cg::Color thumbnailBackgroundColor();
  virtual cg::Color calendarHeaderTopColor();
  virtual cg::Color calendarHeaderBottomColor();
  virtual cg::Color calendarGridTopColor();
  virtual cg::Color calendarGridBottomColor();
  virtual cg::Color calendarTextColor();
  virtual cg::Color calendarHeaderTextColor();
  virtual cg::Color calendarTextLightColor();
  virtual cg::Color calendarTileDimmedOutColor();
  virtual cg::Color calendarGridLineHighlightColor();
  virtual cg::Color calendarGridLineShadowColor();
  virtual cg::Color calendarContentSeparatorColor();

  // Fonts.
  virtual ui::Font font();
  virtual ui::Font buttonFont();
  virtual ui::Font tableFont();
  virtual ui::Font tableSmallFont();
  virtual ui::Font tableTitleFont();
  virtual ui::Font tableTimestampFont();
  virtual ui::Font tableButtonFont();
  virtual ui::Font tableSummaryFont();
  virtual ui::Font photoCaptionFont();
  virtual ui::Font messageFont();
  virtual ui::Font errorTitleFont();
  virtual ui::Font errorSubtitleFont();
  virtual ui::Font activityLabelFont();
  virtual ui::Font activityBannerFont();
  virtual int tableSelectionStyle() { return 1; }

  // Building blocks of the named styles.
  std::shared_ptr<TKStyle> badgeWithFontSize(float size);
  std::shared_ptr<TKStyle> tabGridTab(unsigned state, int corner);
  std::shared_ptr<TKStyle> tabGridTabImage(unsigned state);
  std::shared_ptr<TKStyle> toolbarButtonForState(unsigned state, std::shared_ptr<TKShape> shape, cg::Color tintColor,
                                                 std::optional<ui::Font> font);
  cg::Color toolbarButtonColorWithTintColor(cg::Color tint, unsigned state);
  cg::Color toolbarButtonTextColorForState(unsigned state);
  std::shared_ptr<TKStyle> selectionFillStyle(std::shared_ptr<TKStyle> next);
  std::shared_ptr<TKStyle> calendarTileWithColor(cg::Color color);
  std::shared_ptr<TKStyle> calendarTileMarkWithColor(cg::Color color);
  std::shared_ptr<TKStyle> calendarTileMarkWithColorLand(cg::Color color);

 private:
  void registerStyles();
};
