#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "scoped_env.h"

class QSerialPort;

namespace lorvane::test {

// The far end of a Prologix adapter, on a pseudo-terminal of this process. It is published
// the way lorvane-sim publishes its ports: as the link COM<N> in a temporary runtime folder
// that XDG_RUNTIME_DIR points at while the adapter lives. It answers nothing by itself: the
// test decides what arrives and when.
class FakeAdapter {
  public:
    FakeAdapter();
    ~FakeAdapter();
    FakeAdapter(const FakeAdapter&) = delete;
    FakeAdapter& operator=(const FakeAdapter&) = delete;

    // The COM port number (its lock file lies in this adapter's own folder).
    int16_t port() const { return 7; }
    // A port number with no device behind it, not even a serial port of the machine.
    int16_t missingPort() const { return 250; }
    // The pseudo-terminal's own path (what the link COM<N> points at).
    QString devicePath() const;

    // Everything the link has sent since the last call, once at least count bytes have
    // arrived (or after a generous bound, with what there is).
    QByteArray sent(qsizetype count);

    // Sends bytes to the link and returns once the link's port can read them, so that the
    // link's next poll is sure to see them.
    void answer(const QByteArray& bytes, const QSerialPort& linkPort);
    // Pulls the adapter: its pseudo-terminal and COM link go away. plugIn() brings a new one
    // behind the same COM link (the constructor plugs the first one in).
    void unplug();
    void plugIn();
    // Sends bytes without a line end for as long as the pseudo-terminal takes them, and returns
    // once the link's port can read at least `atLeast` of them.
    void flood(const QSerialPort& linkPort, int atLeast);

  private:
    QByteArray linkPath() const;
    QByteArray sentSoFar();
    void waitUntilReadable(const QSerialPort& linkPort, qsizetype count);

    QTemporaryDir runtime_;
    ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path())};
    int master_ = -1;
};

}  // namespace lorvane::test
