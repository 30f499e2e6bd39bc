#include "panel_layout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

#include "panel_widgets.h"
#include "plot_box.h"
#include "result_table.h"
#include "status_panels.h"
#include "twips.h"

namespace lorvane {
namespace {

// Places a control by its designed rectangle in twips, relative to its container.
template <typename Widget>
Widget* place(Widget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QString& tip) {
    auto* box = new QGroupBox(caption, parent);
    box->setToolTip(tip);
    return box;
}

// Option buttons and check boxes set their caption close to the mark, as the design's
// narrow buttons ("Parallel" in 54 pixels) need.
template <typename Button>
Button* markedButton(QWidget* parent, const QString& caption, const QString& tip) {
    auto* button = new Button(caption, parent);
    button->setToolTip(tip);
    button->setStyleSheet(QStringLiteral("spacing: 3px"));
    return button;
}

QRadioButton* option(QWidget* parent, const QString& caption, const QString& tip) {
    return markedButton<QRadioButton>(parent, caption, tip);
}

void makeBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

// The oscillator frame and everything in it write in bold red.
void makeOscillatorText(QWidget* widget) {
    makeBold(widget);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(kOscillatorRed));
    palette.setColor(QPalette::Text, colorFromBgr(kOscillatorRed));
    widget->setPalette(palette);
}

ValueEdit* valueField(QWidget* parent, const QString& tip) {
    auto* field = new ValueEdit(parent);
    field->setToolTip(tip);
    setBackground(field, colorFromBgr(kFieldGrey));
    return field;
}

ClickLabel* unitLabel(QWidget* parent, const QString& caption, const QString& tip) {
    auto* label = new ClickLabel(caption, parent);
    label->setToolTip(tip);
    label->setAlignment(Qt::AlignCenter);
    setBackground(label, colorFromBgr(kFieldGrey));
    makeBold(label);
    return label;
}

QScrollBar* valueBar(QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    // A bar reports its value when the operator lets go of it, not at every step of a drag,
    // and it takes the focus like any other control.
    bar->setTracking(false);
    bar->setPageStep(1);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

void buildParameterFrames(PanelControls& ui) {
    ui.lFrm[1] =
        place(frame(ui.lFrm[0], QStringLiteral("Param."), QStringLiteral("Measure parameter")), 80,
              120, 940, 1000);
    const std::array<const char*, 6> captions{"Z", "L", "R", "C", "G", "D"};
    const std::array<const char*, 6> tips{"Impedance",   "Inductance", "Resistance",
                                          "Capacitance", "Gain",       "Delay"};
    const std::array<int, 3> rows{200, 440, 690};
    for (size_t i = 0; i < ui.lMod.size(); ++i)
        ui.lMod[i] = place(
            option(ui.lFrm[1], QString::fromLatin1(captions[i]), QString::fromLatin1(tips[i])),
            i % 2 == 0 ? 40 : 480, rows[i / 2], 400, 255);
    ui.lMod[0]->setChecked(true);

    ui.lFrm[3] = place(frame(ui.lFrm[0], QStringLiteral("Circuit"),
                             QStringLiteral("Equivalent circuit of the measurement")),
                       1060, 120, 940, 1000);
    const std::array<const char*, 3> circuits{"Auto", "Series", "Parallel"};
    const std::array<const char*, 3> circuitTips{"Circuit chosen by the instrument",
                                                 "Series equivalent circuit",
                                                 "Parallel equivalent circuit"};
    for (size_t i = 0; i < ui.lCrm.size(); ++i)
        ui.lCrm[i] = place(option(ui.lFrm[3], QString::fromLatin1(circuits[i]),
                                  QString::fromLatin1(circuitTips[i])),
                           40, rows[i], 820, 255);
    ui.lCrm[0]->setChecked(true);
}

void buildSweepFrame(PanelControls& ui) {
    QGroupBox* sweep = ui.lFrm[2] =
        place(frame(ui.lFrm[0], QStringLiteral("Sweep"), QStringLiteral("Sweep parameters")), 2040,
              120, 5300, 1005);

    const std::array<const char*, 3> tags{"Start/Spot", "Stop", "Step"};
    const std::array<const char*, 3> tagTips{"Start or Spot value", "Stop value", "Step Value"};
    const std::array<int, 3> tagLefts{840, 2160, 3840};
    for (size_t i = 0; i < ui.lTag.size(); ++i) {
        auto* tag = new QLabel(QString::fromLatin1(tags[i]), sweep);
        tag->setToolTip(QString::fromLatin1(tagTips[i]));
        tag->adjustSize();
        tag->move(twipsToPixels(tagLefts[i]), 0);
        ui.lTag[i] = tag;
    }

    ui.lSwp[0] = place(option(sweep, QStringLiteral("Freq"), QStringLiteral("Frequency")), 40, 280,
                       645, 255);
    ui.lSwp[1] = place(option(sweep, QStringLiteral("Bias"), QStringLiteral("Bias voltage")), 40,
                       620, 645, 255);
    ui.lSwp[1]->setChecked(true);

    const std::array<int, 3> fieldLefts{660, 2220, 3780};
    const std::array<int, 3> fieldWidths{870, 870, 750};
    const std::array<int, 3> barLefts{1540, 3105, 4545};
    const std::array<int, 3> labelLefts{1820, 3375, 4840};
    const std::array<const char*, 3> frequencyTips{"Enter Start or Spot Frequency",
                                                   "Enter Stop Frequency",
                                                   "Enter Step for Frequency sweeping"};
    const std::array<const char*, 3> biasTips{"Enter Start or Spot Bias voltage",
                                              "Enter Stop Bias voltage",
                                              "Enter Step for Bias voltage sweeping"};
    for (size_t i = 0; i < 3; ++i) {
        const QString unitTip = i == 2 ? QStringLiteral("Click left to change unit")
                                       : QStringLiteral("Click to change unit");
        ui.vFrq[i] = place(valueField(sweep, QString::fromLatin1(frequencyTips[i])), fieldLefts[i],
                           280, fieldWidths[i], 285);
        ui.dFrq[i] = place(valueBar(sweep), barLefts[i], 280, 255, 285);
        ui.lFrq[i] =
            place(unitLabel(sweep, QStringLiteral("kHz"), unitTip), labelLefts[i], 300, 390, 240);
        ui.vVlt[i] = place(valueField(sweep, QString::fromLatin1(biasTips[i])), fieldLefts[i], 620,
                           fieldWidths[i], 285);
        ui.dVlt[i] = place(valueBar(sweep), barLefts[i], 620, 255, 285);
        ui.lVlt[i] =
            place(unitLabel(sweep, QStringLiteral("V"), unitTip), labelLefts[i], 645, 390, 240);
    }
}

void buildRightBlock(QWidget* window, PanelControls& ui) {
    QGroupBox* strip = ui.lFrm[0];
    // The auto-step box sits on the sweep frame's top edge; it belongs to the window so that
    // it lies above the frame.
    ui.vAuto = place(
        markedButton<QCheckBox>(window, QStringLiteral("Auto"), QStringLiteral("Autostep option")),
        6600, 120, 640, 255);
    ui.vAuto->setAutoFillBackground(true);

    ui.Opts = place(markedButton<QCheckBox>(strip, QStringLiteral("High Speed"),
                                            QStringLiteral("High Speed option")),
                    7395, 240, 1215, 255);

    ui.fOsc = place(new QGroupBox(QStringLiteral("Oscillator"), strip), 7365, 510, 1095, 615);
    makeOscillatorText(ui.fOsc);
    ui.vOsc = place(valueField(ui.fOsc, QStringLiteral("Enter Oscillator level in mV")), 120, 240,
                    585, 285);
    ui.vOsc->setText(QStringLiteral("500"));
    makeOscillatorText(ui.vOsc);
    ui.lOsc = place(new QLabel(QStringLiteral("mV"), ui.fOsc), 720, 285, 300, 255);
    ui.lOsc->setToolTip(QStringLiteral("Oscillator level"));
    ui.lOsc->setAlignment(Qt::AlignCenter);
    setBackground(ui.lOsc, colorFromBgr(kFieldGrey));
    makeOscillatorText(ui.lOsc);

    ui.Config = place(new QPushButton(QStringLiteral("&Config"), strip), 8640, 130, 735, 255);
    ui.Run[1] = place(new QPushButton(QStringLiteral("&Ref."), strip), 8640, 600, 735, 255);
    ui.Run[1]->setToolTip(QStringLiteral("Run & Store Reference measure"));
    ui.Run[0] = place(new QPushButton(QStringLiteral("&Run"), strip), 8640, 860, 735, 255);
    ui.Run[0]->setToolTip(QStringLiteral("Run final measurement"));
}

void buildResultsView(QWidget* window, ResultTable* results, PanelControls& ui) {
    auto* list = place(new QTableView(window), 0, 1245, 3510, 4155);
    list->setModel(results);
    // The results view makes it a report list, hides the sort key column and sizes the
    // others (ResultsList).
    ui.Data = list;

    ui.fDraw = place(new PlotBox(window), 3500, 1240, 5940, 4140);
    ui.StatusBar = place(new StatusPanels(window), 0, 5385, 9450, 255);
}

void setFocusOrder(const PanelControls& ui) {
    std::vector<QWidget*> order(ui.lMod.begin(), ui.lMod.end());
    order.insert(order.end(), ui.lSwp.begin(), ui.lSwp.end());
    for (size_t i = 0; i < 3; ++i) order.insert(order.end(), {ui.vFrq[i], ui.dFrq[i]});
    for (size_t i = 0; i < 3; ++i) order.insert(order.end(), {ui.vVlt[i], ui.dVlt[i]});
    order.insert(order.end(),
                 {ui.vOsc, ui.Config, ui.Run[0], ui.Data, ui.fDraw, ui.Run[1], ui.Opts, ui.vAuto});
    order.insert(order.end(), ui.lCrm.begin(), ui.lCrm.end());
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace

QFont panelFont() {
    // The layout is fixed in pixels, so the font is too: 10 pixels, 7.5 points on a 96-dpi
    // screen. DejaVu Sans runs wider than the sans-serif the design was drawn with; at this
    // size every caption fits its control.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

PanelControls buildPanel(QWidget* window, ResultTable* results) {
    window->setFont(panelFont());
    PanelControls ui;
    ui.lFrm[0] = place(new QGroupBox(window), 0, 0, 9430, 1200);
    buildParameterFrames(ui);
    buildSweepFrame(ui);
    buildRightBlock(window, ui);
    buildResultsView(window, results, ui);
    setFocusOrder(ui);
    return ui;
}

}  // namespace lorvane
