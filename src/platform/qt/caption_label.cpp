#include "platform/qt/caption_label.h"

namespace somnar {

void CaptionLabel::setCaption(const QString& caption, bool wholeAsToolTip) {
    caption_ = caption;
    wholeAsToolTip_ = wholeAsToolTip;
    if (window()->isVisible()) {
        fit();
    } else {
        setText(caption);
        fitPending_ = true;
    }
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    if (fitPending_) {
        fit();  // the label paints the shortened line at once and is updated again
    }
    QLabel::paintEvent(event);
}

void CaptionLabel::fit() {
    fitPending_ = false;
    const QString shown =
        caption_.isEmpty() || caption_.contains(u'\n')
            ? caption_
            : fontMetrics().elidedText(caption_, Qt::ElideMiddle, contentsRect().width());
    setText(shown);
    if (shown != caption_ && wholeAsToolTip_) {
        setToolTip(caption_);
    }
}

}  // namespace somnar
