#pragma once

#include "platform/dialogs.h"
#include "platform/win32/windows_api.h"

namespace somnar::win32 {

// The system's message boxes, owned by the main window. Escape answers No in a Yes/No
// box too, as closing it counts as No.
class Win32Dialogs final : public Dialogs {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    MessageAnswer showMessage(const somnar::MessageBox& box) override;

  private:
    HWND owner_ = nullptr;
};

// The MessageBoxW style for a box's buttons and icon; the first button is the default.
UINT messageBoxStyle(const somnar::MessageBox& box);
// What a MessageBoxW result means for the box's buttons.
MessageAnswer answerFor(MessageButtons buttons, int result);

}  // namespace somnar::win32
