// The Prologix adapter transport, against a fake adapter on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QSerialPort>
#include <functional>
#include <map>
#include <vector>

#include "adapter_transport.h"
#include "cls_gpib.h"
#include "fake_adapter.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using test::FakeAdapter;
using test::FakePlatform;

const QByteArray kSetup =
    "++mode 1\r\n++auto 0\r\n++read_tmo_ms 3000\r\n++eos 3\r\n++addr 17\r\n++clr\r\n++ifc\r\n";

class AdapterLink : public testing::Test {
  protected:
    AdapterLink() {
        link.Initialize(nullptr, &port);
        link.setCrd(1);
        link.setBrd(adapter.port());
        link.setPad(17);
    }

    // Has the adapter send the given bytes at the given event passes of the link's polling;
    // at pass `act`, runs `action` first.
    void answerAt(std::map<int, QByteArray> script, int act = 0,
                  std::function<void()> action = {}) {
        platform.eventPasses = 0;
        platform.onEvents = [=, this, handled = 0]() mutable {
            if (platform.eventPasses == handled) return;  // sleeps call in too
            handled = platform.eventPasses;
            if (handled == act) action();
            if (const auto it = script.find(handled); it != script.end()) {
                adapter.answer(it->second, port);
            }
        };
    }

    FakeAdapter adapter;
    QSerialPort port;
    FakePlatform platform;
    ClsGPIB link{platform};
};

TEST_F(AdapterLink, OpenWritePurgeAndCloseSendTheirLinesOnTheNumberedPortOrAPath) {
    ASSERT_TRUE(link.DevOpen());
    EXPECT_EQ(link.Hdl(), adapter.port());
    EXPECT_EQ(port.baudRate(), 115200);
    EXPECT_TRUE(platform.journal.empty());  // no pause, no event pass, no message
    EXPECT_TRUE(link.DevWrite(0, QStringLiteral("A1B1C1F1T3")));
    link.DevPurge(0);
    const QByteArray expected = kSetup + "A1B1C1F1T3\r++ifc\r";
    EXPECT_EQ(adapter.sent(expected.size()), expected);

    EXPECT_TRUE(link.DevClose());
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
    EXPECT_FALSE(link.DevClose());

    link.setBrd(adapter.missingPort());
    link.setPortPath(adapter.devicePath());
    ASSERT_TRUE(link.DevOpen());
    EXPECT_EQ(adapter.sent(kSetup.size()), kSetup);
    // A port number with no device behind it: one error, and the link still counts as open on
    // the number, but nothing passes.
    link.setPortPath(QString());
    EXPECT_FALSE(link.DevOpen());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Serial port open error"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(link.Hdl(), adapter.missingPort());
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
    EXPECT_EQ(platform.sleptMs, 3000);  // it looked for the adapter for as long as a read waits
    EXPECT_EQ(link.DevRead(0, 0), QString());
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(link.DevClose());
}

TEST_F(AdapterLink, ReadAsksForALineAndEndsAtTheLineFeedOrAfter3000Polls) {
    const struct {
        std::map<int, QByteArray> script;
        const char* reply;
        int passes;
    } cases[] = {
        {{{2, "NZFN+02.8"}, {5, "17E+03,NTDN-000.03E+00,"}, {9, "K+01.000000\r\nrest"}, {12, "x"}},
         "NZFN+02.817E+03,NTDN-000.03E+00,K+01.000000\r\nrest",
         9},  // at the poll after the piece with the line feed
        {{{1, "NZFN+02.817E+03"}}, "NZFN+02.817E+03", 2999},  // 3000 polls, 1 ms apart
    };
    ASSERT_TRUE(link.DevOpen());
    adapter.sent(kSetup.size());
    for (const auto& c : cases) {
        platform.sleeps.clear();
        platform.sleptMs = 0;
        answerAt(c.script);
        EXPECT_EQ(link.DevRead(0, 40), QString::fromLatin1(c.reply));
        EXPECT_EQ(adapter.sent(10), "++read 10\r");
        EXPECT_EQ(platform.eventPasses, c.passes);
        EXPECT_EQ(platform.sleeps.front(), 40);
        EXPECT_EQ(platform.sleptMs, 40 + c.passes);
    }
}

TEST_F(AdapterLink, ADeviceThatNeverEndsItsLineIsCutOffAndDroppedUntilItFallsQuiet) {
    ASSERT_TRUE(link.DevOpen());
    // Too long without a line feed: dropped, and the read ends after 100 quiet polls.
    answerAt({{1, QByteArray(300, 'x')}});
    EXPECT_EQ(link.DevRead(0, 0), QStringLiteral("Overlong reply"));
    EXPECT_EQ(platform.eventPasses, 101);
    // A device that floods for ever: the read gives up after 3000 polls, and nothing the flood
    // sent is left for the next read.
    platform.eventPasses = 0;
    platform.onEvents = [&] { adapter.flood(port, 1000); };
    EXPECT_TRUE(link.DevRead(0, 0) == QStringLiteral("Overlong reply"));
    EXPECT_EQ(platform.eventPasses, 2999);
    answerAt({{1, "N\r\n"}});
    EXPECT_EQ(link.DevRead(0, 0), QStringLiteral("N\r\n"));
}

TEST_F(AdapterLink, AHandlerThatClosesOrReopensTheLinkEndsTheReadOrLeavesItOnTheNewPort) {
    ASSERT_TRUE(link.DevOpen());
    platform.onEvents = [this] {
        if (platform.eventPasses == 3) link.DevClose();
    };
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), QString());
    EXPECT_EQ(platform.eventPasses, 3);
    EXPECT_EQ(link.Hdl(), -1);

    ASSERT_TRUE(link.DevOpen());
    answerAt({{3, "N\r\n"}}, 2, [this] { link.DevOpen(); });
    EXPECT_EQ(link.DevRead(0, 0), QStringLiteral("N\r\n"));
    EXPECT_EQ(link.Hdl(), adapter.port());
}

TEST_F(AdapterLink, APulledAdapterFailsAQueryAtOnceAndIsReopenedQuietlyWhenItIsBack) {
    ASSERT_TRUE(link.DevOpen());
    adapter.sent(kSetup.size());
    adapter.unplug();
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), QString());
    EXPECT_LT(platform.sleptMs, 10);  // at once, not after the read timeout
    EXPECT_EQ(link.Hdl(), adapter.port());

    // Back at the third try: the settings again, but no clear for the instrument.
    answerAt({{3, "N\r\n"}}, 2, [this] { adapter.plugIn(); });
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), QStringLiteral("N\r\n"));
    const QByteArray expected = kSetup.left(kSetup.indexOf("++clr")) + "EX\r++read 10\r";
    EXPECT_EQ(adapter.sent(expected.size()), expected);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AdapterLink, TestIdentifiesTheAdapterAndClosesTheLink) {
    answerAt({{1, "Prologix GPIB-USB Controller version 6.107\r\n"}});
    EXPECT_EQ(link.DevTest(), QStringLiteral("Prologix 6.107"));
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_FALSE(port.isOpen());
    const QByteArray expected = kSetup + "++ver\r++read 10\r";
    EXPECT_EQ(adapter.sent(expected.size()), expected);
    EXPECT_EQ(platform.sleeps.front(), 3000);  // the adapter's time to answer
}

TEST(ReplyCollector, EndsWithThePieceThatBringsTheLineFeedWithin256Bytes) {
    using Status = ReplyCollector::Status;
    const QByteArray x255(255, 'x');
    const struct {
        std::vector<QByteArray> pieces;
        Status status;
        QByteArray text;
    } cases[] = {
        {{"\n", "late"}, Status::Complete, "\n"},
        {{'\n' + x255 + 'x'}, Status::Complete, '\n' + x255 + 'x'},
        {{"NZ", "", "FN\r\nrest", "late\n"}, Status::Complete, "NZFN\r\nrest"},
        {{x255, "\n"}, Status::Complete, x255 + '\n'},
        {{x255 + 'x', "\n"}, Status::Overlong, x255 + "x\n"},
        {{x255 + 'x'}, Status::Waiting, x255 + 'x'},
        {{x255, "xx"}, Status::Overlong, x255 + "xx"},
    };
    for (const auto& c : cases) {
        ReplyCollector reply;
        for (const QByteArray& piece : c.pieces) reply.add(piece);
        EXPECT_EQ(reply.status(), c.status) << c.text.left(20).data();
        EXPECT_EQ(reply.text(), c.text);
    }
}

TEST(PrologixIdentity, TakesTheVersionBehindTheWordVersionOfAPrologixAnswer) {
    const std::pair<const char*, const char*> cases[] = {
        {"Prologix GPIB-USB Controller version 6.107\r\n", "Prologix 6.107"},
        {"Prologix GPIB-USB Controller version 6.1\r\n", "Prologix 6.1"},
        {"Prologix GPIB-ETHERNET\r\n", "Prologix"},
        {"", ""},
        {"Prologix\r\n", ""},  // no blank
        {"prologix version 6.107\r\n", ""},
        {"Unrecognized command\r\n", ""},
    };
    for (const auto& [answer, identity] : cases)
        EXPECT_EQ(prologixIdentity(QString::fromLatin1(answer)), QString::fromLatin1(identity))
            << answer;
}

}  // namespace
}  // namespace lorvane
