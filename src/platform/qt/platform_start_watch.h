#pragma once

#include <QList>
#include <QString>
#include <QtMessageHandler>
#include <functional>
#include <mutex>

namespace somnar {

// Qt ends the program with an abort and an English text when none of its window-system
// plugins can start (the Wayland one not installed, and no X server). While the application
// object is made, Qt's messages wait here: if no plugin starts, `noPlatform` says so in the
// program's own words and the program ends with status 1; otherwise they are passed on as
// they came.
class PlatformStartWatch {
  public:
    explicit PlatformStartWatch(std::function<void()> noPlatform);
    ~PlatformStartWatch();
    PlatformStartWatch(const PlatformStartWatch&) = delete;
    PlatformStartWatch& operator=(const PlatformStartWatch&) = delete;

    // Qt has started: the messages that waited go on, and later ones pass at once.
    void release();

  private:
    struct Message {
        QtMsgType type;
        // Qt's context (file, function, category) points at texts that live as long as the
        // program.
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    std::function<void()> noPlatform_;
    std::mutex mutex_;
    QList<Message> waiting_;
    bool released_ = false;
};

}  // namespace somnar
