#include "clipboard_copy.h"
#include "clipboard_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "export_fakes.h"
#include "fake_platform.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kHeader = u"Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n"_s;
using Tracked = std::array<int64_t, 3>;

struct TextCase {
    const char* what;
    ExportRows rows;  // texts with a point, shown in the test's locale
    QString lines;
    Tracked tracked;
};

TEST(ClipboardText, ColumnsArePaddedToTheWidthOfTheLargestValueSeenSoFar) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    const TextCase cases[] = {
        {"no rows", {}, "", {0, 1, 2}},
        {"the largest sweep value sets the width",
         {locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
          locRow("100.000", "5.000", "6.000")},
         "  0.500\t1.000\t2.000\t\r\n 12.000\t3.000\t4.000\t\r\n100.000\t5.000\t6.000\t\r\n",
         {100, 5, 6}},
        {"1 and 2 do not exceed the starts",
         {locRow("1.000", "1.000", "2.000")},
         "1.000\t1.000\t2.000\t\r\n",
         {1, 1, 2}},
        {"zeros", {locRow("0.000", "0.000", "0.000")}, "0.000\t0.000\t0.000\t\r\n", {0, 1, 2}},
        {"once negative, every later cell takes over",
         {locRow("1.000", "1.000", "-5.000"), locRow("2.000", "1.000", "3.000")},
         "1.000\t1.000\t-5.000\t\r\n2.000\t1.000\t3.000\t\r\n",
         {2, 1, 3}},
        {"a sign widens the column",
         {locRow("1.000", "1.000", "3.000"), locRow("2.000", "1.000", "-5.000")},
         "1.000\t1.000\t 3.000\t\r\n2.000\t1.000\t-5.000\t\r\n",
         {2, 1, -5}},
        {"beyond sixteen bits",
         {locRow("40000.000", "123456.789", "1.000"), locRow("5.000", "1.500", "-32767.500")},
         "40000.000\t123456.789\t     1.000\t\r\n    5.000\t     1.500\t-32767.500\t\r\n",
         {40000, 123457, -32768}},
        {"huge values hold the limits",
         {locRow("100000000000000000000.000", "1.000", "1.000"),
          locRow("1.000", "-100000000000000000000.000", "1.000")},
         u"100000000000000000000.000\t"_s + QString(19, u' ') + "1.000\t1.000\t\r\n" +
             QString(18, u' ') + "1.000\t-100000000000000000000.000\t1.000\t\r\n",
         {kMax, kMin, 2}},
    };
    for (const TextCase& c : cases) {
        ColumnWidthTracker tracker;
        for (const ExportRow& row : c.rows) tracker.add(row);
        EXPECT_EQ(tracker.tracked(), c.tracked) << c.what;
        EXPECT_EQ(
            clipboardText({u"Freq."_s, u"Z"_s, u"Phi"_s}, {u"kHz"_s, u"Ohm"_s, u"°"_s}, c.rows),
            kHeader + loc(c.lines))
            << c.what;
    }
}

TEST(ClipboardText, TheTrackedValueIsTheLeadingNumberRoundedHalfToEven) {
    struct Case {
        QLocale::Language language;
        ExportRow row;
        Tracked tracked;
    };
    // Int() rounds down, so a negative fraction exceeds the start as the next whole number
    // below; the value kept rounds half to even. Under a decimal comma "-2,500" starts with -2,
    // which does not exceed 2.
    const Case cases[] = {
        {QLocale::English, {u"1.000"_s, u"1.000"_s, u"-2.500"_s}, {1, 1, -2}},
        {QLocale::English, {u"-0.500"_s, u"1.000"_s, u"1.000"_s}, {0, 1, 2}},
        {QLocale::English, {u"2.500"_s, u"1.000"_s, u"1.000"_s}, {2, 1, 2}},
        {QLocale::English, {u"3.500"_s, u"1.000"_s, u"1.000"_s}, {4, 1, 2}},
        {QLocale::German, {u"1,000"_s, u"1,000"_s, u"-2,500"_s}, {1, 1, 2}},
        {QLocale::German, {u"3,500"_s, u"1,000"_s, u"1,000"_s}, {4, 1, 2}},
        {QLocale::German, {u"12,000"_s, u"1,000"_s, u"1,000"_s}, {12, 1, 2}},
    };
    for (const Case& c : cases) {
        ScopedLocale locale{QLocale(c.language)};
        ColumnWidthTracker tracker;
        tracker.add(c.row);
        EXPECT_EQ(tracker.tracked(), c.tracked)
            << c.row[0].toStdString() << " " << c.row[2].toStdString();
    }
}

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

TEST(ClipboardCopyRows, TheTextHoldsTheRowsAsTheyWereWhenTheKeyWasReleased) {
    // The table is emptied during the first event pass (a selection change clears the results).
    CopyRig rig;
    rig.table.rows = {locRow("1.000", "1.000", "1.000"), locRow("2.000", "1.000", "1.000")};
    rig.platform.onEvents = [&rig] { rig.table.rows.clear(); };
    rig.copy.run();
    EXPECT_EQ(rig.clipboard.text,
              kHeader + loc("1.000\t1.000\t1.000\t\r\n2.000\t1.000\t1.000\t\r\n"));
    // Nothing is left to select at the end.
    EXPECT_EQ(rig.platform.journal.back(), u"single");
}

}  // namespace
}  // namespace lorvane::test
