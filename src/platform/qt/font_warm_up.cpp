#include "platform/qt/font_warm_up.h"

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

FontWarmUp::FontWarmUp() : worker_(loadFontConfiguration) {}

FontWarmUp::~FontWarmUp() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::jthread FontWarmUp::listForWindowSystem() {
    return std::jthread([configuration = std::move(worker_)]() mutable {
        if (configuration.joinable()) {
            configuration.join();
        }
        static_cast<void>(QFontDatabase::families());
    });
}

}  // namespace somnar
