// The export keys on the real window after a real run.
#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QTest>
#include <QThread>

#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

class ExportEndToEnd : public RunEndToEnd {
  protected:
    // The desktop's opener, our own and first on the PATH, that notes what it was asked to show.
    void fakeSpreadsheet() {
        const QString program = files.filePath(QStringLiteral("bin/xdg-open"));
        QDir().mkpath(files.filePath(QStringLiteral("bin")));
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" >> \"$0.shown\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // What the program was asked to show, once it has written its line (give it five
    // seconds): the shell makes the file before echo writes to it.
    QString shown() const {
        QString text;
        for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); QThread::msleep(10)) {
            QFile file(files.filePath(QStringLiteral("bin/xdg-open.shown")));
            if (file.open(QIODevice::ReadOnly)) text = QString::fromLocal8Bit(file.readAll());
            if (text.endsWith(u'\n')) break;
        }
        return text;
    }

    ScopedEnv path{"PATH",
                   (files.filePath(QStringLiteral("bin")) + ":/usr/bin:/bin").toLocal8Bit()};
};

TEST_F(ExportEndToEnd, CReleasedInATextBoxCopiesTheTableAndEWritesTheWorkbook) {
    fakeSpreadsheet();
    save("F_Start", 1000);
    save("F_Stop", 3000);
    save("F_Step", 1000);
    start();
    click(0);
    ASSERT_EQ(rows().size(), 3u);

    QWidget* box = window.controls().vFrq[0];
    box->setFocus();
    QTest::keyRelease(box, Qt::Key_C, Qt::ControlModifier);
    // Widths 5, 9 and 7: from the largest sweep value (3), the largest |Z| (15915) and the
    // negative phase, which takes over the second reading's tracked value.
    const QString lines = QStringLiteral(
                              "1.000\t15915.000\t-89.964\t\r\n"
                              "2.000\t 7956.500\t-89.928\t\r\n"
                              "3.000\t 5303.300\t-89.892\t\r\n")
                              .replace(QLatin1Char('.'), QLocale().decimalPoint());
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n") + lines);

    QTest::keyRelease(box, Qt::Key_E);
    EXPECT_TRUE(platform.messages.empty());
    const QString workbook = files.filePath(QStringLiteral("Lorvane.xlsx"));
    EXPECT_TRUE(QFile::exists(workbook));
    EXPECT_TRUE(shown().contains(workbook));
    EXPECT_EQ(window.controls().StatusBar->message(),
              QStringLiteral("Sheet Freq_Z written to ") + workbook);
}

}  // namespace
}  // namespace lorvane::test
