#include "platform/linux/dialup_dialler.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <vector>

namespace somnar {

namespace {

// Without a shell, so a name or password with blanks or quotes stays one argument; detached
// (QProcess forks twice and reaps the middle process), so the dialler is not our child and
// neither becomes our zombie nor ends with us.
bool startDetached(const QString& program, const std::vector<std::string>& arguments) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        return false;
    }
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    return QProcess::startDetached(found, list);
}

}  // namespace

DialResult startPon(const std::string& peer, const std::string& user, const std::string& password) {
    std::vector<std::string> arguments = {peer};
    if (!user.empty()) {
        arguments.insert(arguments.end(), {"user", user});
    }
    if (!password.empty()) {
        arguments.insert(arguments.end(), {"password", password});
    }
    if (!startDetached(QStringLiteral("pon"), arguments)) {
        return {false, "pon konnte nicht gestartet werden (ist das Paket ppp installiert?)."};
    }
    return {true, {}};
}

DialResult startNmcli(const std::string& connectionId) {
    if (!startDetached(QStringLiteral("nmcli"), {"connection", "up", "id", connectionId})) {
        return {false, "nmcli konnte nicht gestartet werden (ist NetworkManager installiert?)."};
    }
    return {true, {}};
}

}  // namespace somnar
