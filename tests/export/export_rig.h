#pragma once

#include <gtest/gtest.h>

#include <QLocale>
#include <QProcess>
#include <QRegularExpression>

#include "export_interfaces.h"
#include "fake_platform.h"

namespace lorvane::test {

// A row as the list shows it in the test's locale: "0.500" becomes "0,500" under a decimal
// comma. Tests write their texts with a point and run in either locale.
inline QString loc(QString text) { return text.replace(u'.', QLocale().decimalPoint()); }
inline ExportRow locRow(const QString& x, const QString& dat1, const QString& dat2) {
    return {loc(x), loc(dat1), loc(dat2)};
}

struct ScopedLocale {
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(old); }
    QLocale old;
};

// A frequency ("Freq. (kHz)") or bias ("Bias (mV)") sweep of impedance ("Z (Ohm)", "Phi (°)",
// sheet "Freq_Z") or of gain ("A (dB)", "B (°)", sheet "Freq_G").
inline ExportSetup sweepSetup(bool gain = false, bool bias = false) {
    ExportSetup setup;
    setup.quantityLabel = {bias ? "Bias" : "Freq.", gain ? "A" : "Z", gain ? "B" : "Phi"};
    setup.columnUnits = {bias ? "mV" : "kHz", gain ? "dB" : "Ohm", QStringLiteral("°")};
    setup.sweep = bias ? SweepParam::Bias : SweepParam::Frequency;
    setup.mode = gain ? MeasureMode::Gain : MeasureMode::Impedance;
    setup.sweepCaption = bias ? "Bias" : "Freq";
    setup.measureCaption = gain ? "G" : "Z";
    return setup;
}

struct FakeTable final : ExportTable {
    int rowCount() const override { return static_cast<int>(rows.size()); }
    ExportRow rowValues(int row) const override { return rows.at(static_cast<size_t>(row)); }
    ExportSetup setup() const override { return current; }
    ExportRows rows;
    ExportSetup current = sweepSetup();
};

// Notes in `*log` what the exports do to the list, the plot, the status bar ("message:<text>")
// and the clipboard ("clear", "set").
struct FakeView final : ExportView, ClipboardSink {
    void note(const QString& what) { log->push_back(what); }
    void setMultiSelection(bool multi) override { note(multi ? "multi" : "single"); }
    void selectAllRows() override { note("selectAll"); }
    void selectRow(int row) override { note(QStringLiteral("select:%1").arg(row)); }
    void unselectRow(int row) override { note(QStringLiteral("unselect:%1").arg(row)); }
    void Data_ItemClick(int row) override { note(QStringLiteral("click:%1").arg(row)); }
    void UnhighlightPoint() override { note("unhighlight"); }
    void showMessage(const QString& text) override { note("message:" + text); }
    void clear() override { note("clear"), text.clear(); }
    void setText(const QString& newText) override { note("set"), text = newText; }
    QString text;
    std::vector<QString> journal;
    std::vector<QString>* log = &journal;
};

// The desktop's spreadsheet program: notes "show:<path>" and fails for `failingPaths`.
struct FakeSpreadsheet final : SpreadsheetApp {
    bool available() const override { return installed; }
    bool show(const QString& path) override {
        journal.push_back("show:" + path);
        return installed && !failingPaths.contains(path);
    }
    bool installed = true;
    QStringList failingPaths;
    std::vector<QString> journal;
};

// An .xlsx file read back without the library that wrote it: parts taken out of the zip
// container by the unzip program.
inline QString xlsxPart(const QString& path, const QString& name) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    EXPECT_TRUE(unzip.waitForFinished(30000)) << "unzip did not finish";
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// The first group of every match of the pattern.
inline QStringList matches(const QString& text, const QString& pattern) {
    QStringList found;
    const QRegularExpression expression(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& match : expression.globalMatch(text))
        found << match.captured(1);
    return found;
}

// The workbook: its document properties, its sheets in order with the active one marked "*",
// and by sheet name each cell as "<ref> <value><style>": a text in double quotes, a number as
// the file holds it; the style as " bold", the number format and the alignment.
inline QString readXlsx(const QString& path) {
    const QString workbook = xlsxPart(path, "xl/workbook.xml");
    const QString styles = xlsxPart(path, "xl/styles.xml");
    const QStringList fonts = matches(styles, "<font>(.*?)</font>");
    QStringList styleOf;
    for (const QString& xf : matches(matches(styles, "<cellXfs[^>]*>(.*?)</cellXfs>").value(0),
                                     "(<xf .*?(?:/>|</xf>))")) {
        const QString font = fonts.value(matches(xf, "fontId=\"(\\d+)").value(0).toInt());
        const QString id = matches(xf, "numFmtId=\"([1-9]\\d*)").value(0);
        const QString format =
            matches(styles, "numFmtId=\"" + id + "\" formatCode=\"(.*?)\"").value(0);
        const QString align = matches(xf, "horizontal=\"(\\w+)").value(0);
        styleOf << (font.contains("<b/>") ? " bold" : "") + (format.isEmpty() ? "" : " " + format) +
                       (align.isEmpty() ? "" : " " + align);
    }
    const QStringList strings = matches(xlsxPart(path, "xl/sharedStrings.xml"), "<t>(.*?)</t>");
    QString text =
        matches(xlsxPart(path, "docProps/core.xml"), "<dc:(?:title|subject|description)>(.*?)<")
            .join(u'|');
    const QStringList names = matches(workbook, "<sheet name=\"([^\"]*)");
    const int active = matches(workbook, "activeTab=\"(\\d+)").value(0).toInt();
    for (qsizetype i = 0; i < names.size(); ++i) {
        text += "\n" + names[i] + (i == active ? "*" : "") + ":";
        const QString sheet =
            xlsxPart(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1));
        for (const QString& cell : matches(sheet, "(<c .*?</c>)")) {
            const QString value = matches(cell, "<v>(.*?)</v>").value(0);
            text +=
                " " + matches(cell, "r=\"(\\w+)").value(0) + " " +
                (cell.contains("t=\"s\"") ? "\"" + strings.value(value.toInt()) + "\"" : value) +
                styleOf.value(matches(cell, " s=\"(\\d+)").value(0).toInt());
        }
    }
    return text;
}

}  // namespace lorvane::test
