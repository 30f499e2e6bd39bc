#include "wire_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace lorvane::sim {

std::string escapeWireText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7f) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

WireLog::~WireLog() { close(); }

bool WireLog::open(const std::string& path) {
    close();
    if (path.empty()) return true;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    path_ = path;
    return true;
}

void WireLog::write(char marker, std::string_view text) {
    if (fd_ < 0) return;
    std::string line{marker, ' '};
    line += escapeWireText(text);
    line += '\n';
    // One write per line keeps lines whole when several processes append to the same file.
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t written = ::write(fd_, line.data() + done, line.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

void WireLog::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

}  // namespace lorvane::sim
