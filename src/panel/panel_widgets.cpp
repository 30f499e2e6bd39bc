#include "panel_widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QValidator>
#include <algorithm>
#include <cmath>

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

double contrastRatio(const QColor& first, const QColor& second) {
    // Relative luminance of an sRGB colour: each channel made linear, then weighted.
    const auto luminance = [](const QColor& color) {
        const auto linear = [](double channel) {
            return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
               0.0722 * linear(color.blueF());
    };
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
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

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFocusPolicy(Qt::StrongFocus);
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

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) emit clicked();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace lorvane
