#include "clipboard_copy.h"

#include <gtest/gtest.h>

#include "export_fakes.h"
#include "fake_platform.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kHeader = u"Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n"_s;

// The copy against fakes that note everything in the platform's journal.
struct CopyRig {
    CopyRig() {
        view.log = &platform.journal;
        clipboard.log = &platform.journal;
    }

    FakeTable table;
    FakeView view;
    FakePlatform platform;
    FakeClipboard clipboard;
    ClipboardCopy copy{table, view, platform, clipboard};
};

struct ClipboardCopyTest : ::testing::Test, CopyRig {};

TEST(ClipboardCopyRows, SelectsEveryRowAtOnceThenSetsTheClipboardBetweenTwoWaits) {
    const ExportRows three = {locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
                              locRow("3.000", "5.000", "6.000")};
    struct Case {
        qsizetype rows;
        QString lines;
        std::vector<QString> journal;
    };
    const Case cases[] = {
        {0,
         {},
         {u"multi"_s, u"unhighlight"_s, u"sleep:200"_s, u"clear"_s, u"set"_s, u"sleep:200"_s,
          u"single"_s}},
        {1,
         loc("0.500\t1.000\t2.000\t\r\n"),
         {u"multi"_s, u"selectAll"_s, u"click:0"_s, u"events"_s, u"unhighlight"_s, u"sleep:200"_s,
          u"clear"_s, u"set"_s, u"sleep:200"_s, u"single"_s, u"select:0"_s, u"unselect:0"_s}},
        {3,
         loc(" 0.500\t1.000\t2.000\t\r\n12.000\t3.000\t4.000\t\r\n 3.000\t5.000\t6.000\t\r\n"),
         {u"multi"_s, u"selectAll"_s, u"click:2"_s, u"events"_s, u"unhighlight"_s, u"sleep:200"_s,
          u"clear"_s, u"set"_s, u"sleep:200"_s, u"single"_s, u"select:0"_s, u"unselect:0"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        CopyRig rig;
        rig.table.rows.assign(three.begin(), three.begin() + c.rows);
        rig.copy.run();
        EXPECT_EQ(rig.clipboard.text, kHeader + c.lines);
        EXPECT_EQ(rig.platform.journal, c.journal);
        EXPECT_TRUE(rig.platform.messages.empty());
    }
}

TEST_F(ClipboardCopyTest, TheTextHoldsTheRowsAsTheyWereWhenTheKeyWasReleased) {
    // The table is emptied during the first event pass (a selection change clears the results).
    table.rows = {locRow("1.000", "1.000", "1.000"), locRow("2.000", "1.000", "1.000")};
    platform.onEvents = [this] { table.rows.clear(); };
    copy.run();
    EXPECT_EQ(clipboard.text, kHeader + loc("1.000\t1.000\t1.000\t\r\n2.000\t1.000\t1.000\t\r\n"));
    // Nothing is left to select at the end.
    EXPECT_EQ(platform.journal.back(), u"single");
}

}  // namespace
}  // namespace lorvane::test
