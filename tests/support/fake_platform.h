#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform.h"

namespace lorvane::test {

// Records every message box and beep, answers message boxes from a script and never sleeps
// for real: the time it was asked to sleep is added up instead.
class FakePlatform final : public Platform {
  public:
    MsgResult messageBox(const MessageRequest& request) override;
    void beep() override { ++beeps; }
    void processEvents() override;
    void sleep(int ms) override;
    QSize screenSize() const override { return screen; }
    SaveFileChoice saveFileName(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return saveAnswer;
    }

    // Queues the answer to the next unanswered message box; without one a box answers Ok
    // (or the first button of its set).
    void answerNext(MsgResult result) { answers.push_back(result); }
    // Runs inside every message box, before it returns (for checking what happened first).
    std::function<void(const MessageRequest&)> onMessage;
    // Runs at every event pass and every sleep, standing in for the events a user sends.
    std::function<void()> onEvents;
    // Pass the event passes on to Qt too (for tests that drive real widgets).
    bool realEvents = false;
    // Really sleep too (for tests that wait on another process, such as the simulator).
    bool realSleep = false;

    // What every file dialog answers (cancelled unless set), and the dialogs asked so far.
    SaveFileChoice saveAnswer;
    std::vector<SaveFileRequest> saveRequests;

    std::vector<MessageRequest> messages;
    std::deque<MsgResult> answers;
    int beeps = 0;
    int eventPasses = 0;
    long long sleptMs = 0;
    std::vector<int> sleeps;
    QSize screen{1280, 1024};

    // Everything that happened, in order: "box:<text>", "beep", "events", "sleep:<ms>".
    std::vector<QString> journal;
};

}  // namespace lorvane::test
