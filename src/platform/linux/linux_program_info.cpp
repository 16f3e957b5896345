#include "platform/linux/linux_program_info.h"

#include <string_view>
#include <system_error>

namespace somnar {

namespace fs = std::filesystem;

namespace {

// The kernel marks the link of an executable that was replaced or removed while it runs
// (a rebuild, a package update) with this suffix.
constexpr std::string_view kDeletedMark = " (deleted)";

fs::path executablePath(const std::string& argv0, const fs::path& selfLink) {
    std::error_code error;
    std::string target = fs::read_symlink(selfLink, error).string();
    if (!error && !target.empty()) {
        if (target.ends_with(kDeletedMark)) {
            target.resize(target.size() - kDeletedMark.size());
        }
        return target;
    }
    return argv0;
}

}  // namespace

LinuxProgramInfo::LinuxProgramInfo(const std::string& argv0, const fs::path& selfLink) {
    const fs::path executable = executablePath(argv0, selfLink);
    const fs::path file = executable.filename();
    name_ = file.stem().string();
    extension_ = file.extension().string();
    std::error_code error;
    const fs::path absolute = fs::absolute(executable, error);
    folder_ = (error ? executable : absolute).parent_path().string();
}

std::string LinuxProgramInfo::programFolder() const {
    return folder_;
}

std::string LinuxProgramInfo::currentFolder() const {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string("/") : folder.string();
}

}  // namespace somnar
