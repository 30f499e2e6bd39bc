#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace lorvane {

// The title every message box carries unless it names its own.
inline constexpr const char* kAppTitle = "Lorvane";

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// Values as the classic message-box API numbers them.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    QString title = QString::fromLatin1(kAppTitle);
    bool systemModal = false;
};

// A file dialog that asks where to save a file.
struct SaveFileRequest {
    QString caption;
    // The folder the dialog starts in, with the file name it proposes.
    QString startPath;
    // The file types offered, as "PNG image (*.png)"; the first is chosen at first.
    QStringList filters;
};

// The operator's answer: the file chosen (empty when the dialog was cancelled) and the index
// of the file type chosen with it.
struct SaveFileChoice {
    QString path;
    int filter = 0;
};

// Everything the program asks of the desktop goes through here, so that tests can answer
// message boxes, count beeps and skip real waiting.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual MsgResult messageBox(const MessageRequest& request) = 0;
    virtual void beep() = 0;
    // Lets pending user-interface events run once.
    virtual void processEvents() = 0;
    virtual void sleep(int ms) = 0;
    // The primary screen in logical pixels.
    virtual QSize screenSize() const = 0;
    // Asks where to save a file. A desktop with nobody to ask (an unattended run) answers as
    // a cancelled dialog.
    virtual SaveFileChoice saveFileName(const SaveFileRequest&) { return {}; }

    // Shorthand for the common one-button box.
    MsgResult message(const QString& text, MsgIcon icon = MsgIcon::None) {
        MessageRequest request;
        request.text = text;
        request.icon = icon;
        return messageBox(request);
    }
};

// Called right after the application object is made, which sets the C library to the user's
// locale: puts the C library's numbers back to "C", so that whatever writes numbers through it
// (the workbook writer's printf, the simulated instrument when it runs inside this process)
// writes a decimal point in every locale. Qt's number texts follow QLocale and stay the user's.
void useCNumericLocale();

}  // namespace lorvane
