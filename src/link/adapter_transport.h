#pragma once

#include "platform.h"
#include "transport.h"

class QSerialPort;

namespace lorvane {

// The link through a Prologix USB-GPIB adapter on a serial port (Crd != 0). Hdl is the COM
// port number while the link counts as open.
class AdapterTransport final : public Transport {
  public:
    // port belongs to the main window; nullptr behaves like a port that cannot be opened.
    AdapterTransport(Platform& platform, QSerialPort* port);

    bool open(int16_t brd, int16_t pad, int16_t sad, int16_t& hdl) override;
    bool write(int16_t hdl, const QByteArray& text) override;
    QByteArray read(ClsGPIB& link, int16_t hdl, int del) override;
    void purge(ClsGPIB& link, int16_t hdl) override;
    void close(int16_t hdl) override;
    QString identify(ClsGPIB& link) override;

  private:
    bool openPort(int number);
    // Queues bytes and waits (briefly) until they have left: nothing else drives the port.
    bool send(const QByteArray& bytes);

    Platform& platform_;
    QSerialPort* port_;
};

// Reads the adapter's answer to "++ver": "Prologix" and the version text, e.g. "Prologix 6.107"
// for "Prologix GPIB-USB Controller version 6.107" + CR LF; "" when the first word is not
// Prologix.
QString prologixIdentity(const QString& answer);

}  // namespace lorvane
