#include "status_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>
#include <cmath>

#include "run_progress.h"

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

QString progressBarText(int64_t done, std::optional<int64_t> total,
                        std::optional<int64_t> remainingMs) {
    if (!total) return QStringLiteral("%1 points").arg(done);
    const QString count = QStringLiteral("%1/%2").arg(done).arg(*total);
    if (!remainingMs) return count;
    return count + QStringLiteral(", %1 left").arg(durationText(*remainingMs));
}

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

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("PROGRESS"));
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setFixedWidth(mmToPixels(kDesign.back().widthMm, dpi));
    progress_->hide();
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

void StatusPanels::showProgress(int64_t done, std::optional<int64_t> total,
                                std::optional<int64_t> remainingMs) {
    const auto clamp = [](int64_t n) {
        return static_cast<int>(std::clamp<int64_t>(n, 0, INT_MAX));
    };
    progress_->setRange(0, total ? clamp(*total) : 1);
    progress_->setValue(total ? clamp(done) : 0);
    progress_->setFormat(progressBarText(done, total, remainingMs));
    if (progress_->isHidden()) {
        placeProgress();
        progress_->show();
        progress_->raise();
    }
}

void StatusPanels::hideProgress() { progress_->hide(); }

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitMessage();
    placeProgress();
}

void StatusPanels::placeProgress() {
    progress_->setGeometry(width() - progress_->width(), 0, progress_->width(), height());
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
