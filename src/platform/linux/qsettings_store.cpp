#include "platform/linux/qsettings_store.h"

#include "platform/linux/private_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>

namespace somnar {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderName = "somnar-scheduler";
constexpr const char* kBackupSuffix = ".unreadable";
constexpr int kMaxBackups = 100;
// Longest wait for another writer's QSettings lock; QSettings itself would wait forever.
constexpr int kLockWaitMs = 3000;

QString toQt(const fs::path& path) {
    return QFile::decodeName(path.c_str());
}

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString settingsKey(std::string_view section, std::string_view key) {
    if (section.empty()) {
        return toQt(key);
    }
    return toQt(section) + QLatin1Char('/') + toQt(key);
}

// What QSettings looks at to decide whether its cached copy of a file is still current.
struct FileSignature {
    qint64 size = 0;
    qint64 modifiedMs = 0;
    friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

FileSignature signatureOf(const QString& path) {
    const QFileInfo info(path);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

// QSettings keeps every parsed file in a process-wide cache and reports a parse error
// only on the parse itself; a later QSettings on the unchanged file says NoError and
// hands out what it managed to read. So the verdict is kept here, on the same terms.
class BrokenFiles {
  public:
    static BrokenFiles& instance() {
        static BrokenFiles files;
        return files;
    }

    bool contains(const QString& path, const FileSignature& signature) {
        const std::lock_guard lock(mutex_);
        const auto found = files_.find(path);
        return found != files_.end() && found->second == signature;
    }

    void remember(const QString& path, const FileSignature& signature) {
        const std::lock_guard lock(mutex_);
        files_.insert_or_assign(path, signature);
    }

    void forget(const QString& path) {
        const std::lock_guard lock(mutex_);
        files_.erase(path);
    }

  private:
    std::mutex mutex_;
    std::map<QString, FileSignature> files_;
};

enum class FileState { Absent, Usable, Unusable };

// Reads the file only; it is never written or created here.
FileState inspect(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return errno == ENOENT ? FileState::Absent : FileState::Unusable;
    }
    if (!S_ISREG(status.st_mode)) {
        return FileState::Unusable;
    }
    const QString path = toQt(file);
    if (QFile probe(path); !probe.open(QIODevice::ReadOnly)) {
        return FileState::Unusable;
    }
    const FileSignature signature = signatureOf(path);
    if (BrokenFiles::instance().contains(path, signature)) {
        return FileState::Unusable;
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.allKeys();  // parses every section, so any format error shows in status()
    if (settings.status() != QSettings::NoError) {
        BrokenFiles::instance().remember(path, signature);
        return FileState::Unusable;
    }
    return FileState::Usable;
}

// An empty file made 0600 from the start, so that QSaveFile, which copies the mode of
// the file it replaces, never writes the values into a wider file.
bool createPrivateFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno == EEXIST;  // kept as it is; tightenMode() follows
    }
    return ::close(fd) == 0;
}

bool tightenMode(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return false;
    }
    if ((status.st_mode & 0077) == 0) {
        return true;
    }
    return ::chmod(file.c_str(), status.st_mode & 0700) == 0;
}

bool renameWithoutReplacing(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without RENAME_NOREPLACE: check first, accepting the small race.
    std::error_code error;
    if (fs::exists(fs::symlink_status(to, error))) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Keeps the unreadable file beside the fresh one; an earlier backup is never replaced.
bool moveAside(const fs::path& file) {
    for (int number = 1; number <= kMaxBackups; ++number) {
        fs::path backup = file;
        backup += kBackupSuffix;
        if (number > 1) {
            backup += ".";
            backup += std::to_string(number);
        }
        if (renameWithoutReplacing(file, backup)) {
            BrokenFiles::instance().forget(toQt(file));
            return true;
        }
        if (errno != EEXIST && errno != ENOTEMPTY) {
            return false;
        }
    }
    return false;
}

// QSettings waits without limit for its lock file; a bounded wait here keeps a write
// from hanging behind another process.
bool settingsLockIsFree(const fs::path& file) {
    QLockFile lock(toQt(file) + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        return false;
    }
    lock.unlock();
    return true;
}

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace

QSettingsStore::QSettingsStore(fs::path configHome) {
    if (configHome.empty()) {
        const QString home =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        configHome = QFile::encodeName(home).toStdString();
    }
    if (!configHome.empty()) {
        folder_ = configHome / kFolderName;
    }
}

fs::path QSettingsStore::fileFor(std::string_view application) const {
    if (folder_.empty() || !isPlainFileName(application)) {
        return {};
    }
    return folder_ / (std::string(application) + ".ini");
}

std::string QSettingsStore::read(std::string_view application, std::string_view section,
                                 std::string_view key) {
    try {
        const fs::path file = fileFor(application);
        if (file.empty() || inspect(file) != FileState::Usable) {
            return {};
        }
        const QSettings settings(toQt(file), QSettings::IniFormat);
        return settings.value(settingsKey(section, key)).toString().toStdString();
    } catch (...) {
        return {};
    }
}

bool QSettingsStore::write(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view value) {
    return writeValues(application, section, {{std::string(key), std::string(value)}});
}

bool QSettingsStore::writeValues(std::string_view application, std::string_view section,
                                 const std::vector<std::pair<std::string, std::string>>& values) {
    try {
        const fs::path file = fileFor(application);
        if (file.empty() || !ensurePrivateFolder(folder_)) {
            return false;
        }
        if (inspect(file) == FileState::Unusable && !moveAside(file)) {
            return false;
        }
        // The rewrite takes over the mode of the file it replaces, so that is set first.
        if (!createPrivateFile(file) || !tightenMode(file) || !settingsLockIsFree(file)) {
            return false;
        }
        QSettings settings(toQt(file), QSettings::IniFormat);
        for (const auto& [key, value] : values) {
            settings.setValue(settingsKey(section, key), toQt(std::string_view(value)));
        }
        settings.sync();
        const bool written = settings.status() == QSettings::NoError;
        return tightenMode(file) && written;
    } catch (...) {
        return false;
    }
}

std::string QSettingsStore::location(std::string_view application) const {
    return fileFor(application).string();
}

}  // namespace somnar
