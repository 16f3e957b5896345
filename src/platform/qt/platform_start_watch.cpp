#include "platform/qt/platform_start_watch.h"

#include <cstdlib>
#include <utility>

namespace somnar {
namespace {

// Qt's handler is a plain function: the watch while one waits, and the handler before it.
PlatformStartWatch* active = nullptr;
QtMessageHandler previous = nullptr;

// Qt's own words when no window-system plugin could be started.
constexpr const char* kNoPlatformText = "no Qt platform plugin could be initialized";

}  // namespace

PlatformStartWatch::PlatformStartWatch(std::function<void()> noPlatform)
    : noPlatform_(std::move(noPlatform)) {
    active = this;
    previous = qInstallMessageHandler(&PlatformStartWatch::handle);
}

PlatformStartWatch::~PlatformStartWatch() {
    release();
    active = nullptr;
}

void PlatformStartWatch::release() {
    QList<Message> waiting;
    {
        const std::lock_guard lock(mutex_);
        if (released_) {
            return;
        }
        released_ = true;
        waiting = std::exchange(waiting_, {});
    }
    qInstallMessageHandler(previous);
    for (const Message& message : waiting) {
        const QMessageLogContext context(message.file, message.line, message.function,
                                         message.category);
        previous(message.type, context, message.text);
    }
}

void PlatformStartWatch::handle(QtMsgType type, const QMessageLogContext& context,
                                const QString& text) {
    if (active == nullptr) {
        previous(type, context, text);
        return;
    }
    PlatformStartWatch& watch = *active;
    if (type == QtFatalMsg && text.contains(QLatin1String(kNoPlatformText))) {
        watch.noPlatform_();
        std::_Exit(1);  // nothing is loaded or stored yet
    }
    {
        const std::lock_guard lock(watch.mutex_);
        if (!watch.released_ && type != QtFatalMsg) {
            watch.waiting_.append(
                {type, context.file, context.line, context.function, context.category, text});
            return;
        }
    }
    watch.release();  // what led to a fatal message first, then Qt's own ending
    previous(type, context, text);
}

}  // namespace somnar
