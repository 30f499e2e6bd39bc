#pragma once

#include "cls_gpib.h"
#include "run_interfaces.h"

namespace lorvane {

// The run's link to the instrument through the program's ClsGPIB, always on device 0.
class ClsGpibRunLink final : public RunLink {
  public:
    explicit ClsGpibRunLink(ClsGPIB& link) : link_(link) {}

    bool write(const QString& text) override { return link_.DevWrite(0, text); }
    QString query(const QString& text, int delayMs) override;
    QString read(int delayMs) override;
    void purge() override { link_.DevPurge(0); }

  private:
    ClsGPIB& link_;
};

}  // namespace lorvane
