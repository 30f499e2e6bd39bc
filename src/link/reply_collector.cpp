#include "reply_collector.h"

namespace lorvane {

ReplyCollector::Status ReplyCollector::add(QByteArrayView piece) {
    if (status_ != Status::Waiting) return status_;
    text_ += piece;
    const qsizetype end = text_.indexOf('\n');
    // Too long: the line feed comes too late, or there is none yet and already too much.
    if (end < 0 ? text_.size() > kLongestReply : end >= kLongestReply)
        status_ = Status::Overlong;
    else if (end >= 0)
        status_ = Status::Complete;
    return status_;
}

}  // namespace lorvane
