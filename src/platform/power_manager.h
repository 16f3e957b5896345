#pragma once

namespace somnar {

// The machine's sleep states, as the power service of the desktop offers them.
class PowerManager {
  public:
    virtual ~PowerManager() = default;

    virtual bool canHibernate() = 0;
    virtual bool canSuspend() = 0;
};

}  // namespace somnar
