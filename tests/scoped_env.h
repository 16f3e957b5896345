#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace somnar::test {

// An environment variable set for a scope, then restored as it was.
struct ScopedEnv {
    ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            previous_ = old;
        }
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnv() {
        previous_ ? ::setenv(name_.c_str(), previous_->c_str(), 1) : ::unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace somnar::test
