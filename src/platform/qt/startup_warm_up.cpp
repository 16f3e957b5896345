#include "platform/qt/startup_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace somnar {
namespace {

// Fontconfig's objects, each freed by its own function.
template <typename Object>
using Owned = std::unique_ptr<Object, void (*)(Object*)>;

bool namesCacheFolder(FcConfig* config) {
    const Owned<FcStrList> folders(FcConfigGetCacheDirs(config), FcStrListDone);
    return folders != nullptr && FcStrListNext(folders.get()) != nullptr;
}

// The configuration FcInit would make, without its second pass over every template file
// the system ships (only kept for listing them, some 40 files more to parse: a third of
// its time). Anything unusual, such as no cache folder or fontconfig's own tracing, is
// left to FcInit. A missing configuration file passes quietly here and then names no
// cache folder, so FcInit reports it, once.
bool loadConfiguration() {
    if (std::getenv("FC_DEBUG") != nullptr) {
        return false;
    }
    // Set before the application exists, while nothing else uses fontconfig (and its calls
    // hold their own reference to the current configuration). It keeps a reference too.
    const Owned<FcConfig> config(FcConfigCreate(), FcConfigDestroy);
    return config != nullptr && FcConfigParseAndLoad(config.get(), nullptr, FcFalse) == FcTrue &&
           namesCacheFolder(config.get()) && FcConfigSetCurrent(config.get()) == FcTrue;
}

// Fontconfig reads its configuration and caches once per process; listing the fonts
// once makes the window system's font database quick to fill.
void loadFontConfiguration() {
    if (!loadConfiguration() && FcInit() == FcFalse) {
        return;
    }
    const Owned<FcPattern> everything(FcPatternCreate(), FcPatternDestroy);
    const Owned<FcObjectSet> fields(FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, nullptr),
                                    FcObjectSetDestroy);
    if (everything != nullptr && fields != nullptr) {
        FcFontSetDestroy(FcFontList(nullptr, everything.get(), fields.get()));
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
