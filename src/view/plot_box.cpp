#include "plot_box.h"

namespace lorvane {

PlotBox::PlotBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    // It takes part in the keyboard focus order, between the results list and Ref.
    setFocusPolicy(Qt::StrongFocus);
}

}  // namespace lorvane
