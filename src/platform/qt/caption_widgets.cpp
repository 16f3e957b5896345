#include "platform/qt/caption_widgets.h"

namespace somnar {

void CaptionLabel::setCaption(const QString& caption, bool shortens, const QString& tipWhenCut) {
    caption_ = caption;
    shortens_ = shortens;
    tipWhenCut_ = tipWhenCut;
    if (contentChanged()) {
        setText(caption);  // whole until measured
    }
}

void CaptionLabel::applyContent() {
    const QString shown =
        shortens_ ? fontMetrics().elidedText(caption_, Qt::ElideMiddle, contentsRect().width())
                  : caption_;
    setText(shown);
    if (shown != caption_) {
        setToolTip(tipWhenCut_);
    }
}

void CaptionFrame::setCaption(const QString& caption) {
    caption_ = caption;
    contentChanged();
}

}  // namespace somnar
