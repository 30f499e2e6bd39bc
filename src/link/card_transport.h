#pragma once

#include <functional>

#include "ni488_library.h"
#include "platform.h"
#include "transport.h"

namespace lorvane {

// The link through a National Instruments GPIB card (Crd = 0), driven through NI-488.2.
class CardTransport final : public Transport {
  public:
    // Finds the library at each open; nullptr with the reason in failure when there is none.
    using LibraryFinder = std::function<Ni488Library*(QString& failure)>;

    explicit CardTransport(Platform& platform, LibraryFinder finder = &Ni488Library::shared);

    bool open(int16_t brd, int16_t pad, int16_t sad, int16_t& hdl) override;
    bool write(int16_t hdl, const QByteArray& text) override;
    QByteArray read(ClsGPIB& link, int16_t hdl, int del) override;
    void purge(ClsGPIB& link, int16_t hdl) override;
    void close(int16_t hdl) override;
    QString identify(ClsGPIB& link) override;

  private:
    Platform& platform_;
    LibraryFinder finder_;
    // Set by a successful load in open; every later call (hdl != -1) comes after one.
    Ni488Library* gpib_ = nullptr;
};

}  // namespace lorvane
