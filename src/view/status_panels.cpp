#include "status_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <cmath>

namespace lorvane {
namespace {

struct PanelDesign {
    const char* key;
    const char* text;
    double widthMm;
};

// Left to right. Every panel is at least one inch (25.40 mm) wide.
constexpr std::array<PanelDesign, StatusPanels::kPanels> kDesign{{
    {"IN", "", 25.40},
    {"DAT1", "DATA 1", 25.40},
    {"DAT2", "DATA 2", 25.40},
    {"", "", 42.60},
    {"HELP", "CTRL-C: Copy / CTRL-E: Excel ", 41.80},
}};

}  // namespace

int mmToPixels(double mm, double dpi) { return static_cast<int>(std::lround(mm / 25.4 * dpi)); }

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const double dpi = logicalDpiX();
    for (size_t i = 0; i < kDesign.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(kDesign[i].text), this);
        label->setObjectName(QString::fromLatin1(kDesign[i].key));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(mmToPixels(kDesign[i].widthMm, dpi));
        row->addWidget(label);
        panels_[i] = label;
    }
    row->addStretch();
    // The help panel explains itself in its tooltip too.
    panels_.back()->setToolTip(panels_.back()->text());

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("MESSAGE"));
    message_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    message_->setAutoFillBackground(true);  // hides the panels below
    message_->hide();
}

QLabel* StatusPanels::panel(const QString& key) const {
    if (key.isEmpty()) return nullptr;
    for (QLabel* label : panels_)
        if (label->objectName() == key) return label;
    return nullptr;
}

void StatusPanels::setPanelText(const QString& key, const QString& text) {
    QLabel* label = panel(key);
    if (!label) return;
    label->setText(text);
    message_->hide();
}

void StatusPanels::showMessage(const QString& text) {
    message_->setToolTip(text);
    fitMessage();
    message_->show();
    message_->raise();
}

QString StatusPanels::message() const {
    return message_->isHidden() ? QString() : message_->toolTip();
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitMessage();
}

void StatusPanels::fitMessage() {
    message_->setGeometry(rect());
    // A framed label keeps half an "x" clear on either side of its text.
    const QFontMetrics metrics = message_->fontMetrics();
    const int room = message_->contentsRect().width() - metrics.horizontalAdvance(u'x');
    message_->setText(metrics.elidedText(message_->toolTip(), Qt::ElideMiddle, room));
}

QString StatusPanels::panelText(const QString& key) const {
    const QLabel* label = panel(key);
    return label ? label->text() : QString();
}

}  // namespace lorvane
