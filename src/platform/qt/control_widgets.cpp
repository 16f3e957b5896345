#include "platform/qt/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>

#include "layout/captions.h"
#include "layout/geometry.h"
#include "platform/model_hold.h"
#include "platform/qt/caption_widgets.h"
#include "platform/qt/look.h"
#include "platform/qt/picker_box.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/qt_text.h"

namespace somnar {
namespace {

constexpr QSize kPictureSize{16, 16};

QColor lineColor(const Line& line, const QWidget& widget) {
    return line.color() == LineColor::ActiveTitle ? widget.palette().color(QPalette::Highlight)
                                                  : widget.palette().color(QPalette::Mid);
}

void setTextColor(QWidget& widget, const std::optional<Rgb>& color, QPalette::ColorRole role) {
    if (!color) {
        return;
    }
    QPalette colors = widget.palette();
    colors.setColor(QPalette::Active, role, QColor(color->red, color->green, color->blue));
    colors.setColor(QPalette::Inactive, role, QColor(color->red, color->green, color->blue));
    widget.setPalette(colors);
}

Qt::Alignment labelAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case Alignment::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

// Qt displays "\n"; the model's texts carry CR LF.
QString displayText(const std::string& text) {
    QString shown = toQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

Qt::CheckState checkState(int value) {
    switch (value) {
        case CheckBox::Checked:
            return Qt::Checked;
        case CheckBox::Grayed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
    }
}

// Files dropped onto a text box and the mouse resting on it reach the model; no drop
// pastes text, neither the names of files nor anything else.
class TextBoxEvents : public QObject {
  public:
    TextBoxEvents(TextBox& box, QObject* parent) : QObject(parent), box_(box) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (box_.acceptsFileDrops() && !localFiles(drag->mimeData()).empty()) {
                    drag->acceptProposedAction();
                } else {
                    drag->ignore();
                }
                return true;
            }
            case QEvent::Drop: {
                // Only local files: a line edit would paste dropped text or a web address.
                auto* drop = static_cast<QDropEvent*>(event);
                const std::vector<std::string> files = localFiles(drop->mimeData());
                if (box_.acceptsFileDrops() && !files.empty() && !ModelHold::engaged()) {
                    drop->acceptProposedAction();
                    box_.userDropFiles(files);
                } else {
                    drop->ignore();
                }
                return true;
            }
            case QEvent::ToolTip:
            case QEvent::Enter:
                box_.userMouseMove();  // the tool tip shown next is the one it sets
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    static std::vector<std::string> localFiles(const QMimeData* data) {
        std::vector<std::string> files;
        if (data == nullptr) {
            return files;
        }
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files.push_back(fromQt(url.toLocalFile()));
            }
        }
        return files;
    }

    TextBox& box_;
};

QWidget* createButton(CommandButton& button, QWidget* parent) {
    auto* widget = new QPushButton(parent);
    if (button.picture() != Picture::None) {
        widget->setIcon(iconFor(button.picture()));
        widget->setIconSize(kPictureSize);
    }
    return widget;
}

QWidget* createCheckBox(CheckBox& box, QWidget* parent) {
    if (box.buttonLook()) {
        auto* widget = new QPushButton(parent);
        widget->setCheckable(true);
        return widget;
    }
    auto* widget = new QCheckBox(parent);
    widget->setTristate(true);
    return widget;
}

QWidget* createTextBox(TextBox& box, QWidget* parent) {
    if (box.multiLine()) {
        auto* widget = new QPlainTextEdit(parent);
        widget->setReadOnly(true);
        widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return widget;
    }
    return new QLineEdit(parent);
}

QWidget* createFrame(Frame& frame, QWidget* parent) {
    if (frame.borderless()) {
        return new QWidget(parent);
    }
    return new CaptionFrame(parent);
}

QWidget* createPicture(PictureBox& picture, QWidget* parent) {
    auto* widget = new PictureWidget(parent);
    widget->setAlignment(Qt::AlignCenter);
    widget->setPixmap(iconFor(picture.picture()).pixmap(kPictureSize));
    return widget;
}

void syncTextBox(const TextBox& box, QWidget& widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        if (edit->text() != toQt(box.text())) {
            edit->setText(toQt(box.text()));
        }
        edit->setEchoMode(box.passwordChar().empty() ? QLineEdit::Normal : QLineEdit::Password);
        setTextColor(*edit, box.foreColor(), QPalette::Text);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(&widget)) {
        if (area->toPlainText() != displayText(box.text())) {
            area->setPlainText(displayText(box.text()));
        }
        setTextColor(*area, box.foreColor(), QPalette::Text);
    }
}

void syncLabel(const Label& label, CaptionLabel& widget) {
    widget.setTextFormat(Qt::PlainText);
    widget.setAlignment(labelAlignment(label.alignment()));
    setTextColor(widget, label.foreColor(), QPalette::WindowText);
    const QString caption = toQt(label.caption());
    if (label.autoSize() && widget.parentWidget() != nullptr) {
        // No text has to be measured before the window shows.
        widget.resize(
            autoSizedWidth(label, kStandardDpi, widget.x(), widget.parentWidget()->width()),
            widget.height());
        widget.setText(caption);
        return;
    }
    widget.setCaption(caption, shortensCaption(label), toQt(toolTipShown(label, true)));
}

}  // namespace

QWidget* createControlWidget(Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind()) {
        case ControlKind::CommandButton:
            widget = createButton(static_cast<CommandButton&>(control), parent);
            break;
        case ControlKind::CheckBox:
            widget = createCheckBox(static_cast<CheckBox&>(control), parent);
            break;
        case ControlKind::OptionButton:
            // Auto-exclusive, so that screen readers see radio buttons and the arrow keys move
            // between them; Qt groups the options of one frame, as the model does.
            widget = new QRadioButton(parent);
            break;
        case ControlKind::Picker:
            widget = new PickerBox(
                parent, control.font() ? std::optional(fontFor(*control.font())) : std::nullopt);
            break;
        case ControlKind::TextBox:
            widget = createTextBox(static_cast<TextBox&>(control), parent);
            break;
        case ControlKind::Label:
            widget = new CaptionLabel(parent);
            break;
        case ControlKind::Frame:
            widget = createFrame(static_cast<Frame&>(control), parent);
            break;
        case ControlKind::PictureBox:
            widget = createPicture(static_cast<PictureBox&>(control), parent);
            break;
        case ControlKind::Line: {
            auto& line = static_cast<Line&>(control);
            widget = new FilledArea(lineColor(line, *parent), parent);
            break;
        }
        case ControlKind::Shape:
            widget = new FilledArea(Qt::white, parent);
            break;
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            return nullptr;
    }
    widget->setObjectName(toQt(control.key()));
    // Inside the widget of its frame, at 96 dpi: Qt scales logical pixels.
    widget->setGeometry(toQt(widgetRect(control, kStandardDpi, Nesting::InFrames)));
    if (control.font() && control.kind() != ControlKind::Picker) {
        widget->setFont(fontFor(*control.font()));
    }
    return widget;
}

void syncControlWidget(const Control& control, QWidget& widget) {
    const QSignalBlocker quiet(&widget);
    widget.setEnabled(control.enabled());
    widget.setToolTip(toQt(control.toolTip()));
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            const auto& button = static_cast<const CommandButton&>(control);
            if (button.picture() == Picture::None) {
                static_cast<QPushButton&>(widget).setText(toQt(button.caption()));
            }
            break;
        }
        case ControlKind::CheckBox: {
            const auto& box = static_cast<const CheckBox&>(control);
            if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
                check->setText(toQt(box.caption()));
                check->setCheckState(checkState(box.value()));
            } else {
                auto& toggle = static_cast<QPushButton&>(widget);
                toggle.setText(toQt(box.caption()));
                toggle.setChecked(box.ticked());
            }
            break;
        }
        case ControlKind::OptionButton: {
            const auto& option = static_cast<const OptionButton&>(control);
            auto& radio = static_cast<QRadioButton&>(widget);
            radio.setText(toQt(option.caption()));
            if (radio.isChecked() != option.value()) {
                // Qt keeps the checked option of a group checked, and checking one clears the
                // others unasked; the model clears and sets each option itself.
                radio.setAutoExclusive(false);
                radio.setChecked(option.value());
                radio.setAutoExclusive(true);
            }
            break;
        }
        case ControlKind::Picker: {
            const auto& picker = static_cast<const Picker&>(control);
            static_cast<PickerBox&>(widget).showChoice(picker.items(), picker.listIndex(),
                                                       toQt(picker.text()));
            break;
        }
        case ControlKind::TextBox:
            syncTextBox(static_cast<const TextBox&>(control), widget);
            break;
        case ControlKind::Label:
            syncLabel(static_cast<const Label&>(control), static_cast<CaptionLabel&>(widget));
            break;
        case ControlKind::Frame:
            if (auto* group = dynamic_cast<CaptionFrame*>(&widget)) {
                group->setCaption(toQt(static_cast<const Frame&>(control).caption()));
            }
            break;
        case ControlKind::PictureBox:
        case ControlKind::Line:
        case ControlKind::Shape:
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            break;
    }
}

void connectControlInput(Control& control, QWidget& widget, const std::function<void()>& resync) {
    // A click, key or screen reader's action reaches the model unless a platform call holds
    // it or the widget is hidden: a screen reader's action comes over the bus even then, as no
    // input event the wait holds back, and for what nobody sees. Either way the widget then
    // shows the model's answer.
    const auto toModel = [&resync, &widget](std::function<void()> input) {
        return [input = std::move(input), resync, &widget] {
            if (!ModelHold::engaged() && widget.isVisible()) {
                input();
            }
            resync();
        };
    };
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            auto& button = static_cast<CommandButton&>(control);
            QObject::connect(static_cast<QPushButton*>(&widget), &QPushButton::clicked, &widget,
                             toModel([&button] { button.userClick(); }));
            break;
        }
        // A box or option changes by a click, a key or a screen reader's action (which only
        // toggles the widget): each change is one click for the model.
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            const auto changed = toModel([&box] { box.userClick(); });
            if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
                // Every state of the three, not only ticked or not.
                QObject::connect(check, &QCheckBox::stateChanged, check, changed);
            } else {
                auto* toggle = static_cast<QAbstractButton*>(&widget);
                QObject::connect(toggle, &QAbstractButton::toggled, toggle, changed);
            }
            break;
        }
        case ControlKind::OptionButton: {
            auto& option = static_cast<OptionButton&>(control);
            // Only the option chosen: Qt clears the one chosen before, and the model answers
            // for all of them (resync shows the whole group).
            QObject::connect(static_cast<QRadioButton*>(&widget), &QRadioButton::toggled, &widget,
                             [chosen = toModel([&option] { option.userClick(); })](bool on) {
                                 if (on) {
                                     chosen();
                                 }
                             });
            break;
        }
        case ControlKind::Picker: {
            auto& picker = static_cast<Picker&>(control);
            auto* combo = static_cast<QComboBox*>(&widget);
            QObject::connect(combo, &QComboBox::editTextChanged, combo,
                             [&picker](const QString& text) { picker.userSetText(fromQt(text)); });
            break;
        }
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(control);
            if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
                QObject::connect(edit, &QLineEdit::textEdited, edit,
                                 [&box](const QString& text) { box.userSetText(fromQt(text)); });
                edit->installEventFilter(new TextBoxEvents(box, edit));
                edit->setAcceptDrops(box.acceptsFileDrops());
            }
            break;
        }
        case ControlKind::PictureBox: {
            auto& picture = static_cast<PictureBox&>(control);
            QObject::connect(static_cast<PictureWidget*>(&widget), &PictureWidget::clicked, &widget,
                             toModel([&picture] { picture.userClick(); }));
            break;
        }
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::Line:
        case ControlKind::Shape:
        case ControlKind::Timer:
        case ControlKind::MenuEntry:
            break;
    }
}

}  // namespace somnar
