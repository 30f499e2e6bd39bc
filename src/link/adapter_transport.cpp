#include "adapter_transport.h"

#include <QSerialPort>
#include <algorithm>

#include "cls_gpib.h"
#include "serial_port_path.h"

namespace lorvane {
namespace {

constexpr int kPollLimit = 3000;  // polls per read, 1 ms apart
// The first poll waits this long for the reply's first bytes, and goes on as soon as they come:
// the adapter mostly answers within a millisecond, and a fixed pause would add that much to
// every point.
constexpr int kFirstPollWaitMs = 5;
constexpr int kQuietPolls = 100;  // polls without a byte that end an overlong reply
constexpr int kIdentifyDelayMs = 3000;
constexpr int kWriteBoundMs = 1000;  // longest wait for the port to take more bytes

}  // namespace

AdapterTransport::AdapterTransport(Platform& platform, QSerialPort* port, QString path)
    : platform_(platform), port_(port), path_(std::move(path)) {}

bool AdapterTransport::openPort(int number) {
    if (!port_) return false;
    if (port_->isOpen()) port_->close();
    const QString name = path_.isEmpty() ? systemSerialPortName(number) : path_;
    if (name.isEmpty()) return false;
    port_->setPortName(name);
    // The modem lines are left alone: setting them fails on pseudo-terminals.
    return port_->setBaudRate(115200) && port_->setDataBits(QSerialPort::Data8) &&
           port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
           port_->setFlowControl(QSerialPort::NoFlowControl) && port_->open(QIODevice::ReadWrite);
}

bool AdapterTransport::send(const QByteArray& bytes) {
    if (port_->write(bytes) != bytes.size()) return false;
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(kWriteBoundMs)) return false;
    }
    return true;
}

bool AdapterTransport::open(int16_t brd, int16_t pad, int16_t, int16_t& hdl) {
    hdl = brd;
    pad_ = pad;
    bool ok = openPort(brd) && sendSettings();
    for (const char* line : {"++clr", "++ifc"}) ok = ok && send(QByteArray(line) + "\r\n");
    if (!ok) platform_.message(QStringLiteral("Serial port open error"), MsgIcon::Critical);
    return ok;
}

bool AdapterTransport::sendSettings() {
    const QByteArray settings[] = {"++mode 1", "++auto 0", "++read_tmo_ms 3000", "++eos 3",
                                   "++addr " + QByteArray::number(pad_)};
    for (const QByteArray& line : settings) {
        if (!send(line + "\r\n")) return false;
    }
    return true;
}

bool AdapterTransport::portLost() const {
    // A pulled adapter's port reads as ended (a read error) or is refused (a resource error).
    const QSerialPort::SerialPortError error = port_->error();
    return !port_->isOpen() || error == QSerialPort::ResourceError ||
           error == QSerialPort::ReadError || error == QSerialPort::WriteError;
}

bool AdapterTransport::write(int16_t hdl, const QByteArray& text) {
    if (!port_) return false;
    if (portLost() && !reopen(hdl)) return false;
    return send(text);
}

bool AdapterTransport::reopen(int16_t hdl) {
    // The port went away (the adapter was pulled, or was missing at the open): it is opened
    // again, quietly, as soon as the adapter is back, for as long as a read would wait. The
    // instrument is not cleared: it kept its settings, and a run programs it anyway.
    for (int polls = 0; polls < kPollLimit && !closed_; ++polls) {
        if (openPort(hdl) && sendSettings()) return true;
        port_->close();
        platform_.processEvents();
        platform_.sleep(1);
    }
    return false;
}

QByteArray AdapterTransport::read(ClsGPIB& link, int16_t, int del) {
    platform_.sleep(del);
    link.DevWrite(0, QStringLiteral("++read 10"));
    ReplyCollector reply;
    for (int polls = 0;;) {
        // An event handler may have closed the link in between.
        if (!port_ || !port_->isOpen()) return QByteArray();
        // Takes in what has arrived, without waiting after the first poll.
        port_->waitForReadyRead(polls == 0 ? kFirstPollWaitMs : 0);
        switch (reply.add(port_->readAll())) {
            case ReplyCollector::Status::Overlong:
                dropUntilQuiet(polls);
                return QByteArray(kOverlongReply);
            case ReplyCollector::Status::Complete:
                return reply.text();
            case ReplyCollector::Status::Waiting:
                break;
        }
        // The adapter was pulled: nothing more can come.
        if (portLost() || ++polls >= kPollLimit) return reply.text();
        platform_.processEvents();
        platform_.sleep(1);
    }
}

void AdapterTransport::dropUntilQuiet(int polls) {
    // Whatever sends this is no instrument answering: nothing it sends is kept. A reply that
    // does end, after too many bytes, is dropped to its end, so that its tail cannot pass for
    // the start of the next reply.
    port_->clear(QSerialPort::Input);
    for (int quiet = 0; quiet < kQuietPolls && ++polls < kPollLimit;) {
        platform_.processEvents();
        platform_.sleep(1);
        if (!port_->isOpen()) return;
        port_->waitForReadyRead(0);
        quiet = port_->readAll().isEmpty() ? quiet + 1 : 0;
    }
    port_->clear(QSerialPort::Input);
}

void AdapterTransport::purge(ClsGPIB& link, int16_t) { link.DevWrite(0, QStringLiteral("++ifc")); }

void AdapterTransport::close(int16_t) {
    closed_ = true;
    if (port_ && port_->isOpen()) port_->close();
}

QString AdapterTransport::identify(ClsGPIB& link) {
    return prologixIdentity(link.DevQuery(0, QStringLiteral("++ver"), kIdentifyDelayMs));
}

QString prologixIdentity(const QString& answer) {
    const QString firstWord = answer.left(answer.indexOf(QLatin1Char(' ')) + 1).trimmed();
    if (firstWord != QLatin1String("Prologix")) return QString();
    const QLatin1String marker("version");
    const qsizetype at = answer.indexOf(marker);
    // Without the word version there is no version text to give.
    const QString version = at < 0 ? QString() : answer.mid(at + marker.size());
    return QStringLiteral("Prologix") + version.left(std::max<qsizetype>(0, version.size() - 2));
}

}  // namespace lorvane
