#include "cls_gpib.h"

namespace lorvane {

ClsGPIB::ClsGPIB(Platform& platform) : platform_(platform) {}

ClsGPIB::~ClsGPIB() = default;

void ClsGPIB::Initialize(QObject* owner, QSerialPort* serial) {
    owner_ = owner;
    serial_ = serial;
    hdl_ = -1;
    sad_ = 96;
}

bool ClsGPIB::DevOpen() {
    DevClose();  // an open link is closed first (a closed one is left alone)
    transport_ = makeTransport(crd_, *this);
    return transport_->open(brd_, pad_, sad_, hdl_);
}

bool ClsGPIB::DevWrite(uint8_t /*device*/, const QString& data) {
    if (hdl_ == -1 || !transport_) return false;
    return transport_->write(hdl_, (data + QLatin1Char('\r')).toLatin1());
}

QString ClsGPIB::DevRead(uint8_t /*device*/, int16_t del) {
    if (hdl_ == -1 || !transport_) return QString();
    const std::shared_ptr<Transport> transport = transport_;
    return QString::fromLatin1(transport->read(*this, hdl_, del));
}

QString ClsGPIB::DevQuery(uint8_t device, const QString& data, int16_t del) {
    if (!DevWrite(device, data)) return QString();
    return DevRead(device, del);
}

void ClsGPIB::DevPurge(uint8_t /*device*/) {
    if (hdl_ == -1 || !transport_) return;
    const std::shared_ptr<Transport> transport = transport_;
    transport->purge(*this, hdl_);
}

bool ClsGPIB::DevClose() {
    if (hdl_ == -1) return false;
    if (transport_) transport_->close(hdl_);
    hdl_ = -1;
    return true;
}

QString ClsGPIB::DevTest() {
    if (!DevOpen()) return QString();
    const std::shared_ptr<Transport> transport = transport_;
    const QString result = transport->identify(*this);
    DevClose();
    return result;
}

}  // namespace lorvane
