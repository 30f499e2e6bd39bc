#pragma once

#include <QFrame>

namespace lorvane {

// The plot area `fDraw` beside the results list: a white box with a sunken border.
class PlotBox : public QFrame {
    Q_OBJECT
  public:
    explicit PlotBox(QWidget* parent = nullptr);
};

}  // namespace lorvane
