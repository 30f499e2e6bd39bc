// The adapter's reply as a read collects it: the same bytes cut into arbitrary pieces, as the
// serial port may hand them over, one piece per poll.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "reply_collector.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using lorvane::kLongestReply;
    using Status = lorvane::ReplyCollector::Status;
    FuzzedDataProvider input(data, size);
    std::vector<QByteArray> pieces;
    QByteArray stream;
    while (input.remaining_bytes() > 0) {
        const auto length = input.ConsumeIntegralInRange<size_t>(0, 2 * kLongestReply);
        const std::vector<char> piece = input.ConsumeBytes<char>(length);
        pieces.emplace_back(piece.data(), static_cast<qsizetype>(piece.size()));
        stream += pieces.back();
    }

    lorvane::ReplyCollector reply;
    qsizetype taken = 0;
    qsizetype lastPiece = 0;
    for (const QByteArray& piece : pieces) {
        const Status status = reply.add(piece);
        taken += piece.size();
        lastPiece = piece.size();
        FUZZ_CHECK(reply.text().size() <= kLongestReply + piece.size(),
                   "the collector never holds more than the longest reply and one piece");
        if (status != Status::Waiting) break;
    }
    const QByteArray before = reply.text();
    if (reply.status() != Status::Waiting)
        FUZZ_CHECK(reply.add("more\n") == reply.status() && reply.text() == before,
                   "a finished reply takes nothing more");

    // Where the pieces were cut changes only what follows the line feed.
    lorvane::ReplyCollector whole;
    whole.add(stream.first(taken));
    FUZZ_CHECK(whole.status() == reply.status(), "the pieces do not change the outcome");
    const qsizetype lineFeed = stream.indexOf('\n');
    switch (reply.status()) {
        case Status::Complete:
            FUZZ_CHECK(lineFeed >= 0 && lineFeed < kLongestReply,
                       "a complete reply has its line feed within the longest reply");
            FUZZ_CHECK(reply.text() == stream.first(taken),
                       "a complete reply is every byte up to the end of its last piece");
            FUZZ_CHECK(lineFeed >= taken - lastPiece,
                       "the reply ends with the piece that brought the line feed");
            break;
        case Status::Overlong:
            FUZZ_CHECK(lineFeed < 0 || lineFeed >= kLongestReply,
                       "only a reply without a timely line feed is overlong");
            break;
        case Status::Waiting:
            FUZZ_CHECK(lineFeed < 0 && stream.size() <= kLongestReply && reply.text() == stream,
                       "an unfinished reply is all that came, short and without a line feed");
            break;
    }
    return 0;
}
