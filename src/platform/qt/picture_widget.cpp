#include "platform/qt/picture_widget.h"

#include <QMouseEvent>

namespace somnar {

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

FilledArea::FilledArea(const QColor& color, QWidget* parent) : QWidget(parent) {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
    setAutoFillBackground(true);
}

}  // namespace somnar
