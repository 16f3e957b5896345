#include "platform/qt/startup_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace somnar {
namespace {

// Fontconfig reads its configuration and caches once per process; listing the fonts
// once makes the window system's font database quick to fill.
void loadFontConfiguration() {
    if (FcInit() == FcFalse) {
        return;
    }
    FcPattern* everything = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, nullptr);
    if (everything != nullptr && fields != nullptr) {
        FcFontSetDestroy(FcFontList(nullptr, everything, fields));
    }
    if (fields != nullptr) {
        FcObjectSetDestroy(fields);
    }
    if (everything != nullptr) {
        FcPatternDestroy(everything);
    }
}

}  // namespace

StartupWarmUp::StartupWarmUp() : worker_(loadFontConfiguration) {}

StartupWarmUp::~StartupWarmUp() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::jthread StartupWarmUp::continueWithApplication() {
    return std::jthread([configuration = std::move(worker_)]() mutable {
        // Connecting takes a few messages with the bus; the bridge's own questions follow.
        static_cast<void>(QDBusConnection::sessionBus());
        if (configuration.joinable()) {
            configuration.join();
        }
        static_cast<void>(QFontDatabase::families());
    });
}

}  // namespace somnar
