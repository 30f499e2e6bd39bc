#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "platform.h"
#include "transport.h"

class QObject;
class QSerialPort;

namespace lorvane {

// The program's one link to the HP 4192A, through an NI-488.2 card (Crd = 0) or a Prologix
// USB-GPIB adapter (any other Crd). Operations never throw: they return false or "".
// The Device argument of every operation is ignored; callers pass 0.
class ClsGPIB {
  public:
    explicit ClsGPIB(Platform& platform);
    ~ClsGPIB();
    ClsGPIB(const ClsGPIB&) = delete;
    ClsGPIB& operator=(const ClsGPIB&) = delete;

    // Stores the owner and the serial port the adapter transport uses; closes the handle and
    // sets sad to 96.
    void Initialize(QObject* owner, QSerialPort* serial);

    int16_t Crd() const { return crd_; }
    void setCrd(int16_t v) { crd_ = v; }
    int16_t Brd() const { return brd_; }
    void setBrd(int16_t v) { brd_ = v; }
    int16_t pad() const { return pad_; }
    void setPad(int16_t v) { pad_ = v; }
    int16_t sad() const { return sad_; }
    void setSad(int16_t v) { sad_ = v; }
    // Suggested read delay in ms for the current transport.
    int16_t Del() const { return crd_ != 0 ? 3010 : 5; }
    // -1 while closed; the card's descriptor or the adapter's port number while open.
    int16_t Hdl() const { return hdl_; }
    // The adapter's serial device by its path ("/dev/ttyUSB0"), opened in place of the one
    // its COM port number Brd stands for; empty for that one.
    const QString& portPath() const { return portPath_; }
    void setPortPath(const QString& path) { portPath_ = path; }

    bool DevOpen();
    bool DevWrite(uint8_t device, const QString& data);
    QString DevRead(uint8_t device, int16_t del);
    QString DevQuery(uint8_t device, const QString& data, int16_t del = 0);
    void DevPurge(uint8_t device);
    bool DevClose();
    QString DevTest();

    Platform& platform() { return platform_; }
    QSerialPort* serialPort() const { return serial_; }

  private:
    Platform& platform_;
    QObject* owner_ = nullptr;
    QSerialPort* serial_ = nullptr;
    int16_t crd_ = 0;
    int16_t brd_ = 0;
    int16_t pad_ = 0;
    int16_t sad_ = 0;
    int16_t hdl_ = -1;
    QString portPath_;
    // The transport of the last DevOpen. Kept until the next one, so that a change of Crd in
    // between still closes the link the way it was opened. Shared, so that an operation that
    // lets events run keeps its transport alive while a handler reopens the link.
    std::shared_ptr<Transport> transport_;
};

// Builds the transport for a Crd value (0: card, otherwise adapter).
std::unique_ptr<Transport> makeTransport(int16_t crd, ClsGPIB& link);

}  // namespace lorvane
