#pragma once

#include "platform.h"

namespace lorvane {

// The real desktop, through Qt.
class QtPlatform final : public Platform {
  public:
    MsgResult messageBox(const MessageRequest& request) override;
    void beep() override;
    void processEvents() override;
    void sleep(int ms) override;
    QSize screenSize() const override;
    SaveFileChoice saveFileName(const SaveFileRequest& request) override;
};

}  // namespace lorvane
