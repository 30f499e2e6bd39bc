#pragma once

#include <QLocale>
#include <QString>
#include <vector>

#include "export_interfaces.h"

namespace lorvane::test {

// A cell text as the list shows it in the user's locale: "0.500" becomes "0,500" where the
// decimal separator is a comma. Tests write their texts with a point and run in either locale.
inline QString loc(QString pointText) { return pointText.replace(u'.', QLocale().decimalPoint()); }
inline ExportRow locRow(const QString& x, const QString& dat1, const QString& dat2) {
    return {loc(x), loc(dat1), loc(dat2)};
}

// Makes `locale` the default for the life of the object (the number reading follows it).
class ScopedLocale {
  public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(old_); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

  private:
    QLocale old_;
};

// A frequency sweep of impedance ("Freq. (kHz)", "Z (Ohm)", "Phi (°)"), sheet "Freq_Z".
inline ExportSetup impedanceSetup() {
    ExportSetup setup;
    setup.quantityLabel = {QStringLiteral("Freq."), QStringLiteral("Z"), QStringLiteral("Phi")};
    setup.columnUnits = {QStringLiteral("kHz"), QStringLiteral("Ohm"), QStringLiteral("°")};
    setup.sweep = SweepParam::Frequency;
    setup.mode = MeasureMode::Impedance;
    setup.sweepCaption = QStringLiteral("Freq");
    setup.measureCaption = QStringLiteral("Z");
    return setup;
}

// A frequency sweep of gain ("Freq. (kHz)", "A (dB)", "B (°)"), sheet "Freq_G".
inline ExportSetup gainSetup() {
    ExportSetup setup = impedanceSetup();
    setup.quantityLabel = {QStringLiteral("Freq."), QStringLiteral("A"), QStringLiteral("B")};
    setup.columnUnits = {QStringLiteral("kHz"), QStringLiteral("dB"), QStringLiteral("°")};
    setup.mode = MeasureMode::Gain;
    setup.measureCaption = QStringLiteral("G");
    return setup;
}

class FakeTable final : public ExportTable {
  public:
    int rowCount() const override { return static_cast<int>(rows.size()); }
    ExportRow rowValues(int row) const override { return rows.at(static_cast<size_t>(row)); }
    ExportSetup setup() const override { return current; }

    ExportRows rows;
    ExportSetup current = impedanceSetup();
};

// Records what the exports do to the list, the plot and the status bar in `*log` (its own
// journal unless set elsewhere): "multi", "single", "selectAll", "select:<row>",
// "unselect:<row>", "click:<row>", "unhighlight", "message:<text>".
class FakeView final : public ExportView {
  public:
    void setMultiSelection(bool multi) override {
        log->push_back(multi ? QStringLiteral("multi") : QStringLiteral("single"));
    }
    void selectAllRows() override { log->push_back(QStringLiteral("selectAll")); }
    void selectRow(int row) override { log->push_back(QStringLiteral("select:%1").arg(row)); }
    void unselectRow(int row) override { log->push_back(QStringLiteral("unselect:%1").arg(row)); }
    void Data_ItemClick(int row) override { log->push_back(QStringLiteral("click:%1").arg(row)); }
    void UnhighlightPoint() override { log->push_back(QStringLiteral("unhighlight")); }
    void showMessage(const QString& text) override {
        log->push_back(QStringLiteral("message:") + text);
    }

    std::vector<QString> journal;
    std::vector<QString>* log = &journal;
};

// Records "clear" and "set" in `*log` (its own journal unless set elsewhere).
class FakeClipboard final : public ClipboardSink {
  public:
    void clear() override {
        text.clear();
        log->push_back(QStringLiteral("clear"));
    }
    void setText(const QString& newText) override {
        text = newText;
        log->push_back(QStringLiteral("set"));
    }

    QString text;
    std::vector<QString> journal;
    std::vector<QString>* log = &journal;
};

// The desktop's spreadsheet program: records "show:<path>" in `journal`.
class FakeSpreadsheet final : public SpreadsheetApp {
  public:
    bool available() const override { return installed; }
    bool show(const QString& path) override {
        journal.push_back(QStringLiteral("show:") + path);
        return installed && !failingPaths.contains(path);
    }

    bool installed = true;
    // Files it fails to show.
    QStringList failingPaths;
    std::vector<QString> journal;
};

}  // namespace lorvane::test
