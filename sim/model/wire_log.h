// A text file that records the traffic of a simulated instrument, one line per event, appended
// and flushed as it happens so that a test can read it while the simulator runs.
#pragma once

#include <string>
#include <string_view>

namespace lorvane::sim {

// Writes bytes readably on one line: CR as \r, LF as \n, backslash as \\, other control
// characters (and bytes from 127 up) as \xNN.
std::string escapeWireText(std::string_view text);

class WireLog {
  public:
    WireLog() = default;
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;
    ~WireLog();

    // Starts appending to `path`; an empty path stops logging. Returns false (and logs
    // nothing) when the file cannot be opened.
    bool open(const std::string& path);
    const std::string& path() const { return path_; }

    // Appends "<marker> <escaped text>" as one line.
    void write(char marker, std::string_view text);

  private:
    void close();

    std::string path_;
    int fd_ = -1;
};

}  // namespace lorvane::sim
