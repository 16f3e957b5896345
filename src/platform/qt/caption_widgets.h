#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPaintEvent>

namespace somnar {

// A widget whose caption is measured. Measuring text loads fonts, so until its window has
// shown the caption waits for the widget's first paint (which needs the fonts anyway) or the
// window's completion, whichever comes first: the window appears sooner, its first paint is
// the same.
class LateCaption {
  public:
    virtual ~LateCaption() = default;
    // Applies a caption still waiting.
    virtual void finishCaption() = 0;
};

template <typename Widget>
class LateCaptionWidget : public Widget, public LateCaption {
  public:
    using Widget::Widget;

    void finishCaption() final {
        if (pending_) {
            pending_ = false;
            applyCaption();
        }
    }

  protected:
    // Applies the caption now when the window shows, else later.
    void captionChanged() {
        pending_ = true;
        if (this->window()->isVisible()) {
            finishCaption();
        }
    }
    virtual void applyCaption() = 0;

    void paintEvent(QPaintEvent* event) override {
        finishCaption();  // painted as applied; the widget is updated once more
        Widget::paintEvent(event);
    }

  private:
    bool pending_ = false;
};

// A label's caption. A line too long for the label keeps both ends (a message's start, a
// path's file name) and, when asked, is shown whole as the tool tip.
class CaptionLabel final : public LateCaptionWidget<QLabel> {
  public:
    using LateCaptionWidget::LateCaptionWidget;
    void setCaption(const QString& caption, bool wholeAsToolTip);

  private:
    void applyCaption() override;

    QString caption_;
    bool wholeAsToolTip_ = false;
};

// A frame with its title.
class CaptionFrame final : public LateCaptionWidget<QGroupBox> {
  public:
    using LateCaptionWidget::LateCaptionWidget;
    void setCaption(const QString& caption);

  private:
    void applyCaption() override { setTitle(caption_); }

    QString caption_;
};

}  // namespace somnar
