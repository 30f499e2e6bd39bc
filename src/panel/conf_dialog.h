#pragma once

#include <QDialog>
#include <QRect>
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lorvane {

class ClsGPIB;
class Platform;

// Where the dialog goes, in twips: below the owner window, or above it when it would run past
// the bottom of the screen; always 100 twips right of the owner's left edge.
QPoint confPosition(const QRect& ownerTwips, int dialogHeightTwips, int screenHeightTwips);

// The configuration dialog: chooses card or adapter, board or COM port, and the instrument's
// address, and edits the link directly.
class Conf : public QDialog {
    Q_OBJECT
  public:
    // ownerTwips: the main window's outer frame in twips, for the placement.
    Conf(Platform& platform, const QRect& ownerTwips, QWidget* owner = nullptr);

    // The link to configure; set before the dialog is shown.
    void setCnx(ClsGPIB* link) { cnx_ = link; }

    QCheckBox* vCrd() const { return vCrd_; }
    QLineEdit* vVal(int i) const { return vVal_[static_cast<size_t>(i)]; }
    QLabel* lbl(int i) const { return lbl_[static_cast<size_t>(i)]; }
    QLabel* state() const { return state_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* testButton() const { return test_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void load();
    void vCrd_Click();
    void vVal_Change(int i);
    void Test_Click();
    void OK_Click();
    void copyIntoLink();

    Platform& platform_;
    QRect ownerTwips_;
    ClsGPIB* cnx_ = nullptr;
    std::array<int16_t, 3> accepted_{};
    QCheckBox* vCrd_ = nullptr;
    std::array<QLineEdit*, 2> vVal_{};
    std::array<QLabel*, 2> lbl_{};
    QLabel* state_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* test_ = nullptr;
};

// The main window's Config button: closes the link, lets the operator configure it in the
// modal dialog, then reopens it with whatever it then holds.
void openConfiguration(ClsGPIB& link, Platform& platform, QWidget* owner, const QRect& ownerTwips);

}  // namespace lorvane
