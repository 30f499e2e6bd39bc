#include "panel_widgets.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QValidator>

namespace lorvane {
namespace {

// Refuses typing that would make the text longer than the limit, and accepts any text set by
// the program.
class TypingLimit final : public QValidator {
  public:
    TypingLimit(const int& limit, QObject* parent) : QValidator(parent), limit_(limit) {}
    State validate(QString& input, int&) const override {
        return limit_ > 0 && input.size() > limit_ ? Invalid : Acceptable;
    }

  private:
    const int& limit_;
};

QPalette::ColorRole fillRole(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) ? QPalette::Base : QPalette::Window;
}

}  // namespace

QColor colorFromBgr(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(fillRole(widget), color);
    widget->setPalette(palette);
    if (fillRole(widget) == QPalette::Window) widget->setAutoFillBackground(true);
}

QColor background(const QWidget* widget) { return widget->palette().color(fillRole(widget)); }

ValueEdit::ValueEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TypingLimit(typingLimit_, this));
}

void ValueEdit::setTypingLimit(int chars) { typingLimit_ = chars; }

void ValueEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}

void ValueEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) emit validate();
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

}  // namespace lorvane
