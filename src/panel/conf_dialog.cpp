#include "conf_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>
#include <optional>

#include "cls_gpib.h"
#include "platform.h"
#include "twips.h"

namespace lorvane {
namespace {

// A box's text as a 16-bit number (nearest, ties to even); nothing when it is not a number
// or does not fit.
std::optional<int16_t> boxNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
    return static_cast<int16_t>(rounded);
}

}  // namespace

QPoint confPosition(const QRect& ownerTwips, int dialogHeightTwips, int screenHeightTwips) {
    int top = ownerTwips.top() + ownerTwips.height() + 20;
    if (top + dialogHeightTwips > screenHeightTwips)
        top = ownerTwips.top() - dialogHeightTwips - 20;
    return QPoint(ownerTwips.left() + 100, top);
}

Conf::Conf(Platform& platform, const QRect& ownerTwips, QWidget* owner)
    : QDialog(owner), platform_(platform), ownerTwips_(ownerTwips) {
    setObjectName(QStringLiteral("Conf"));
    setWindowTitle(QStringLiteral("Configuration"));
    // The dialog writes in the owner's font, which its layout is made for, and grows with the
    // screen's logical DPI as the owner does.
    setAttribute(Qt::WA_WindowPropagation);
    const TwipScale scale(logicalDpiX());
    setFixedSize(scale.pixels(1530), scale.pixels(1785));

    auto* frame = new QGroupBox(QStringLiteral("Device"), this);
    frame->setObjectName(QStringLiteral("Frame"));
    frame->setGeometry(scale.rect(0, 0, 1455, 1240));

    vCrd_ = new QCheckBox(QStringLiteral("Prologix"), frame);
    vCrd_->setObjectName(QStringLiteral("vCrd"));
    vCrd_->setToolTip(QStringLiteral("Check for Prologix USB adapter"));
    // Across the frame, so that the caption has room in any font of the usual sizes.
    vCrd_->setGeometry(scale.rect(120, 240, 1215, 255));

    const std::array<QRect, 2> labelPlace{scale.rect(120, 560, 615, 255),
                                          scale.rect(120, 900, 495, 255)};
    const std::array<QRect, 2> boxPlace{scale.rect(720, 520, 615, 285),
                                        scale.rect(720, 880, 615, 285)};
    const std::array<QString, 2> captions{QStringLiteral("Board"), QStringLiteral("PAD")};
    const std::array<QString, 2> tips{QStringLiteral("Board Number"),
                                      QStringLiteral("Primary Address")};
    for (size_t i = 0; i < 2; ++i) {
        lbl_[i] = new QLabel(captions[i], frame);
        lbl_[i]->setObjectName(QStringLiteral("Lbl%1").arg(i));
        lbl_[i]->setGeometry(labelPlace[i]);
        vVal_[i] = new QLineEdit(frame);
        vVal_[i]->setObjectName(QStringLiteral("vVal%1").arg(i));
        vVal_[i]->setToolTip(tips[i]);
        vVal_[i]->setGeometry(boxPlace[i]);
        connect(vVal_[i], &QLineEdit::textChanged, this, [this, i] { vVal_Change(int(i)); });
    }

    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("State"));
    state_->setGeometry(scale.rect(120, 1260, 1335, 255));

    test_ = new QPushButton(QStringLiteral("&Test"), this);
    test_->setObjectName(QStringLiteral("Test"));
    test_->setToolTip(QStringLiteral("Test for that card"));
    test_->setGeometry(scale.rect(0, 1500, 615, 255));
    test_->setAutoDefault(false);

    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setToolTip(QStringLiteral("Save and quit"));
    ok_->setGeometry(scale.rect(720, 1500, 735, 255));
    ok_->setAutoDefault(false);

    setTabOrder(test_, ok_);
    setTabOrder(ok_, vVal_[0]);
    setTabOrder(vVal_[0], vVal_[1]);
    setTabOrder(vVal_[1], vCrd_);

    connect(vCrd_, &QCheckBox::toggled, this, [this] { vCrd_Click(); });
    connect(test_, &QPushButton::clicked, this, [this] { Test_Click(); });
    connect(ok_, &QPushButton::clicked, this, [this] { OK_Click(); });
}

void Conf::showEvent(QShowEvent* event) {
    load();
    QDialog::showEvent(event);
    test_->setFocus();
}

void Conf::load() {
    const QPoint at = confPosition(ownerTwips_, pixelsToTwips(frameGeometry().height()),
                                   pixelsToTwips(platform_.screenSize().height()));
    move(twipsToPixels(at.x()), twipsToPixels(at.y()));
    if (!cnx_) return;
    vVal_[0]->setText(QString::number(cnx_->Brd()));
    vVal_[0]->setSelection(0, 1);
    vVal_[1]->setText(QString::number(cnx_->pad()));
    // Only 0 and 1 mean anything to the check box; the click runs only on a change.
    vCrd_->setChecked(cnx_->Crd() == 1);
}

void Conf::vCrd_Click() {
    lbl_[0]->setText(vCrd_->isChecked() ? QStringLiteral("COM:") : QStringLiteral("Board:"));
}

void Conf::vVal_Change(int i) {
    const auto index = static_cast<size_t>(i);
    const std::optional<int16_t> value = boxNumber(vVal_[index]->text());
    if (value)
        accepted_[index] = *value;
    else
        vVal_[index]->setText(QString::number(accepted_[index]));
}

void Conf::copyIntoLink() {
    cnx_->setCrd(vCrd_->isChecked() ? 1 : 0);
    cnx_->setBrd(boxNumber(vVal_[0]->text()).value_or(accepted_[0]));
    cnx_->setPad(boxNumber(vVal_[1]->text()).value_or(accepted_[1]));
}

void Conf::Test_Click() {
    MessageRequest failure;
    failure.text = QStringLiteral("Unable to open device");
    failure.title = QStringLiteral("GPIB Test");
    failure.icon = MsgIcon::Critical;
    if (!cnx_) {
        platform_.messageBox(failure);
        test_->setFocus();
        return;
    }
    copyIntoLink();
    const QString result = cnx_->DevTest();
    state_->setText(result);
    if (!result.isEmpty()) {
        ok_->setFocus();
    } else {
        platform_.messageBox(failure);
        test_->setFocus();
    }
}

void Conf::OK_Click() {
    if (cnx_) copyIntoLink();
    accept();
}

void openConfiguration(ClsGPIB& link, Platform& platform, QWidget* owner, const QRect& ownerTwips) {
    link.DevClose();
    Conf dialog(platform, ownerTwips, owner);
    dialog.setCnx(&link);
    dialog.exec();
    link.DevOpen();
}

}  // namespace lorvane
