#include "backends/silent_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace somnar::test {

SilentSocket::SilentSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) {
        return;
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 8) != 0) {
        close(fd);
        return;
    }
    fd_ = fd;
}

SilentSocket::~SilentSocket() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

}  // namespace somnar::test
