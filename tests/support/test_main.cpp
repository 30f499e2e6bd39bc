// One main for every test program: widgets need an application object, and tests run on
// Qt's offscreen platform unless the caller chose another. The locale is fixed too: C.UTF-8,
// or the one given as --lorvane-locale=NAME (how the decimal-comma runs are registered). It is
// set up as a start of the program under that locale sets it up: the C library and Qt follow
// it, then the C library's numbers go back to "C" as the program's main() puts them. The
// desktop has 96 dpi, or the logical DPI given as --lorvane-dpi=N (how the runs on a scaled
// desktop are registered).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "c_locale.h"
#include "desktop_scale.h"
#include "platform.h"

namespace {
int dpi = 96;
}

int lorvane::test::desktopDpi() { return dpi; }

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QByteArray locale = "C.UTF-8";
    static const char kOption[] = "--lorvane-locale=";
    static const char kDpiOption[] = "--lorvane-dpi=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0)
            locale = argv[i] + sizeof kOption - 1;
        else if (std::strncmp(argv[i], kDpiOption, sizeof kDpiOption - 1) == 0)
            dpi = std::atoi(argv[i] + sizeof kDpiOption - 1);
        else
            argv[kept++] = argv[i];
    }
    if (dpi != 96) {
        // Qt scales by itself only through the device pixel ratio; without that the logical
        // DPI carries the desktop's scale to the program.
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        qputenv("QT_FONT_DPI", QByteArray::number(dpi));
    }
    argc = kept;
    // A machine without the locale must not run the tests in another one and pass.
    if (!std::setlocale(LC_ALL, locale.constData())) {
        std::fprintf(stderr, "%s\n",
                     lorvane::test::missingLocaleMessage(locale.constData()).c_str());
        return 1;
    }
    // The application object sets the C library from the environment, as at a real start.
    qputenv("LC_ALL", locale);
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // A desktop that does not have the DPI asked for must not run the tests at another one.
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        !screen || qRound(screen->logicalDotsPerInchX()) != dpi) {
        std::fprintf(stderr,
                     "The desktop's logical DPI is not %d (QT_FONT_DPI with "
                     "QT_ENABLE_HIGHDPI_SCALING=0 sets it).\n",
                     dpi);
        return 1;
    }
    lorvane::useCNumericLocale();
    return RUN_ALL_TESTS();
}
