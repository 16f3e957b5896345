#include "platform/qt/picker_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/qt/qt_text.h"

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

PickerBox::PickerBox(QWidget* parent, const std::optional<QFont>& font)
    : LateContentWidget(parent) {
    if (font) {
        setFont(*font);
    }
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(kVisibleItems);
}

void PickerBox::addField() {
    // Built with the picker's content: its first layout loads the picker's font, which is
    // needed no sooner than the window's first paint.
    auto* field = new QLineEdit(this);
    // The field is an input of its own to screen readers, under the picker's name.
    field->setAccessibleName(accessibleName());
    field->setCompleter(idleCompleter(window()));
    setLineEdit(field);
    field->setCompleter(nullptr);
}

void PickerBox::showChoice(const std::vector<std::string>& entries, int chosen,
                           const QString& text) {
    // Compared by length and first entry: the lists are numbers from a start, the dial-up
    // names or nothing, and the 1440 minutes are not copied for each keystroke.
    if (static_cast<std::size_t>(entries_.size()) != entries.size() ||
        (!entries.empty() && entries_.first() != toQt(entries.front()))) {
        entries_.clear();
        entries_.reserve(static_cast<qsizetype>(entries.size()));
        for (const std::string& entry : entries) {
            entries_ << toQt(entry);
        }
        entriesChanged_ = true;
    }
    chosen_ = chosen;
    text_ = text;
    contentChanged();
}

void PickerBox::applyContent() {
    const QSignalBlocker quiet(this);
    if (lineEdit() == nullptr) {
        addField();
    }
    if (entriesChanged_) {
        entriesChanged_ = false;
        clear();
        addItems(entries_);  // whole: item by item is slow for the 1440 minutes
    }
    if (chosen_ >= 0 && chosen_ < count()) {
        setCurrentIndex(chosen_);
    }
    if (currentText() != text_) {
        setEditText(text_);
    }
}

void PickerBox::changeEvent(QEvent* event) {
    // Qt builds the list to hand it a new font. A list built later takes the picker's font
    // as it is created, so until then a new font needs no more than any widget's handling.
    if (event->type() == QEvent::FontChange && findChild<QAbstractItemView*>() == nullptr) {
        QWidget::changeEvent(event);  // NOLINT(bugprone-parent-virtual-call): on purpose
        return;
    }
    LateContentWidget::changeEvent(event);
}

}  // namespace somnar
