#pragma once

#include "platform.h"
#include "reply_collector.h"
#include "transport.h"

class QSerialPort;

namespace lorvane {

// What a read gives for a longer reply (a wrong device on the port, a broken adapter): a text
// without a field separator and without the word Prologix, so that the run takes it for bad
// data and the identification for no adapter.
inline constexpr char kOverlongReply[] = "Overlong reply";

// The link through a Prologix USB-GPIB adapter on a serial port (Crd != 0). Hdl is the COM
// port number while the link counts as open.
class AdapterTransport final : public Transport {
  public:
    // port belongs to the main window; nullptr behaves like a port that cannot be opened.
    // path names the device to open; empty for the one of the COM port number.
    AdapterTransport(Platform& platform, QSerialPort* port, QString path = {});

    bool open(int16_t brd, int16_t pad, int16_t sad, int16_t& hdl) override;
    // Opens the port again first when the system took it away (a pulled adapter) or it could
    // not be opened, waiting for the adapter as long as a read waits for a reply (3000 polls
    // with an event pass): the link works again once the adapter is back, without a new open,
    // and a retry rides over a short outage.
    bool write(int16_t hdl, const QByteArray& text) override;
    // Asks the adapter for a line and polls for it, with an event pass between polls, until a
    // line feed arrives, 3000 polls have passed or the port is taken away. A reply longer than
    // kLongestReply ends the read with kOverlongReply: what arrives is dropped, poll by poll,
    // until 100 polls in a row bring nothing (or the 3000 polls have passed), so that the next
    // read does not take the rest of it for its own. A device that never ends its line costs
    // one poll's worth of memory, however fast it sends.
    QByteArray read(ClsGPIB& link, int16_t hdl, int del) override;
    void purge(ClsGPIB& link, int16_t hdl) override;
    void close(int16_t hdl) override;
    QString identify(ClsGPIB& link) override;

  private:
    bool openPort(int number);
    // The adapter's settings for this link; all but the instrument's address are the adapter's
    // power-on defaults or kept by it, but an adapter may have been set up by someone else.
    bool sendSettings();
    // The port is closed, or the system took it away: it fails to read or write.
    bool portLost() const;
    // Opens the lost port again, once the adapter is back; false after 3000 polls or when the
    // link was closed meanwhile.
    bool reopen(int16_t hdl);
    // Drops the port's input until it falls quiet, polling on from `polls`.
    void dropUntilQuiet(int polls);
    // Queues bytes and waits (briefly) until they have left: nothing else drives the port.
    bool send(const QByteArray& bytes);

    Platform& platform_;
    QSerialPort* port_;
    QString path_;
    int16_t pad_ = 0;
    bool closed_ = false;  // the link was closed: nothing may open the port again
};

// Reads the adapter's answer to "++ver": "Prologix" and the version text, e.g. "Prologix 6.107"
// for "Prologix GPIB-USB Controller version 6.107" + CR LF; "" when the first word is not
// Prologix.
QString prologixIdentity(const QString& answer);

}  // namespace lorvane
