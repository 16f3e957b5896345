#include "platform/linux/desktop_notifier.h"

#include <utility>

namespace somnar {

DesktopNotifier::DesktopNotifier(std::string applicationName)
    : applicationName_(std::move(applicationName)) {}

void DesktopNotifier::notify(const std::string& /*summary*/, const std::string& /*body*/) {}

}  // namespace somnar
