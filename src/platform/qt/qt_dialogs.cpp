#include "platform/qt/qt_dialogs.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace somnar {
namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtDialogs::showMessage(const MessageBox& box) {
    QString text = toQt(box.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox message(iconOf(box.icon), toQt(box.title), text, QMessageBox::NoButton,
                        parent_.data());
    message.setTextFormat(Qt::PlainText);
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    switch (box.buttons) {
        case MessageButtons::Ok:
            first = message.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            message.setEscapeButton(first);
            break;
        case MessageButtons::OkCancel:
            first = message.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            second = message.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
            message.setEscapeButton(second);
            break;
        case MessageButtons::YesNo:
            first = message.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
            second = message.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
            message.setEscapeButton(second);
            break;
    }
    message.setDefaultButton(first);
    message.exec();
    const bool firstChosen = message.clickedButton() == first;
    switch (box.buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return firstChosen ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return firstChosen ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

}  // namespace somnar
