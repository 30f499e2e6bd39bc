#include "fake_adapter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QSerialPort>
#include <QThread>
#include <cstdlib>

namespace lorvane::test {
namespace {

constexpr int kBoundMs = 5000;  // for bytes in flight through the kernel; normally microseconds

}  // namespace

FakeAdapter::FakeAdapter() {
    QDir(runtime_.path()).mkpath(QStringLiteral("lorvane"));
    plugIn();
}

QByteArray FakeAdapter::linkPath() const {
    return QFile::encodeName(runtime_.path() + QStringLiteral("/lorvane/COM%1").arg(port()));
}

void FakeAdapter::plugIn() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) std::abort();
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (symlink(ptsname(master_), linkPath().constData()) != 0) std::abort();
}

void FakeAdapter::unplug() {
    ::close(master_);
    master_ = -1;
    ::unlink(linkPath().constData());
}

FakeAdapter::~FakeAdapter() {
    if (master_ >= 0) ::close(master_);
}

QString FakeAdapter::devicePath() const { return QString::fromLocal8Bit(ptsname(master_)); }

QByteArray FakeAdapter::sentSoFar() {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) return bytes;  // nothing more now (or nobody has the port open)
        bytes.append(buffer, n);
    }
}

QByteArray FakeAdapter::sent(qsizetype count) {
    QByteArray bytes = sentSoFar();
    for (int waited = 0; bytes.size() < count && waited < kBoundMs; ++waited) {
        pollfd fd{master_, POLLIN, 0};
        poll(&fd, 1, 1);
        bytes += sentSoFar();
    }
    return bytes;
}

void FakeAdapter::answer(const QByteArray& bytes, const QSerialPort& linkPort) {
    if (::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()) {
        std::abort();
    }
    waitUntilReadable(linkPort, bytes.size());
}

void FakeAdapter::flood(const QSerialPort& linkPort, int atLeast) {
    const QByteArray chunk(1024, 'x');
    // The terminal holds a few kilobytes; the bound only guards against one that never fills.
    for (int i = 0; i < 1024; ++i) {
        if (::write(master_, chunk.constData(), static_cast<size_t>(chunk.size())) <= 0) break;
    }
    waitUntilReadable(linkPort, atLeast);
}

void FakeAdapter::waitUntilReadable(const QSerialPort& linkPort, qsizetype count) {
    for (int waited = 0; waited < kBoundMs; ++waited) {
        int ready = 0;
        ioctl(static_cast<int>(linkPort.handle()), FIONREAD, &ready);
        if (ready >= count) return;
        QThread::msleep(1);
    }
}

}  // namespace lorvane::test
