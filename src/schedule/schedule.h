#pragma once

#include <string>

namespace somnar {

// The sleep request the user confirmed last, with the sentence that told them what it
// does. A running countdown shows that sentence; the renewed sleep after waking counts
// only while the request stands.
class Schedule {
  public:
    // The sentence stays even when the user did not confirm it.
    void answer(std::string confirmationText, bool confirmed) {
        confirmationText_ = std::move(confirmationText);
        confirmed_ = confirmed;
    }
    // Once the renewed sleep is due, the request is done with.
    void forget() { confirmed_ = false; }
    bool confirmed() const { return confirmed_; }
    const std::string& confirmationText() const { return confirmationText_; }

  private:
    std::string confirmationText_;
    bool confirmed_ = false;
};

}  // namespace somnar
