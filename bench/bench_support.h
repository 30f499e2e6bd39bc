#pragma once

// What the run benchmarks share: an instrument that answers at once, a desktop that never
// waits and a settings store that keeps nothing.
#include <QString>

#include "platform.h"
#include "run_interfaces.h"

namespace lorvane::bench {

// Answers each trigger with the next point of a frequency sweep in 1 kHz steps from 1 kHz:
// a frequency sweep from 1 kHz to N kHz in 1 kHz steps reads N points.
class InstantLink final : public RunLink {
  public:
    bool write(const QString&) override { return true; }
    QString query(const QString& text, int delayMs) override;
    // Every trigger is answered at once: nothing is left to read.
    QString read(int) override { return QString(); }
    void purge() override { point_ = 0; }

  private:
    long long point_ = 0;
};

// Never waits and never shows anything. With `passEvents` it lets pending events run as the
// real desktop does, so that a shown window repaints between points.
class InstantPlatform final : public Platform {
  public:
    explicit InstantPlatform(bool passEvents = false) : passEvents_(passEvents) {}
    MsgResult messageBox(const MessageRequest&) override { return MsgResult::Ok; }
    void beep() override {}
    void processEvents() override;
    void sleep(int) override {}
    QSize screenSize() const override { return {1280, 1024}; }

  private:
    bool passEvents_;
};

class NoSettings final : public RunSettings {
  public:
    void write(const QString&, double) override {}
};

}  // namespace lorvane::bench
