#pragma once

#include <string>

namespace somnar {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Warning, Question, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A modal message box; the first button is always the default.
struct MessageBox {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Returns when the user has answered; closing the box counts as Cancel (or No).
    virtual MessageAnswer showMessage(const MessageBox& box) = 0;
};

}  // namespace somnar
