#pragma once

#include <string>

#include "platform/instance_guard.h"
#include "platform/win32/owned_handle.h"

namespace somnar {

// One running copy per user session: a named mutex in the session's namespace, held for
// the life of this object. Windows drops it when the process ends, however it ends.
class MutexInstanceGuard final : public InstanceGuard {
  public:
    static constexpr const char* kName = "Local\\Somnar Scheduler";

    explicit MutexInstanceGuard(std::string name = kName);

    // False only while another copy (or another guard object) holds the name. When the
    // mutex cannot be made at all, the program may still run, but without a claim.
    bool acquire() override;

  private:
    std::string name_;
    win32::OwnedHandle mutex_;
};

}  // namespace somnar
