#pragma once

#include <functional>
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
    // Whether the desktop has a notification area at all.
    virtual bool available() = 0;

    // The mouse on the icon, as the window messages number it: 0x201 left button down,
    // 0x202 left button up, 0x203 double click, 0x204/0x205 right button down/up.
    std::function<void(int message)> onMouseMessage;
};

}  // namespace somnar
