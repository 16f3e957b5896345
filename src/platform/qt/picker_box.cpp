#include "platform/qt/picker_box.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
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

// What a screen reader sees of a picker: a combo box named for what it holds ("Ruhezeit Tag",
// where Qt's own would name it by its text on Linux), its text as its value, the list and the
// typing field inside it, and the action that opens or closes the list.
class PickerAccessible final : public QAccessibleWidget {
  public:
    explicit PickerAccessible(QComboBox* picker)
        : QAccessibleWidget(picker, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? picker()->currentText() : QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const auto* list = picker()->findChild<QAbstractItemView*>();  // not built for this
        state.expandable = true;
        state.expanded = list != nullptr && list->isVisible();
        state.collapsed = !state.expanded;
        state.editable = picker()->isEditable();
        return state;
    }

    int childCount() const override { return picker()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(picker()->view());
        }
        return index == 1 ? QAccessible::queryAccessibleInterface(picker()->lineEdit()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == picker()->view()) {
            return 0;
        }
        return child->object() != nullptr && child->object() == picker()->lineEdit() ? 1 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QLineEdit* field = picker()->lineEdit();
        return field != nullptr &&
                       QRect(field->mapToGlobal(QPoint(0, 0)), field->size()).contains(x, y)
                   ? child(1)
                   : nullptr;
    }
    // The picker holds the focus for its field, where the typing goes.
    QAccessibleInterface* focusChild() const override {
        return picker()->isEditable() ? child(1) : QAccessibleWidget::focusChild();
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (picker()->view()->isVisible()) {
            picker()->hidePopup();
        } else {
            picker()->showPopup();
        }
    }

  private:
    QComboBox* picker() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* pickerInterface(const QString& className, QObject* object) {
    auto* picker =
        className == QLatin1String("QComboBox") ? dynamic_cast<PickerBox*>(object) : nullptr;
    return picker != nullptr ? new PickerAccessible(picker) : nullptr;
}

}  // namespace

PickerBox::PickerBox(QWidget* parent, const std::optional<QFont>& font)
    : LateContentWidget(parent) {
    // Asked before Qt's own, from the first picker on.
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(pickerInterface), true);
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
