#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QProgressBar;

namespace lorvane {

// Width in pixels of `mm` millimetres on a screen of `dpi` logical dots per inch, rounded to
// the nearest pixel (25.4 mm make one inch).
int mmToPixels(double mm, double dpi);

// The text on the progress bar of a run: the points done of the total and the time left when
// they are known ("37/91, 0:54 left", "0/91"), or the points done alone ("37 points").
QString progressBarText(int64_t done, std::optional<int64_t> total,
                        std::optional<int64_t> remainingMs);

// The status bar: five sunken panels in a row, "IN", "DAT1", "DAT2", one without a key, and
// "HELP", sized in millimetres on the screen they are shown on and set 2 pixels apart.
class StatusPanels : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPanels = 5;

    explicit StatusPanels(QWidget* parent = nullptr);

    // The panel with this key ("IN", "DAT1", "DAT2", "HELP"), or nullptr for an unknown key
    // (the unnamed panel has no key and cannot be reached this way).
    QLabel* panel(const QString& key) const;
    // The panels left to right, 0..4.
    QLabel* panelAt(int index) const { return panels_.at(static_cast<size_t>(index)); }
    // Writes a panel's text; an unknown key changes nothing.
    void setPanelText(const QString& key, const QString& text);
    QString panelText(const QString& key) const;

    // Shows a message across the whole bar, over the panels, until a panel is written again
    // (in the label named "MESSAGE").
    // A text too long for the bar is shortened in the middle; the whole of it is the tooltip.
    void showMessage(const QString& text);
    // The message shown now; empty when the panels show.
    QString message() const;

    // Shows how far a run has got on a progress bar at the right end of the bar, over the
    // panels without moving them or changing their texts (see progressBarText); a run of
    // unknown length fills no part of the bar.
    void showProgress(int64_t done, std::optional<int64_t> total,
                      std::optional<int64_t> remainingMs);
    void hideProgress();
    QProgressBar* progressBar() const { return progress_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitMessage();
    void placeProgress();

    std::array<QLabel*, kPanels> panels_{};
    QLabel* message_;
    QProgressBar* progress_;
};

}  // namespace lorvane
