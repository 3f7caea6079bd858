#include "toolkit/tables/TKTableHeaderView.h"

#include "toolkit/styled/TKDefaultStyleSheet.h"

TKTableHeaderView::TKTableHeaderView(const std::string& title) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  setBackgroundColor(cg::Color::clear());
  setStyle(sheet->styleWithSelector("tableHeader"));
  label_ = std::make_shared<ui::Label>();
  label_->setText(title);
  label_->setBackgroundColor(cg::Color::clear());
  label_->setTextColor(sheet->tableHeaderTextColor().value_or(sheet->linkTextColor()));
  label_->setShadowColor(sheet->tableHeaderShadowColor().value_or(cg::Color::clear()));
  label_->setShadowOffset({0, 1});
  label_->setFont(sheet->tableFont());
  addSubview(label_);
}

void TKTableHeaderView::layoutSubviews() { label_->setFrame(cg::Rect(12, 0, frame().width(), 23)); }
