#include "clipboard_copy.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "export_fakes.h"
#include "fake_platform.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kHeader = u"Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n"_s;

struct CopyFixture : ::testing::Test {
    CopyFixture() {
        view.log = &platform.journal;
        clipboard.log = &platform.journal;
    }

    FakeTable table;
    FakeView view;
    FakePlatform platform;
    FakeClipboard clipboard;
    ClipboardCopy copy{table, view, platform, clipboard};
};

using ClipboardCopyTest = CopyFixture;

TEST_F(ClipboardCopyTest, SelectsEveryRowAtOnceThenSetsTheClipboardBetweenTwoWaits) {
    table.rows = {locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
                  locRow("3.000", "5.000", "6.000")};
    copy.run();
    EXPECT_EQ(clipboard.text, kHeader + loc(" 0.500\t1.000\t2.000\t\r\n12.000\t3.000\t4.000\t\r\n"
                                            " 3.000\t5.000\t6.000\t\r\n"));
    const std::vector<QString> expected{
        u"multi"_s, u"selectAll"_s, u"click:2"_s,   u"events"_s, u"unhighlight"_s, u"sleep:200"_s,
        u"clear"_s, u"set"_s,       u"sleep:200"_s, u"single"_s, u"select:0"_s,    u"unselect:0"_s};
    EXPECT_EQ(platform.journal, expected);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ClipboardCopyTest, EmptyTablePutsTheHeaderOnlyAndSelectsNothing) {
    copy.run();
    EXPECT_EQ(clipboard.text, kHeader);
    const std::vector<QString> expected{u"multi"_s, u"unhighlight"_s, u"sleep:200"_s, u"clear"_s,
                                        u"set"_s,   u"sleep:200"_s,   u"single"_s};
    EXPECT_EQ(platform.journal, expected);
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

TEST(QtClipboardTest, PutsTheTextOnTheSystemClipboard) {
    QtClipboard clipboard;
    clipboard.setText(u"Freq. (kHz)\t\r\n"_s);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Freq. (kHz)\t\r\n");
    clipboard.clear();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"");
}

}  // namespace
}  // namespace lorvane::test
