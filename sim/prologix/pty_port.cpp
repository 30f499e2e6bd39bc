#include "pty_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace lorvane::sim {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

std::string runtimeDirectory(const char* xdgRuntimeDir, unsigned uid) {
    if (xdgRuntimeDir != nullptr && *xdgRuntimeDir != '\0') return xdgRuntimeDir;
    return "/tmp/lorvane-" + std::to_string(uid);
}

PtyPort::PtyPort(int port, const std::string& runtimeDir) {
    // Closes what is open so far and throws with the cause of the failed call.
    auto giveUp = [this](const std::string& what) {
        const int cause = errno;
        close();
        errno = cause;
        fail(what);
    };
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) giveUp("cannot open a pseudo-terminal");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        giveUp("cannot unlock the pseudo-terminal");
    }
    const char* name = ::ptsname(master_);
    if (name == nullptr) giveUp("cannot name the pseudo-terminal");
    slavePath_ = name;
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (slave_ < 0 || ::tcgetattr(slave_, &settings) != 0) giveUp("cannot open " + slavePath_);
    ::cfmakeraw(&settings);
    if (::tcsetattr(slave_, TCSANOW, &settings) != 0) {
        giveUp("cannot set " + slavePath_ + " to raw mode");
    }
    if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) {
        giveUp("cannot make the pseudo-terminal non-blocking");
    }
    const std::string folder = runtimeDir + "/lorvane";
    for (const std::string& path : {runtimeDir, folder}) {
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) giveUp("cannot create " + path);
    }
    const std::string link = folder + "/COM" + std::to_string(port);
    ::unlink(link.c_str());
    if (::symlink(slavePath_.c_str(), link.c_str()) != 0) giveUp("cannot create the link " + link);
    linkPath_ = link;
}

PtyPort::~PtyPort() {
    close();
    if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
}

int PtyPort::unreadBytes() const {
    int count = 0;
    return slave_ >= 0 && ::ioctl(slave_, FIONREAD, &count) == 0 ? count : 0;
}

void PtyPort::releaseSlave() {
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
}

void PtyPort::close() {
    releaseSlave();
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

}  // namespace lorvane::sim
