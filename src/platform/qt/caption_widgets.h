#pragma once

#include <QGroupBox>
#include <QLabel>

#include "platform/qt/late_content.h"

namespace somnar {

// A label's caption. A line too long for the label keeps both ends (a message's start, a
// path's file name) and, when asked, is shown whole as the tool tip.
class CaptionLabel final : public LateContentWidget<QLabel> {
  public:
    using LateContentWidget::LateContentWidget;
    void setCaption(const QString& caption, bool wholeAsToolTip);

  private:
    void applyContent() override;

    QString caption_;
    bool wholeAsToolTip_ = false;
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
