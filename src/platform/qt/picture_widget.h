#pragma once

#include <QLabel>

namespace somnar {

// A picture box: shows a small image and reports a click on release.
class PictureWidget : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A plain filled area: the lines and the white shape behind the info text.
class FilledArea : public QWidget {
    Q_OBJECT
  public:
    FilledArea(const QColor& color, QWidget* parent);
};

}  // namespace somnar
