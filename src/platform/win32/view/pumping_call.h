#pragma once

#include "platform/win32/responsive_call.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// Runs the call on a worker thread while the window's thread goes on serving paint
// messages. Meanwhile the model is held (see ModelHold): mouse and keyboard input is
// dropped, and neither timer ticks, the close box nor the notification-area icon reach
// the model until the call is over. An end of the program asked for meanwhile is kept
// for the message loop.
class PumpingCall final : public ResponsiveCall {
  public:
    void run(const std::function<void()>& call) override;
};

// Whether the pump drops a message while a call runs: the user's input.
bool heldBackDuringCall(UINT message);

}  // namespace somnar::win32
