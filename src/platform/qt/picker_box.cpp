#include "platform/qt/picker_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>

namespace somnar {
namespace {

constexpr int kVisibleItems = 12;

// The editable field must have a completer when the combo box gets it, or the combo box builds
// one over its whole list; one completer without a list serves every picker of a window.
QCompleter* idleCompleter(QWidget* window) {
    static const QString name = QStringLiteral("idlePickerCompleter");
    auto* completer = window->findChild<QCompleter*>(name, Qt::FindDirectChildrenOnly);
    if (completer == nullptr) {
        completer = new QCompleter(window);
        completer->setObjectName(name);
    }
    return completer;
}

}  // namespace

PickerBox::PickerBox(QWidget* parent, const std::optional<QFont>& font) : QComboBox(parent) {
    if (font) {
        setFont(*font);
    }
    auto* field = new QLineEdit(this);
    field->setCompleter(idleCompleter(window()));
    setLineEdit(field);
    field->setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(kVisibleItems);
}

void PickerBox::changeEvent(QEvent* event) {
    // Qt builds the list to hand it a new font. A list built later takes the picker's font
    // as it is created, so until then a new font needs no more than any widget's handling.
    if (event->type() == QEvent::FontChange && findChild<QAbstractItemView*>() == nullptr) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

}  // namespace somnar
