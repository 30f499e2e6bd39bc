#include "clipboard_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "export_fakes.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const std::array<QString, 3> kLabels{QStringLiteral("Freq."), QStringLiteral("Z"),
                                     QStringLiteral("Phi")};
const std::array<QString, 3> kUnits{QStringLiteral("kHz"), QStringLiteral("Ohm"),
                                    QStringLiteral("°")};
const QString kHeader = QStringLiteral("Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n");

QString textOf(const ExportRows& rows) { return clipboardText(kLabels, kUnits, rows); }

ExportRow pointRow(const char* x, const char* dat1, const char* dat2) {
    return {QString::fromLatin1(x), QString::fromLatin1(dat1), QString::fromLatin1(dat2)};
}

std::array<int64_t, 3> trackedOf(const ExportRows& rows) {
    ColumnWidthTracker tracker;
    for (const ExportRow& row : rows) tracker.add(row);
    return tracker.tracked();
}

TEST(ClipboardText, HeaderNamesEachColumnWithItsUnitAndEndsInATab) {
    EXPECT_EQ(clipboardHeader(kLabels, kUnits), kHeader);
    EXPECT_EQ(columnTitle(QStringLiteral("Bias"), QStringLiteral("mV")), u"Bias (mV)");
}

TEST(ClipboardText, EmptyTableGivesTheHeaderLineOnly) { EXPECT_EQ(textOf({}), kHeader); }

TEST(ClipboardText, SweepValuesArePaddedToTheWidthOfTheLargest) {
    const ExportRows rows{locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
                          locRow("100.000", "5.000", "6.000")};
    EXPECT_EQ(textOf(rows), kHeader + loc("  0.500\t1.000\t2.000\t\r\n"
                                          " 12.000\t3.000\t4.000\t\r\n"
                                          "100.000\t5.000\t6.000\t\r\n"));
    EXPECT_EQ((trackedOf(rows)), (std::array<int64_t, 3>{100, 5, 6}));
}

TEST(ClipboardText, TrackedValuesStartAtZeroOneAndTwo) {
    // A value of 1 does not exceed the first reading's start of 1, nor 2 the second's, so
    // those columns keep their start; the sweep column's start of 0 is exceeded.
    const ExportRows rows{locRow("1.000", "1.000", "2.000")};
    EXPECT_EQ((trackedOf(rows)), (std::array<int64_t, 3>{1, 1, 2}));
    EXPECT_EQ(textOf(rows), kHeader + loc("1.000\t1.000\t2.000\t\r\n"));
    EXPECT_EQ((trackedOf({locRow("0.000", "0.000", "0.000")})), (std::array<int64_t, 3>{0, 1, 2}));
}

TEST(ClipboardText, ANegativeValueWidensItsColumnByItsSign) {
    const ExportRows rows{locRow("1.000", "1.000", "-5.000")};
    EXPECT_EQ(trackedOf(rows)[2], -5);
    EXPECT_EQ(textOf(rows), kHeader + loc("1.000\t1.000\t-5.000\t\r\n"));
}

TEST(ClipboardText, OnceNegativeTheTrackedValueIsReplacedByEveryLaterCell) {
    // -5 first: the next cell, 3, exceeds -5 and takes over; -5.000 then sticks out.
    EXPECT_EQ(textOf({locRow("1.000", "1.000", "-5.000"), locRow("2.000", "1.000", "3.000")}),
              kHeader + loc("1.000\t1.000\t-5.000\t\r\n2.000\t1.000\t3.000\t\r\n"));
    // -5 last: the column is as wide as "-5" allows, and 3.000 gets a blank.
    EXPECT_EQ(textOf({locRow("1.000", "1.000", "3.000"), locRow("2.000", "1.000", "-5.000")}),
              kHeader + loc("1.000\t1.000\t 3.000\t\r\n2.000\t1.000\t-5.000\t\r\n"));
}

TEST(ClipboardText, IntRoundsDownSoANegativeFractionCountsAsTheNextWholeNumber) {
    ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    // Int(-2.5) = -3 exceeds the start of 2; the value itself rounds to -2 (halves to even).
    EXPECT_EQ(trackedOf({pointRow("1.000", "1.000", "-2.500")})[2], -2);
    // Int(-0.5) = -1 exceeds 0; -0.5 rounds to 0.
    EXPECT_EQ(trackedOf({pointRow("-0.500", "1.000", "1.000")})[0], 0);
    // Halves round to even: 2.5 gives 2, 3.5 gives 4.
    EXPECT_EQ(trackedOf({pointRow("2.500", "1.000", "1.000")})[0], 2);
    EXPECT_EQ(trackedOf({pointRow("3.500", "1.000", "1.000")})[0], 4);
}

TEST(ClipboardText, ValuesBeyondSixteenBitsAreAlignedToo) {
    const ExportRows rows{locRow("40000.000", "123456.789", "1.000"),
                          locRow("5.000", "1.500", "-32767.500")};
    EXPECT_EQ((trackedOf(rows)), (std::array<int64_t, 3>{40000, 123457, -32768}));
    EXPECT_EQ(textOf(rows), kHeader + loc("40000.000\t123456.789\t     1.000\t\r\n"
                                          "    5.000\t     1.500\t-32767.500\t\r\n"));
}

TEST(ClipboardText, HugeValuesHoldTheTrackedValueAtItsLimit) {
    const ExportRows rows{locRow("100000000000000000000.000", "1.000", "1.000"),
                          locRow("1.000", "-100000000000000000000.000", "1.000")};
    EXPECT_EQ(trackedOf(rows)[0], std::numeric_limits<int64_t>::max());
    EXPECT_EQ(trackedOf(rows)[1], std::numeric_limits<int64_t>::min());
    ColumnWidthTracker tracker;
    for (const ExportRow& row : rows) tracker.add(row);
    EXPECT_EQ((tracker.widths()), (ColumnWidths{23, 24, 5}));
}

TEST(ClipboardText, InADecimalCommaLocaleTheLeadingNumberIsReadWithAPoint) {
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    // "0,500" starts with the number 0, "12,000" with 12: the widths come out as with a point.
    EXPECT_EQ(textOf({{u"0,500"_s, u"1,000"_s, u"2,000"_s},
                      {u"12,000"_s, u"3,000"_s, u"4,000"_s},
                      {u"100,000"_s, u"5,000"_s, u"6,000"_s}}),
              kHeader +
                  u"  0,500\t1,000\t2,000\t\r\n"
                  " 12,000\t3,000\t4,000\t\r\n"
                  "100,000\t5,000\t6,000\t\r\n"_s);
    // "-2,500" starts with -2, which does not exceed the second reading's start of 2 (with a
    // point, -2.5 rounds down to -3 and does): the column stays 5 wide.
    const ExportRows rows{{u"1,000"_s, u"1,000"_s, u"1,000"_s},
                          {u"2,000"_s, u"1,000"_s, u"-2,500"_s}};
    EXPECT_EQ(trackedOf(rows)[2], 2);
    EXPECT_EQ(textOf(rows), kHeader + u"1,000\t1,000\t1,000\t\r\n2,000\t1,000\t-2,500\t\r\n"_s);
    // The tracked value is the cell read with the comma: "3,500" gives 4.
    EXPECT_EQ(trackedOf({{u"3,500"_s, u"1,000"_s, u"1,000"_s}})[0], 4);
}

}  // namespace
}  // namespace lorvane::test
