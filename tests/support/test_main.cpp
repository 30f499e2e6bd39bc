// One main for every test program: widgets need an application object, and tests run on
// Qt's offscreen platform unless the caller chose another. The locale is fixed too: C.UTF-8,
// or the one given as --lorvane-locale=NAME (how the decimal-comma runs are registered).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

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
    qputenv("LC_ALL", locale);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
