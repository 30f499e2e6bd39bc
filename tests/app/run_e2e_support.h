#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include "application.h"
#include "fake_platform.h"
#include "main_window.h"
#include "panel_controls.h"
#include "panel_widgets.h"
#include "result_table.h"
#include "results_view.h"
#include "scoped_env.h"
#include "settings_store.h"
#include "status_panels.h"

namespace lorvane::test {

// With the decimal separator of the user's locale.
inline QString dec(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// The whole program on the offscreen platform, its card link answered by the simulated
// HP 4192A behind the stand-in NI-488.2 library, which logs the wire.
class RunEndToEnd : public ::testing::Test {
  protected:
    RunEndToEnd() {
        platform.realEvents = true;
        platform.screen = QSize(1280, 1024);
    }
    ~RunEndToEnd() override {
        platform.onEvents = nullptr;  // it may capture the test's locals, gone by now
        if (window.isVisible()) window.close();
    }

    // Saves a set-up as the last run left it, then starts the program.
    void save(const char* name, double value) {
        RegWrite(QStringLiteral("Lorvane"), QString::fromLatin1(name), value);
    }
    void start() {
        ASSERT_TRUE(app.load(QString()));
        window.show();
    }
    void click(int index) { window.controls().Run[static_cast<size_t>(index)]->click(); }

    // What the program wrote to the instrument, line by line, and how many readings it got.
    QStringList sent() const { return logLines(QStringLiteral("> ")); }
    int readings() const { return static_cast<int>(logLines(QStringLiteral("< ")).size()); }
    QStringList logLines(const QString& prefix) const {
        QFile file(logPath_);
        QStringList lines;
        if (!file.open(QIODevice::ReadOnly)) return lines;
        file.seek(logStart_);
        for (const QString& line : QString::fromLatin1(file.readAll()).split('\n'))
            if (line.startsWith(prefix)) lines << line.mid(prefix.size());
        return lines;
    }
    // Forgets the traffic so far.
    void clearLog() { logStart_ = QFile(logPath_).size(); }

    // Column 2 to 4 texts of every row.
    std::vector<std::array<QString, 3>> rows() {
        std::vector<std::array<QString, 3>> all;
        for (int64_t i = 0; i < window.resultsView().rowCount(); ++i)
            all.push_back(window.resultsView().rowValues(i));
        return all;
    }
    QString panel(const char* key) const {
        return window.controls().StatusBar->panelText(QString::fromLatin1(key));
    }

    TempSettings settings;
    QTemporaryDir files;
    QString logPath_ = files.filePath(QStringLiteral("wire.log"));
    qint64 logStart_ = 0;
    ScopedEnv wireLog{"LORVANE_SIM_WIRE_LOG", logPath_.toLocal8Bit()};
    ScopedEnv delay{"LORVANE_SIM_DELAY_MS", "0"};
    ScopedEnv address{"LORVANE_SIM_ADDRESS", "1"};
    FakePlatform platform;
    MainWindow window{platform};
    Application app{platform, window, files.path()};
};

}  // namespace lorvane::test
