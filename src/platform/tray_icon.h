#pragma once

#include <string>

namespace somnar {

// The program's icon in the desktop's notification area.
class TrayIcon {
  public:
    virtual ~TrayIcon() = default;

    // Fills in what the icon will show; nothing appears yet.
    virtual void prepare(const std::string& tip) = 0;
    virtual void add() = 0;
    virtual void remove() = 0;
};

}  // namespace somnar
