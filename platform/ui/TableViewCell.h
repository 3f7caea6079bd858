#pragma once
// One row of a table: a content view that holds what the row shows (a text
// label, a detail label and an image in the built-in styles, or a caller's own
// views), a background, a selected background, an accessory, and the editing
// controls. A cell is reused for other rows by its reuse identifier. Main
// thread only.
#include <memory>
#include <string>

#include "platform/text/Font.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/View.h"

namespace ui {

class TableView;

// The platform's numbering.
// Value2: a small caption at the left beside the detail text.
enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
// The detail disclosure button takes its own taps: the table tells its delegate.
enum class TableViewCellAccessoryType { None = 0, DisclosureIndicator = 1, DetailDisclosureButton = 2, Checkmark = 3 };
enum class TableViewCellSelectionStyle { None = 0, Blue = 1, Gray = 2 };
enum class TableViewCellEditingStyle { None = 0, Delete = 1, Insert = 2 };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1, SingleLineEtched = 2 };

// A cell's text and detail labels: labels that have the cell place them
// again when their text changes (value-1 sizes the detail by its text).
class TableCellLabel : public Label {
 public:
  explicit TableCellLabel(cg::Rect frame);
  void setText(const std::string& text);
};

// The image at the left of a cell, shrunk to fit the row and centred; a new
// image has the cell place it again.
class TableCellImageView : public ImageView {
 public:
  explicit TableCellImageView(cg::Rect frame);
  void setImage(std::shared_ptr<Image> image);
};

class TableViewCell : public View {
 public:
  TableViewCell(TableViewCellStyle style, const std::string& reuseIdentifier);
  ~TableViewCell() override;

  const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  TableViewCellStyle style() const { return style_; }

  // Subviews of a cell's own go into the content view, which the cell moves
  // aside for the editing controls and the accessory.
  const std::shared_ptr<View>& contentView() const { return contentView_; }
  TableCellLabel* textLabel() const { return textLabel_.get(); }
  // None in the default style.
  TableCellLabel* detailTextLabel() const { return detailTextLabel_.get(); }
  TableCellImageView* imageView() const { return imageView_.get(); }

  std::shared_ptr<View> backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  std::shared_ptr<View> selectedBackgroundView() const { return selectedBackgroundView_; }
  void setSelectedBackgroundView(std::shared_ptr<View> view);

  TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
  void setAccessoryType(TableViewCellAccessoryType type);
  TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
  void setSelectionStyle(TableViewCellSelectionStyle style);

  bool isSelected() const { return selected_; }
  void setSelected(bool selected) { setSelected(selected, false); }
  virtual void setSelected(bool selected, bool animated);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted) { setHighlighted(highlighted, false); }
  virtual void setHighlighted(bool highlighted, bool animated);

  // Editing: the table sets it on every cell it shows while it edits, and on
  // one cell swiped to delete.
  bool isEditing() const { return editing_; }
  void setEditing(bool editing) { setEditing(editing, false); }
  virtual void setEditing(bool editing, bool animated);
  // The row's editing style, as the table's delegate gave it.
  TableViewCellEditingStyle editingStyle() const { return editingStyle_; }
  bool shouldIndentWhileEditing() const { return shouldIndentWhileEditing_; }
  void setShouldIndentWhileEditing(bool on);
  bool showingDeleteConfirmation() const { return showingDeleteConfirmation_; }

  // Before the table hands the cell out again for another row.
  virtual void prepareForReuse();

  void layoutSubviews() override;
  void setFrame(cg::Rect frame) override;

 private:
  friend class TableView;
  enum class GroupPosition { None, Single, Top, Middle, Bottom };

  void buildStyle();
  void refreshHighlightState(bool animated);
  void layoutContent();
  float accessoryWidth() const;
  float editingIndent() const;
  // Set by the table.
  void setTable(TableView* table) { table_ = table; }
  void setEditingStyle(TableViewCellEditingStyle style, bool indent);
  void setSeparator(TableViewCellSeparatorStyle style, cg::Color color);
  void setGroupPosition(GroupPosition position);
  void setDeleteConfirmation(bool showing, const std::string& title, bool animated);
  void deleteControlTapped();
  void deleteConfirmationTapped();
  void accessoryButtonTapped();

  std::string reuseIdentifier_;
  TableViewCellStyle style_;
  TableView* table_ = nullptr;  // cleared by the table when it goes

  std::shared_ptr<View> contentView_;
  std::shared_ptr<TableCellLabel> textLabel_;
  std::shared_ptr<TableCellLabel> detailTextLabel_;
  std::shared_ptr<TableCellImageView> imageView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> selectedBackgroundView_;
  std::shared_ptr<View> accessoryView_;
  std::shared_ptr<View> separatorView_;
  std::shared_ptr<View> deleteControl_;
  std::shared_ptr<View> deleteButton_;

  TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::None;
  TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::Blue;
  TableViewCellEditingStyle editingStyle_ = TableViewCellEditingStyle::Delete;
  TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
  GroupPosition groupPosition_ = GroupPosition::None;
  bool selected_ = false;
  bool highlighted_ = false;
  bool editing_ = false;
  bool shouldIndentWhileEditing_ = true;
  bool showingDeleteConfirmation_ = false;
};

}  // namespace ui
