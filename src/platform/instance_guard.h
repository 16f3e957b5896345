#pragma once

namespace somnar {

// Tells whether this is the only running copy of the program for this user.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;

    // True when this copy may run; it then holds the claim until it ends.
    virtual bool acquire() = 0;
};

}  // namespace somnar
