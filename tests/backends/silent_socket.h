#pragma once

#include <filesystem>

namespace somnar::test {

// A listening Unix socket that never accepts: connecting succeeds (the kernel queues the
// connection), but no bus handshake ever comes back, like a hung bus daemon.
class SilentSocket {
  public:
    explicit SilentSocket(const std::filesystem::path& path);
    ~SilentSocket();
    SilentSocket(const SilentSocket&) = delete;
    SilentSocket& operator=(const SilentSocket&) = delete;

    bool ok() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace somnar::test
