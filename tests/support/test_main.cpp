// One main for every test program: widgets need an application object, and tests run on
// Qt's offscreen platform unless the caller chose another. The locale is fixed too: C.UTF-8,
// or the one given as --lorvane-locale=NAME (how the decimal-comma runs are registered). It is
// set up as a start of the program under that locale sets it up: the C library and Qt follow
// it, then the C library's numbers go back to "C" as the program's main() puts them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstring>

#include "c_locale.h"
#include "platform.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QByteArray locale = "C.UTF-8";
    static const char kOption[] = "--lorvane-locale=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0)
            locale = argv[i] + sizeof kOption - 1;
        else
            argv[kept++] = argv[i];
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
    lorvane::useCNumericLocale();
    return RUN_ALL_TESTS();
}
