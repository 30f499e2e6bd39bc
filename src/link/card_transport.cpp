#include "card_transport.h"

#include <algorithm>
#include <utility>

#include "cls_gpib.h"

namespace lorvane {
namespace {

constexpr int kIbcSendLLO = 0x17;  // ibconfig option: send Local Lockout when going online
constexpr int kT10ms = 7;          // timeout codes
constexpr int kT3s = 12;
constexpr int kReadBuffer = 10000;  // longest response taken in one read
constexpr int kClearSettleMs = 50;  // after device clear, before interface clear
constexpr int kCloseStepMs = 25;    // after going to local, and after going offline

}  // namespace

CardTransport::CardTransport(Platform& platform, LibraryFinder finder)
    : platform_(platform), finder_(std::move(finder)) {}

bool CardTransport::open(int16_t brd, int16_t pad, int16_t sad, int16_t& hdl) {
    QString failure;
    gpib_ = finder_(failure);
    if (!gpib_) {
        platform_.message(failure, MsgIcon::Critical);
        return false;
    }
    gpib_->ibconfig(brd, kIbcSendLLO, 1);  // refused by some libraries; harmless
    hdl = gpib_->ibdev(brd, pad, sad, kT3s, 1, 0);
    if (gpib_->failed()) {
        gpib_->ibonl(hdl, 0);
        return false;
    }
    gpib_->ibclr(hdl);
    if (gpib_->failed()) {
        gpib_->ibonl(hdl, 0);
        return false;
    }
    platform_.sleep(kClearSettleMs);
    gpib_->ibsic(hdl);
    return true;
}

bool CardTransport::write(int16_t hdl, const QByteArray& text) {
    gpib_->ibwrt(hdl, text);
    return !gpib_->failed();
}

QByteArray CardTransport::read(ClsGPIB&, int16_t hdl, int del) {
    platform_.sleep(del);
    QByteArray buffer(kReadBuffer, '\0');
    gpib_->ibrd(hdl, buffer);
    if (gpib_->failed()) return QByteArray();
    buffer.truncate(std::clamp(gpib_->ibcntl(), 0, kReadBuffer));
    return buffer;
}

void CardTransport::purge(ClsGPIB& link, int16_t hdl) {
    gpib_->ibtmo(hdl, kT10ms);
    link.DevRead(0, 0);
    gpib_->ibtmo(hdl, kT3s);
}

void CardTransport::close(int16_t hdl) {
    gpib_->ibloc(hdl);
    platform_.sleep(kCloseStepMs);
    gpib_->ibonl(hdl, 0);
    platform_.sleep(kCloseStepMs);
}

QString CardTransport::identify(ClsGPIB&) { return QStringLiteral("Ok"); }

}  // namespace lorvane
