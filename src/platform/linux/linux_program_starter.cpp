#include "platform/linux/linux_program_starter.h"

#include <unistd.h>
#include <wordexp.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

namespace somnar {

namespace {

struct Invocation {
    QString program;
    QStringList arguments;
};

StartResult refused(StartError error, const QString& detail = {}) {
    return {error, detail.toStdString(), {}};
}

// The words of a command line as the shell splits them (wordexp(3)), with command
// substitution refused: Qt's own splitter knows no single quotes.
class ShellWords {
  public:
    explicit ShellWords(const QString& line)
        : error_(::wordexp(line.toUtf8().constData(), &words_, WRDE_NOCMD)) {}
    ~ShellWords() {
        // wordexp leaves a partial result to free only on WRDE_NOSPACE.
        if (error_ == 0 || error_ == WRDE_NOSPACE) {
            ::wordfree(&words_);
        }
    }
    ShellWords(const ShellWords&) = delete;
    ShellWords& operator=(const ShellWords&) = delete;

    int error() const { return error_; }

    QStringList list() const {
        QStringList result;
        for (std::size_t i = 0; error_ == 0 && i < words_.we_wordc; ++i) {
            result << QString::fromUtf8(words_.we_wordv[i]);
        }
        return result;
    }

  private:
    wordexp_t words_{};
    int error_;
};

// The interpreter and its one optional argument from a "#!" line, split as the kernel
// splits it; nothing when the file has no such line.
std::optional<Invocation> interpreterOf(const QString& file) {
    QFile script(file);
    if (!script.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray firstLine = script.readLine(256);
    if (!firstLine.startsWith("#!")) {
        return std::nullopt;
    }
    const QString rest = QString::fromUtf8(firstLine.mid(2)).trimmed();
    const qsizetype blank = rest.indexOf(QRegularExpression(QStringLiteral("\\s")));
    Invocation invocation{rest.left(blank), {}};
    if (blank >= 0) {
        invocation.arguments << rest.mid(blank).trimmed();
    }
    if (invocation.program.isEmpty()) {
        return std::nullopt;
    }
    return invocation;
}

// How to run an existing file; nothing when it cannot be run.
std::optional<Invocation> invocationFor(const QString& file) {
    const QFileInfo info(file);
    // Only a regular file is read for its "#!" line: reading a pipe could block.
    if (!info.isFile()) {
        return std::nullopt;
    }
    const QString path = info.absoluteFilePath();
    if (::access(QFile::encodeName(path).constData(), X_OK) == 0) {
        return Invocation{path, {}};
    }
    if (auto script = interpreterOf(path)) {
        script->arguments << path;
        return script;
    }
    if (path.endsWith(QStringLiteral(".sh"))) {
        return Invocation{QStringLiteral("/bin/sh"), {path}};
    }
    return std::nullopt;
}

StartResult launch(const Invocation& invocation, const QString& shownName) {
    if (!QProcess::startDetached(invocation.program, invocation.arguments)) {
        return refused(StartError::Failed, shownName);
    }
    return {};
}

StartResult startFile(const QString& file, const QStringList& arguments) {
    if (!QFileInfo::exists(file)) {
        return refused(StartError::NoSuchFile, file);
    }
    auto invocation = invocationFor(file);
    if (!invocation) {
        return refused(StartError::NotExecutable, file);
    }
    invocation->arguments << arguments;
    return launch(*invocation, file);
}

}  // namespace

StartResult LinuxProgramStarter::startDetached(const std::string& commandLine) {
    const QString line = QString::fromStdString(commandLine).trimmed();
    if (line.isEmpty()) {
        return refused(StartError::NoProgram);
    }
    // A path with blanks needs no quotes.
    if (QFileInfo::exists(line)) {
        return startFile(line, {});
    }
    const ShellWords words(line);
    if (words.error() == WRDE_BADCHAR || words.error() == WRDE_CMDSUB) {
        return refused(StartError::NeedsShell);
    }
    if (words.error() != 0) {
        return refused(StartError::Unreadable, line);
    }
    QStringList arguments = words.list();
    if (arguments.isEmpty() || arguments.first().isEmpty()) {
        return refused(StartError::NoProgram);
    }
    const QString program = arguments.takeFirst();
    if (program.contains(QLatin1Char('/'))) {
        return startFile(program, arguments);
    }
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        return refused(StartError::NotFound, program);
    }
    return launch({found, arguments}, program);
}

}  // namespace somnar
