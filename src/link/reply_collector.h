#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace lorvane {

// The longest reply a read takes, line feed included. The instrument's readings and the
// adapter's identification are under 50 bytes; the rest is room.
inline constexpr int kLongestReply = 256;

// Collects one reply from the adapter as its bytes arrive, in whatever pieces the port hands
// them over. The reply is complete with the first piece that brings a line feed (that piece
// stays whole, bytes after the line feed included); it is overlong as soon as its line feed
// cannot come within kLongestReply bytes. Once complete or overlong, further pieces are ignored,
// so the text never grows past kLongestReply plus one piece.
class ReplyCollector {
  public:
    enum class Status { Waiting, Complete, Overlong };

    Status add(QByteArrayView piece);
    Status status() const { return status_; }
    // Everything taken so far.
    const QByteArray& text() const { return text_; }

  private:
    QByteArray text_;
    Status status_ = Status::Waiting;
};

}  // namespace lorvane
