#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <cstdint>

class QValidator;

namespace lorvane {

// The panel's colours as the platform's 0x00BBGGRR values: value fields and unit labels, the
// step fields while auto-step is on, and the oscillator texts.
inline constexpr uint32_t kFieldGrey = 0xE0E0E0;
inline constexpr uint32_t kAutoStepCyan = 0xFFFF00;
inline constexpr uint32_t kOscillatorRed = 0x0000FF;

// A colour given as a 0x00BBGGRR value (0x0000FF is red, 0xFFFF00 cyan).
QColor colorFromBgr(uint32_t bgr);

// The fill colour of a value field (its base) or of a label (its background).
void setBackground(QWidget* widget, const QColor& color);
QColor background(const QWidget* widget);

// A value field of the front panel. It reports getting the focus and being left for another
// control of the window, the moment its value is checked ("validated"). Leaving it for a
// context menu or another window is not leaving it; pressing Return does not validate either.
class ValueEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit ValueEdit(QWidget* parent = nullptr);

    // The longest text the operator may type; 0 for no limit. Unlike QLineEdit::setMaxLength
    // it never shortens a text already shown: after a unit change the partner field is read
    // in full before it is written in the new unit.
    void setTypingLimit(int chars);
    int typingLimit() const { return typingLimit_; }

  signals:
    void gotFocus();
    void validate();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int typingLimit_ = 0;
};

// A label that reports a click: the left button pressed and released over it.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace lorvane
