#pragma once

#include "platform/notifier.h"
#include "platform/win32/view/handles.h"
#include "platform/win32/view/message_window.h"

namespace somnar::win32 {

// A balloon from an icon of its own in the notification area, for what went wrong while
// nobody was at the machine. Windows keeps it until the user has been active long enough
// to see it; the icon goes once the balloon was clicked or has timed out.
class BalloonNotifier final : public Notifier {
  public:
    BalloonNotifier();
    ~BalloonNotifier() override;
    BalloonNotifier(const BalloonNotifier&) = delete;
    BalloonNotifier& operator=(const BalloonNotifier&) = delete;

    void notify(const std::string& summary, const std::string& body) override;

  private:
    bool handle(UINT message, LPARAM lParam);
    void removeIcon();

    UniqueIcon icon_;
    bool shown_ = false;
    MessageWindow window_;
};

}  // namespace somnar::win32
