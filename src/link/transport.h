#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace lorvane {

class ClsGPIB;

// One way of reaching the instrument. ClsGPIB checks the open/closed state (Hdl) and appends
// the line terminator; a transport does the rest of each operation its own way.
class Transport {
  public:
    virtual ~Transport() = default;

    // Opens the link to the instrument at pad on board brd. Sets hdl as the transport does,
    // also when it fails part-way. Shows its own platform failures; never throws.
    virtual bool open(int16_t brd, int16_t pad, int16_t sad, int16_t& hdl) = 0;
    // Sends text as it stands (the caller has appended CR). hdl is not -1.
    virtual bool write(int16_t hdl, const QByteArray& text) = 0;
    // Waits del ms, then reads one response. hdl is not -1. "" when nothing could be read.
    virtual QByteArray read(ClsGPIB& link, int16_t hdl, int del) = 0;
    virtual void purge(ClsGPIB& link, int16_t hdl) = 0;
    // Closes the open link. hdl is not -1.
    virtual void close(int16_t hdl) = 0;
    // Identifies the instrument or adapter on a link that DevTest has just opened; "" when it
    // cannot.
    virtual QString identify(ClsGPIB& link) = 0;
};

}  // namespace lorvane
