#pragma once

namespace somnar {

// Whether the machine is online now, by whatever kind of connection.
class Connectivity {
  public:
    virtual ~Connectivity() = default;

    virtual bool isConnected() = 0;
};

}  // namespace somnar
