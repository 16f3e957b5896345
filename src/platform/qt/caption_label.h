#pragma once

#include <QLabel>

namespace somnar {

// A label's caption. A line too long for the label keeps both ends (a message's start, a
// path's file name) and, when asked, is shown whole as the tool tip. Measuring text loads
// fonts, so a label whose window has not shown yet measures when it first paints, which
// needs the fonts anyway: the window appears sooner and its first paint is the same.
class CaptionLabel : public QLabel {
  public:
    using QLabel::QLabel;

    void setCaption(const QString& caption, bool wholeAsToolTip);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void fit();

    QString caption_;
    bool wholeAsToolTip_ = false;
    bool fitPending_ = false;
};

}  // namespace somnar
