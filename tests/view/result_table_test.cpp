#include "result_table.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <cmath>

#include "view_rig.h"

namespace lorvane::test {
namespace {

// The sweep texts of the rows, and the second reading where it is not "1.000".
QString rowsOf(const ResultTable& table) {
    QStringList texts;
    for (int i = 0; i < table.rows(); ++i)
        texts << table.cell(i, 2) +
                     (table.cell(i, 4) == dec("1.000") ? "" : "=" + table.cell(i, 4));
    return texts.join(u' ');
}

TEST(ResultTable, RowsSortByKeyWithNegativeValuesFirstAndAReMeasuredPointReplacesItsRow) {
    ResultTable table;
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&table, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
    const auto add = [&](const char* key, const char* x, const char* dat2 = "1.000") {
        return table.addRow({dec(key), dec(x), dec("2.000"), dec(dat2)});
    };
    add("000000.000", "0.000");
    add(" 999989.999", "-10.000");
    add("000005.000", "5.000");
    add(" 999979.999", "-20.000");
    EXPECT_EQ(add(" 999987.499", "-12.500"), 1);
    EXPECT_EQ(add(" 999987.499", "-12.500", "9.000"), 1);
    EXPECT_EQ(rowsOf(table), dec("-20.000 -12.500=9.000 -10.000 0.000 5.000"));
    EXPECT_EQ(inserted.size(), 6);
    EXPECT_EQ(inserted[2][1].toInt(), 2);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 1);
    EXPECT_EQ(table.findRow(dec("5.000")), 4);
    EXPECT_EQ(table.data(table.index(0, 1)), QVariant(dec("-20.000")));

    // Removing by sweep text takes only that row; a text no row has, or one that differs in
    // its decimal separator, loses nothing.
    EXPECT_TRUE(table.removeRowWithSweepText(dec("-10.000")));
    EXPECT_FALSE(table.removeRowWithSweepText(dec("-10.000")));
    EXPECT_FALSE(table.removeRowWithSweepText(QStringLiteral("5;000")));
    EXPECT_EQ(rowsOf(table), dec("-20.000 -12.500=9.000 0.000 5.000"));
    EXPECT_EQ(table.findRow(dec("-10.000")), -1);
    // Rows sharing a key keep their own sweep texts.
    table.addRow({QStringLiteral("K"), QStringLiteral("a"), QString(), QString()});
    table.addRow({QStringLiteral("K"), QStringLiteral("b"), QString(), QString()});
    EXPECT_EQ(table.findRow(QStringLiteral("b")), 5);
    EXPECT_TRUE(table.removeRowWithSweepText(QStringLiteral("a")));
    EXPECT_EQ(table.findRow(QStringLiteral("b")), 4);

    // Clearing empties the rows and keeps the headings, whose changes the views hear of.
    QSignalSpy headings(&table, &QAbstractItemModel::headerDataChanged);
    table.setHeading(2, QStringLiteral("Freq. (kHz)"));
    table.setHeading(5, QStringLiteral("ignored"));
    table.clear();
    EXPECT_EQ(table.rows(), 0);
    EXPECT_EQ(table.findRow(QStringLiteral("b")), -1);
    ASSERT_EQ(headings.size(), 1);
    EXPECT_EQ(headings[0], (QVariantList{QVariant::fromValue(Qt::Horizontal), 1, 1}));
    EXPECT_EQ(table.headerData(0, Qt::Horizontal).toString() + table.heading(2) + table.heading(5),
              "XFreq. (kHz)");
}

TEST(ResultTable, ReadsCellsBackAsNumbersInTheUsersLocale) {
    // Group separators make no number ("1.500" in German, "1,500" in English).
    const std::pair<QString, std::optional<double>> cases[] = {
        {dec("-123.456"), -123.456},
        {dec("0.00012"), 0.00012},
        {dec(" 12.5 "), 12.5},
        {dec("-0.000"), -0.0},
        {dec("+7"), 7.0},
        {dec("1e3"), 1000.0},
        {dec("-"), {}},
        {dec("5."), 5.0},
        {QString(), {}},
        {dec("12.5.1"), {}},
        {QStringLiteral("NaN"), {}},
        {QStringLiteral("inf"), {}},
        {"1" + QLocale().groupSeparator() + "500", {}},
    };
    for (const auto& [text, number] : cases) {
        ResultTable table;
        table.addRow({QStringLiteral("1"), dec("10.5"), text, text});
        const std::optional<double> read = table.number(0, 3);
        EXPECT_EQ(read, number) << text.toStdString();
        EXPECT_EQ(std::signbit(read.value_or(0)), std::signbit(number.value_or(0)));
        EXPECT_EQ(table.point(0), number ? std::optional(QPointF(10.5, *number)) : std::nullopt);
        EXPECT_EQ(table.leadingPoints(4).size(), number ? 1u : 0u);
    }
    // The key column and places outside the table give nothing.
    ResultTable table;
    table.addRow({QStringLiteral("1"), QStringLiteral("1"), QString(), QString()});
    EXPECT_FALSE(table.number(0, 1));
    EXPECT_FALSE(table.number(1, 2));
    EXPECT_EQ(table.cell(-1, 2) + table.cell(0, 5), "");
    EXPECT_FALSE(table.point(1));
    EXPECT_TRUE(table.leadingPoints(5).empty());
}

}  // namespace
}  // namespace lorvane::test
