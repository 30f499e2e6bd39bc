// The serial port of the emulated adapter: a pseudo-terminal in raw mode, reachable through
// the link <runtime dir>/lorvane/COM<N>.
#pragma once

#include <string>

namespace lorvane::sim {

// $XDG_RUNTIME_DIR, or /tmp/lorvane-<uid> when it is unset or empty.
std::string runtimeDirectory(const char* xdgRuntimeDir, unsigned uid);

class PtyPort {
  public:
    // Opens the pseudo-terminal, sets its slave side raw before anyone else opens it, keeps a
    // slave descriptor open so that the port outlives the controller opening and closing it,
    // and links <runtimeDir>/lorvane/COM<port> to the slave (replacing a stale link). Throws
    // std::runtime_error with the cause on failure.
    PtyPort(int port, const std::string& runtimeDir);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Bytes written to the port that the controller has not read yet.
    int unreadBytes() const;

    // Stops keeping the port alive: once the controller closes it too, the master reports a
    // hang-up (POLLHUP).
    void releaseSlave();

    // Closes both ends: the controller's port then fails. The link stays until destruction.
    void close();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

}  // namespace lorvane::sim
