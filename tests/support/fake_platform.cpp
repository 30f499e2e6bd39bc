#include "fake_platform.h"

#include <QCoreApplication>
#include <QThread>

namespace lorvane::test {

MsgResult FakePlatform::messageBox(const MessageRequest& request) {
    messages.push_back(request);
    journal.push_back(QStringLiteral("box:") + request.text);
    if (onMessage) onMessage(request);
    if (!answers.empty()) {
        const MsgResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case MsgButtons::AbortRetryIgnore:
            return MsgResult::Abort;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgResult::Yes;
        case MsgButtons::RetryCancel:
            return MsgResult::Retry;
        default:
            return MsgResult::Ok;
    }
}

void FakePlatform::processEvents() {
    ++eventPasses;
    journal.push_back(QStringLiteral("events"));
    if (realEvents) QCoreApplication::processEvents();
    if (onEvents) onEvents();
}

void FakePlatform::sleep(int ms) {
    sleptMs += ms;
    sleeps.push_back(ms);
    journal.push_back(QStringLiteral("sleep:%1").arg(ms));
    if (realSleep && ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
    if (onEvents) onEvents();
}

}  // namespace lorvane::test
