#pragma once

#include <functional>
#include <string>

namespace somnar {

// What the user did with the mouse on the icon.
enum class TrayClick { LeftDown, LeftUp, LeftDouble, RightDown, RightUp, MiddleDown, MiddleUp };

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

    // The mouse on the icon: a press and its release come as two clicks.
    std::function<void(TrayClick click)> onClick;
};

}  // namespace somnar
