#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <cstdint>

class QValidator;

namespace lorvane {

// The panel's colours as the platform's 0x00BBGGRR values: value fields and unit labels, the
// step fields while auto-step is on, the oscillator texts, and the text of a disabled field
// (dark enough for a contrast of 4.5:1 on the grey and on the cyan).
inline constexpr uint32_t kFieldGrey = 0xE0E0E0;
inline constexpr uint32_t kAutoStepCyan = 0xFFFF00;
inline constexpr uint32_t kOscillatorRed = 0x0000FF;
inline constexpr uint32_t kDisabledText = 0x606060;

// A colour given as a 0x00BBGGRR value (0x0000FF is red, 0xFFFF00 cyan).
QColor colorFromBgr(uint32_t bgr);

// The contrast ratio of two colours as WCAG 2 defines it, from 1:1 to 21:1: (L1 + 0.05) /
// (L2 + 0.05) of their relative luminances, the lighter one above. Normal text needs 4.5.
double contrastRatio(const QColor& first, const QColor& second);

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

// A label that works like a button: it takes the focus with Tab (and shows it) and reports a
// click, of the left button pressed and released over it or of the Space key.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace lorvane
