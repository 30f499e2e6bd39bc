#include "qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <algorithm>

namespace lorvane {
namespace {

QMessageBox::StandardButtons standardButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return QMessageBox::Ok;
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MsgResult resultOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Abort:
            return MsgResult::Abort;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        case QMessageBox::Ignore:
            return MsgResult::Ignore;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        default:
            return MsgResult::Ok;
    }
}

}  // namespace

MsgResult QtPlatform::messageBox(const MessageRequest& request) {
    QMessageBox box(boxIcon(request.icon), request.title, request.text,
                    standardButtons(request.buttons), QApplication::activeWindow());
    box.setWindowModality(request.systemModal ? Qt::ApplicationModal : Qt::WindowModal);
    if (request.systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return resultOf(box.exec());
}

void QtPlatform::beep() { QApplication::beep(); }

void QtPlatform::processEvents() { QCoreApplication::processEvents(); }

void QtPlatform::sleep(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

QSize QtPlatform::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

SaveFileChoice QtPlatform::saveFileName(const SaveFileRequest& request) {
    QString filter = request.filters.value(0);
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), request.caption,
                                     request.startPath, request.filters.join(u";;"), &filter);
    return {path, std::max<int>(0, static_cast<int>(request.filters.indexOf(filter)))};
}

}  // namespace lorvane
