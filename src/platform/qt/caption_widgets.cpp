#include "platform/qt/caption_widgets.h"

namespace somnar {

void CaptionLabel::setCaption(const QString& caption, bool wholeAsToolTip) {
    caption_ = caption;
    wholeAsToolTip_ = wholeAsToolTip;
    if (contentChanged()) {
        setText(caption);  // whole until measured
    }
}

void CaptionLabel::applyContent() {
    const QString shown =
        caption_.isEmpty() || caption_.contains(u'\n')
            ? caption_
            : fontMetrics().elidedText(caption_, Qt::ElideMiddle, contentsRect().width());
    setText(shown);
    if (shown != caption_ && wholeAsToolTip_) {
        setToolTip(caption_);
    }
}

void CaptionFrame::setCaption(const QString& caption) {
    caption_ = caption;
    contentChanged();
}

}  // namespace somnar
