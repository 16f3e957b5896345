#pragma once

#include <string>

namespace somnar {

// How a backend call ended: fine, or the kind of failure with what it concerns, in the
// system's own untranslated words. The sentence for the user is the logic's to write.
template <class Error>
struct Outcome {
    Error error = Error::None;
    // What the failure concerns: a file, a connection name, a program, a command line.
    std::string detail;
    // The system's own words for the cause (strerror), when it gave any.
    std::string systemError;

    bool ok() const { return error == Error::None; }
};

}  // namespace somnar
