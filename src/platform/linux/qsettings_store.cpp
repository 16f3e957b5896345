#include "platform/linux/qsettings_store.h"

#include "platform/linux/private_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>

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

// Where the values go: the file under the name, or the file a symbolic link under the
// name leads to (a user's link into their own collection of settings is kept). Nothing
// when the link leads nowhere, when it is not a file, or when this user may not write it
// (its owner made it read-only, or it lies on a read-only mount).
std::optional<fs::path> writableTarget(const fs::path& file) {
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0) {
        return errno == ENOENT ? std::optional(file) : std::nullopt;
    }
    fs::path target = file;
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        target = fs::canonical(file, error);
        if (error || ::stat(target.c_str(), &status) != 0) {
            return std::nullopt;
        }
    }
    if (!S_ISREG(status.st_mode) || ::access(target.c_str(), W_OK) != 0) {
        return std::nullopt;
    }
    return target;
}

// The file's bytes; nothing when it cannot be read.
std::optional<QByteArray> bytesOf(const fs::path& file) {
    QFile in(toQt(file));
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

bool put(ReplacementFile& file, const QByteArray& bytes) {
    return file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// QSettings reads its files as UTF-8 only: in a line in another encoding every umlaut would
// become U+FFFD, and be lost with the next write. A line that is not UTF-8 comes from an
// editor that writes Latin-1 (the single-byte encoding of German text), so it is read so and
// given to QSettings in UTF-8.
QByteArray utf8Lines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(line);
        if (decoder.hasError()) {
            line = QString::fromLatin1(line).toUtf8();
        }
    }
    return lines.join('\n');
}

// Whether the file holds exactly the keys and values the writer holds. QSettings says NoError
// also when its own write failed (a full disk leaves an empty file) and keeps what it meant to
// write in a process-wide cache under the file's name, so the file is read under a name that
// QSettings has never seen.
bool holdsWhatWasWritten(const QSettings& writer, const fs::path& file) {
    const QSettings reader(toQt(file), QSettings::IniFormat);
    QStringList keys = reader.allKeys();
    QStringList expected = writer.allKeys();
    keys.sort();
    expected.sort();
    return reader.status() == QSettings::NoError && keys == expected &&
           std::all_of(keys.cbegin(), keys.cend(),
                       [&](const QString& key) { return reader.value(key) == writer.value(key); });
}

std::int64_t nanoseconds(const timespec& time) {
    return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

// The modification time in milliseconds, as QSettings compares it; none for no file.
std::optional<std::int64_t> modifiedMs(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return nanoseconds(status.st_mtim) / 1'000'000;
}

// QSettings takes a file it has parsed for unchanged while its size and modification time
// in milliseconds are; the file system's clock is coarser than that, so a rewrite of the
// same size right after another could go unseen by later reads. The new file is dated
// after the one it replaces.
bool dateAfter(const fs::path& fresh, std::optional<std::int64_t> replacedMs) {
    const std::optional<std::int64_t> freshMs = modifiedMs(fresh);
    if (!replacedMs || (freshMs && *freshMs > *replacedMs)) {
        return freshMs.has_value();
    }
    const std::int64_t later = *replacedMs + 1;
    const std::array<timespec, 2> times{
        timespec{0, UTIME_OMIT},
        timespec{static_cast<time_t>(later / 1000), static_cast<long>(later % 1000) * 1'000'000}};
    return ::utimensat(AT_FDCWD, fresh.c_str(), times.data(), AT_SYMLINK_NOFOLLOW) == 0;
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

std::optional<std::string> QSettingsStore::lastRead(std::string_view application,
                                                    const FileStamp& stamp, std::string_view key) {
    const std::lock_guard lock(lastReadMutex_);
    const auto file = lastRead_.find(application);
    if (file == lastRead_.end() || file->second.stamp != stamp) {
        return std::nullopt;
    }
    const auto value = file->second.values.find(key);
    return value == file->second.values.end() ? std::string() : value->second;
}

std::string QSettingsStore::read(std::string_view application, std::string_view section,
                                 std::string_view key) {
    try {
        const fs::path file = fileFor(application);
        struct stat status {};
        if (file.empty() || ::stat(file.c_str(), &status) != 0) {
            return {};
        }
        // The start-up reads several values of one file: it is parsed once while unchanged.
        const FileStamp stamp{status.st_dev, status.st_ino, status.st_size,
                              nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
        const std::string wanted = settingsKey(section, key).toStdString();
        if (std::optional<std::string> value = lastRead(application, stamp, wanted)) {
            return *value;
        }
        if (inspect(file) != FileState::Usable) {
            return {};
        }
        const std::optional<QByteArray> bytes = bytesOf(file);
        if (!bytes) {
            return {};
        }
        // A file with lines in Latin-1 is read through a private copy in UTF-8 beside it, so
        // reading never changes the file itself; without that copy, as it is.
        QString source = toQt(file);
        std::optional<ReplacementFile> copy;
        if (const QByteArray text = utf8Lines(*bytes); text != *bytes) {
            copy.emplace(file, 0600);
            if (copy->valid() && put(*copy, text)) {
                source = toQt(copy->path());
            }
        }
        const QSettings settings(source, QSettings::IniFormat);
        ReadValues read{stamp, {}};
        for (const QString& name : settings.allKeys()) {
            const QVariant value = settings.value(name);
            // QSettings reads a value written by hand with commas (Password=ab,cd) as a list;
            // it is the text that was written (the blanks around its commas aside).
            read.values.emplace(name.toStdString(),
                                value.typeId() == QMetaType::QStringList
                                    ? value.toStringList().join(u',').toStdString()
                                    : value.toString().toStdString());
        }
        // Answered from this parse: the kept copy may meanwhile be another thread's newer one.
        const auto found = read.values.find(wanted);
        std::string value = found == read.values.end() ? std::string() : found->second;
        const std::lock_guard lock(lastReadMutex_);
        lastRead_.insert_or_assign(std::string(application), std::move(read));
        return value;
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
        // The lock QSettings takes for its own writes to the file, so that other writers
        // wait for this one; held with a bounded wait, where QSettings would wait forever.
        QLockFile lock(toQt(file) + QStringLiteral(".lock"));
        if (!lock.tryLock(kLockWaitMs)) {
            return false;
        }
        const std::optional<std::int64_t> replacedMs = modifiedMs(file);
        const FileState state = inspect(file);
        if (state == FileState::Unusable && !moveAside(file)) {
            return false;
        }
        const std::optional<fs::path> target = writableTarget(file);
        if (!target) {
            return false;
        }
        const std::optional<QByteArray> start =
            state == FileState::Usable ? bytesOf(*target) : QByteArray();
        if (!start) {
            return false;
        }
        // QSettings edits a private scratch copy under a fresh name, removed at the end: a
        // QSettings that fails to write its file says NoError all the same and keeps what it
        // could not write in its process-wide cache under that name. Its text goes into the
        // new file through checked writes and is read back from there before it replaces
        // the file.
        ReplacementFile scratch(*target, 0600);
        ReplacementFile fresh(*target, 0600);
        if (!scratch.valid() || !fresh.valid() || !put(scratch, utf8Lines(*start))) {
            return false;
        }
        QSettings writer(toQt(scratch.path()), QSettings::IniFormat);
        for (const auto& [key, value] : values) {
            writer.setValue(settingsKey(section, key), toQt(std::string_view(value)));
        }
        writer.sync();
        const std::optional<QByteArray> written = bytesOf(scratch.path());
        if (writer.status() != QSettings::NoError || !written || !put(fresh, *written) ||
            !holdsWhatWasWritten(writer, fresh.path())) {
            return false;
        }
        return dateAfter(fresh.path(), replacedMs) && fresh.replaceTarget();
    } catch (...) {
        return false;
    }
}

std::string QSettingsStore::location(std::string_view application) const {
    return fileFor(application).string();
}

}  // namespace somnar
