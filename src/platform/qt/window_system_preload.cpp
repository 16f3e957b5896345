#include "platform/qt/window_system_preload.h"

#include <dlfcn.h>

#include <QByteArray>
#include <QLibraryInfo>
#include <QString>
#include <cstdlib>
#include <string_view>

namespace somnar {
namespace {

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

void preloadX11Plugins() {
    const std::string_view platform = variable("QT_QPA_PLATFORM");
    if (!platform.empty() && !platform.starts_with("xcb")) {
        return;
    }
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QLatin1Char('/');
    const auto load = [&plugins](const char* name) {
        // Kept loaded for the program's life, as Qt keeps its plugins.
        static_cast<void>(
            dlopen((plugins + QLatin1String(name)).toLocal8Bit().constData(), RTLD_LAZY));
    };
    load("platforms/libqxcb.so");
    const std::string_view inputMethod = variable("QT_IM_MODULE");
    if (inputMethod.empty() || inputMethod == "compose") {
        load("platforminputcontexts/libcomposeplatforminputcontextplugin.so");
    }
}

}  // namespace somnar
