#include "result_table.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <cmath>
#include <optional>

#include "view_rig.h"

namespace lorvane::test {
namespace {

// A row as the run makes it, the texts given in "." notation.
ResultRow row(const char* key, const char* x, const char* dat1 = "1.000",
              const char* dat2 = "2.000") {
    return {dec(key), dec(x), dec(dat1), dec(dat2)};
}

QStringList sweepColumn(const ResultTable& table) {
    QStringList texts;
    for (int i = 0; i < table.rows(); ++i) texts << table.cell(i, 2);
    return texts;
}

TEST(ResultTable, RowsSortByKeyWithNegativeValuesFirstAndAReMeasuredPointReplacesItsRow) {
    ResultTable table;
    table.addRow(row("000000.000", "0.000"));
    table.addRow(row(" 999989.999", "-10.000"));
    table.addRow(row("000005.000", "5.000"));
    table.addRow(row(" 999979.999", "-20.000"));
    table.addRow(row(" 999987.499", "-12.500"));
    EXPECT_EQ(sweepColumn(table), (QStringList{dec("-20.000"), dec("-12.500"), dec("-10.000"),
                                               dec("0.000"), dec("5.000")}));
    EXPECT_EQ(table.cell(0, 1), dec(" 999979.999"));
    // A re-measured point replaces its row.
    EXPECT_EQ(table.addRow(row(" 999987.499", "-12.500", "9.000", "8.000")), 1);
    ASSERT_EQ(table.rows(), 5);
    EXPECT_EQ(table.cell(1, 3), dec("9.000"));
    EXPECT_EQ(table.cell(1, 4), dec("8.000"));
    EXPECT_EQ(table.findRow(dec("5.000")), 4);
}

TEST(ResultTable, RemovingBySweepTextTakesOnlyThatRow) {
    ResultTable table;
    for (const char* x : {"1.000", "2.000", "3.000"})
        table.addRow(row((QByteArray("00000") + x).constData(), x));
    EXPECT_TRUE(table.removeRowWithSweepText(dec("2.000")));
    EXPECT_EQ(sweepColumn(table), (QStringList{dec("1.000"), dec("3.000")}));
    // A text that no row has, or one that differs only in its decimal separator, loses nothing.
    EXPECT_FALSE(table.removeRowWithSweepText(dec("2.000")));
    EXPECT_FALSE(table.removeRowWithSweepText(QStringLiteral("3;000")));
    EXPECT_EQ(table.rows(), 2);
    EXPECT_EQ(table.findRow(dec("2.000")), -1);
    EXPECT_EQ(table.findRow(dec("3.000")), 1);
    // Rows sharing a key keep their own sweep texts.
    table.addRow({QStringLiteral("K"), QStringLiteral("a"), QString(), QString()});
    table.addRow({QStringLiteral("K"), QStringLiteral("b"), QString(), QString()});
    EXPECT_EQ(table.findRow(QStringLiteral("b")), 3);
    EXPECT_TRUE(table.removeRowWithSweepText(QStringLiteral("a")));
    EXPECT_EQ(table.findRow(QStringLiteral("b")), 2);
}

TEST(ResultTable, ReadsCellsBackAsNumbersInTheUsersLocale) {
    ResultTable table;
    table.addRow(row("000010.500", "10.500", "-123.456", "0.00012"));
    table.addRow({QStringLiteral("000020.000"), dec("20.000"), QStringLiteral("bad"), QString()});
    EXPECT_EQ(table.number(0, 2), 10.5);
    EXPECT_EQ(table.number(0, 3), -123.456);
    EXPECT_EQ(table.number(0, 4), 0.00012);
    EXPECT_EQ(table.point(0), QPointF(10.5, -123.456));
    // Texts that are no numbers, the key column and rows outside the table give nothing.
    EXPECT_FALSE(table.number(1, 3));
    EXPECT_FALSE(table.point(1));
    EXPECT_FALSE(table.number(0, 1));
    EXPECT_FALSE(table.number(2, 2));
    EXPECT_EQ(table.cell(-1, 2), "");
    EXPECT_EQ(table.cell(0, 5), "");
    EXPECT_EQ(table.row(0).dat2, dec("0.00012"));
}

TEST(ResultTable, ReadsOtherNumberFormsAsTheLocaleDoes) {
    // Group separators make no number ("1.500" in German, "1,500" in English).
    const std::pair<QString, std::optional<double>> cases[] = {
        {dec(" 12.5 "), 12.5},
        {dec("-0.000"), -0.0},
        {dec("+7"), 7.0},
        {dec("1e3"), 1000.0},
        {dec("-"), {}},
        {QString(), {}},
        {dec("12.5.1"), {}},
        {QStringLiteral("NaN"), {}},
        {QStringLiteral("inf"), {}},
        {"1" + QLocale().groupSeparator() + "500", {}},
    };
    for (const auto& [text, number] : cases) {
        ResultTable table;
        table.addRow({QStringLiteral("1"), QStringLiteral("1"), text, QString()});
        const std::optional<double> read = table.number(0, 3);
        EXPECT_EQ(read, number) << text.toStdString();
        if (read && number) {
            EXPECT_EQ(std::signbit(*read), std::signbit(*number));
        }
    }
}

TEST(ResultTable, ClearEmptiesTheRowsAndKeepsTheHeadings) {
    ResultTable table;
    QSignalSpy changed(&table, &QAbstractItemModel::headerDataChanged);
    table.setHeading(2, QStringLiteral("Freq. (kHz)"));
    // Views hear of the change to the second heading, the first one they show.
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0], (QVariantList{QVariant::fromValue(Qt::Horizontal), 1, 1}));
    table.setHeading(5, QStringLiteral("ignored"));
    table.addRow(row("000010.000", "10.000"));
    table.clear();
    EXPECT_EQ(table.rows(), 0);
    EXPECT_EQ(table.findRow(dec("10.000")), -1);
    EXPECT_EQ(table.heading(1), "X");
    EXPECT_EQ(table.heading(2), "Freq. (kHz)");
    EXPECT_EQ(table.heading(5), "");
    EXPECT_EQ(table.headerData(1, Qt::Horizontal), QVariant(QStringLiteral("Freq. (kHz)")));
}

TEST(ResultTable, TellsItsViewsWhereRowsComeAndGo) {
    ResultTable table;
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&table, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
    table.addRow(row("000020.000", "20.000"));
    table.addRow(row("000010.000", "10.000"));
    table.addRow(row("000030.000", "30.000"));
    table.addRow(row("000010.000", "10.000", "5.000"));
    ASSERT_EQ(inserted.size(), 4);
    EXPECT_EQ(inserted[1][1].toInt(), 0);
    EXPECT_EQ(inserted[2][1].toInt(), 2);
    EXPECT_EQ(inserted[3][1].toInt(), 0);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 0);
    EXPECT_EQ(table.data(table.index(0, 2)), QVariant(dec("5.000")));
    EXPECT_EQ(table.rowCount(table.index(0, 0)), 0);
}

}  // namespace
}  // namespace lorvane::test
