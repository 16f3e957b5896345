#pragma once

#include <QGroupBox>
#include <QLabel>

#include "platform/qt/late_content.h"

namespace somnar {

// A label's caption, shortened in the middle where it may be and does not fit; a shortened
// caption shows the tip given for that case.
class CaptionLabel final : public LateContentWidget<QLabel> {
  public:
    using LateContentWidget::LateContentWidget;
    void setCaption(const QString& caption, bool shortens, const QString& tipWhenCut);

  private:
    void applyContent() override;

    QString caption_;
    bool shortens_ = false;
    QString tipWhenCut_;
};

// A frame with its title.
class CaptionFrame final : public LateContentWidget<QGroupBox> {
  public:
    using LateContentWidget::LateContentWidget;
    void setCaption(const QString& caption);

  private:
    void applyContent() override { setTitle(caption_); }

    QString caption_;
};

}  // namespace somnar
