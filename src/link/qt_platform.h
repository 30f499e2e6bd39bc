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

// Called right after the QApplication is made, which sets the C library to the user's locale:
// puts the C library's numbers back to "C", so that whatever writes numbers through it (the
// workbook writer's printf, the simulated instrument when it runs inside this process) writes a
// decimal point in every locale. Qt's number texts follow QLocale and stay the user's.
void useCNumericLocale();

}  // namespace lorvane
