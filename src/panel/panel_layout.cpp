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

QGroupBox* frame(QWidget* parent, const QString& caption, const QString& tip) {
    auto* box = new QGroupBox(caption, parent);
    box->setToolTip(tip);
    return box;
}

void makeBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

// The oscillator frame and everything in it write in bold red; a disabled oscillator field
// writes in the grey of every disabled field, which tells that it takes no input.
void makeOscillatorText(QWidget* widget) {
    makeBold(widget);
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colorFromBgr(kOscillatorRed));
        palette.setColor(group, QPalette::Text, colorFromBgr(kOscillatorRed));
    }
    widget->setPalette(palette);
}

ValueEdit* valueField(QWidget* parent, const QString& tip) {
    auto* field = new ValueEdit(parent);
    field->setToolTip(tip);
    setBackground(field, colorFromBgr(kFieldGrey));
    // A field that takes no typing (while a run goes, or a step showing "Lin" or "Log" on cyan)
    // stays readable.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, colorFromBgr(kDisabledText));
    field->setPalette(palette);
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

// Builds the controls in their designed places, scaled to the screen.
class PanelBuilder {
  public:
    PanelBuilder(QWidget* window, const TwipScale& scale) : window_(window), scale_(scale) {}

    PanelControls build(ResultTable* results) {
        ui_.lFrm[0] = place(new QGroupBox(window_), 0, 0, 9430, 1200);
        buildParameterFrames();
        buildSweepFrame();
        buildRightBlock();
        buildResultsView(results);
        setFocusOrder();
        return ui_;
    }

  private:
    // Places a control by its designed rectangle in twips, relative to its container.
    template <typename Widget>
    Widget* place(Widget* widget, int left, int top, int width, int height) const {
        widget->setGeometry(scale_.rect(left, top, width, height));
        return widget;
    }

    // Option buttons and check boxes set their caption close to the mark, as the design's
    // narrow buttons ("Parallel" in 58 pixels) need.
    template <typename Button>
    Button* markedButton(QWidget* parent, const char* caption, const char* tip) const {
        auto* button = new Button(QString::fromLatin1(caption), parent);
        button->setToolTip(QString::fromLatin1(tip));
        button->setStyleSheet(QStringLiteral("spacing: %1px").arg(scale_.scaled(3)));
        return button;
    }

    void buildParameterFrames();
    void buildSweepFrame();
    void buildRightBlock();
    void buildResultsView(ResultTable* results);
    void setFocusOrder() const;

    QWidget* window_;
    TwipScale scale_;
    PanelControls ui_;
};

void PanelBuilder::buildParameterFrames() {
    ui_.lFrm[1] =
        place(frame(ui_.lFrm[0], QStringLiteral("Param."), QStringLiteral("Measure parameter")), 80,
              120, 940, 1000);
    const std::array<const char*, 6> captions{"Z", "L", "R", "C", "G", "D"};
    const std::array<const char*, 6> tips{"Impedance",   "Inductance", "Resistance",
                                          "Capacitance", "Gain",       "Delay"};
    const std::array<int, 3> rows{200, 440, 690};
    for (size_t i = 0; i < ui_.lMod.size(); ++i)
        ui_.lMod[i] = place(markedButton<QRadioButton>(ui_.lFrm[1], captions[i], tips[i]),
                            i % 2 == 0 ? 40 : 480, rows[i / 2], 400, 255);
    ui_.lMod[0]->setChecked(true);

    ui_.lFrm[3] = place(frame(ui_.lFrm[0], QStringLiteral("Circuit"),
                              QStringLiteral("Equivalent circuit of the measurement")),
                        1060, 120, 940, 1000);
    const std::array<const char*, 3> circuits{"Auto", "Series", "Parallel"};
    const std::array<const char*, 3> circuitTips{"Circuit chosen by the instrument",
                                                 "Series equivalent circuit",
                                                 "Parallel equivalent circuit"};
    for (size_t i = 0; i < ui_.lCrm.size(); ++i)
        ui_.lCrm[i] = place(markedButton<QRadioButton>(ui_.lFrm[3], circuits[i], circuitTips[i]),
                            40, rows[i], 870, 255);
    ui_.lCrm[0]->setChecked(true);
}

void PanelBuilder::buildSweepFrame() {
    QGroupBox* sweep = ui_.lFrm[2] =
        place(frame(ui_.lFrm[0], QStringLiteral("Sweep"), QStringLiteral("Sweep parameters")), 2040,
              120, 5300, 1005);

    const std::array<const char*, 3> tags{"Start/Spot", "Stop", "Step"};
    const std::array<const char*, 3> tagTips{"Start or Spot value", "Stop value", "Step Value"};
    const std::array<int, 3> tagLefts{840, 2160, 3840};
    for (size_t i = 0; i < ui_.lTag.size(); ++i) {
        auto* tag = new QLabel(QString::fromLatin1(tags[i]), sweep);
        tag->setToolTip(QString::fromLatin1(tagTips[i]));
        tag->adjustSize();
        tag->move(scale_.pixels(tagLefts[i]), 0);
        ui_.lTag[i] = tag;
    }

    ui_.lSwp[0] = place(markedButton<QRadioButton>(sweep, "Freq", "Frequency"), 40, 280, 645, 255);
    ui_.lSwp[1] =
        place(markedButton<QRadioButton>(sweep, "Bias", "Bias voltage"), 40, 620, 645, 255);
    ui_.lSwp[1]->setChecked(true);

    // Each field is as wide as its longest text ("13000.000", "1000.000") in the panel font
    // needs, its bar and unit label follow it.
    const std::array<int, 3> fieldLefts{660, 2220, 3780};
    const std::array<int, 3> fieldWidths{915, 915, 825};
    const std::array<int, 3> barLefts{1575, 3135, 4605};
    const std::array<int, 3> labelLefts{1830, 3390, 4860};
    const std::array<const char*, 3> frequencyTips{"Enter Start or Spot Frequency",
                                                   "Enter Stop Frequency",
                                                   "Enter Step for Frequency sweeping"};
    const std::array<const char*, 3> biasTips{"Enter Start or Spot Bias voltage",
                                              "Enter Stop Bias voltage",
                                              "Enter Step for Bias voltage sweeping"};
    for (size_t i = 0; i < 3; ++i) {
        const QString unitTip = i == 2 ? QStringLiteral("Click left to change unit")
                                       : QStringLiteral("Click to change unit");
        ui_.vFrq[i] = place(valueField(sweep, QString::fromLatin1(frequencyTips[i])), fieldLefts[i],
                            280, fieldWidths[i], 285);
        ui_.dFrq[i] = place(valueBar(sweep), barLefts[i], 280, 255, 285);
        ui_.lFrq[i] =
            place(unitLabel(sweep, QStringLiteral("kHz"), unitTip), labelLefts[i], 300, 390, 240);
        ui_.vVlt[i] = place(valueField(sweep, QString::fromLatin1(biasTips[i])), fieldLefts[i], 620,
                            fieldWidths[i], 285);
        ui_.dVlt[i] = place(valueBar(sweep), barLefts[i], 620, 255, 285);
        ui_.lVlt[i] =
            place(unitLabel(sweep, QStringLiteral("V"), unitTip), labelLefts[i], 645, 390, 240);
    }
}

void PanelBuilder::buildRightBlock() {
    QGroupBox* strip = ui_.lFrm[0];
    // The auto-step box sits on the sweep frame's top edge; it belongs to the window so that
    // it lies above the frame.
    ui_.vAuto =
        place(markedButton<QCheckBox>(window_, "Auto", "Autostep option"), 6600, 120, 640, 255);
    ui_.vAuto->setAutoFillBackground(true);

    ui_.Opts = place(markedButton<QCheckBox>(strip, "High Speed", "High Speed option"), 7395, 240,
                     1215, 255);

    ui_.fOsc = place(new QGroupBox(QStringLiteral("Oscillator"), strip), 7365, 510, 1095, 615);
    makeOscillatorText(ui_.fOsc);
    ui_.vOsc = place(valueField(ui_.fOsc, QStringLiteral("Enter Oscillator level in mV")), 120, 240,
                     585, 285);
    ui_.vOsc->setText(QStringLiteral("500"));
    makeOscillatorText(ui_.vOsc);
    ui_.lOsc = place(new QLabel(QStringLiteral("mV"), ui_.fOsc), 720, 285, 300, 255);
    ui_.lOsc->setToolTip(QStringLiteral("Oscillator level"));
    ui_.lOsc->setAlignment(Qt::AlignCenter);
    setBackground(ui_.lOsc, colorFromBgr(kFieldGrey));
    makeOscillatorText(ui_.lOsc);

    ui_.Config = place(new QPushButton(QStringLiteral("&Config"), strip), 8640, 130, 735, 255);
    ui_.Run[1] = place(new QPushButton(QStringLiteral("&Ref."), strip), 8640, 600, 735, 255);
    ui_.Run[1]->setToolTip(QStringLiteral("Run & Store Reference measure"));
    ui_.Run[0] = place(new QPushButton(QStringLiteral("&Run"), strip), 8640, 860, 735, 255);
    ui_.Run[0]->setToolTip(QStringLiteral("Run final measurement"));
}

void PanelBuilder::buildResultsView(ResultTable* results) {
    auto* list = place(new QTableView(window_), 0, 1245, 3510, 4155);
    list->setModel(results);
    // The results view makes it a report list, hides the sort key column and sizes the
    // others (ResultsList).
    ui_.Data = list;

    ui_.fDraw = place(new PlotBox(window_), 3500, 1240, 5940, 4140);
    ui_.StatusBar = place(new StatusPanels(window_), 0, 5385, 9450, 255);
}

void PanelBuilder::setFocusOrder() const {
    std::vector<QWidget*> order(ui_.lMod.begin(), ui_.lMod.end());
    order.insert(order.end(), ui_.lSwp.begin(), ui_.lSwp.end());
    for (size_t i = 0; i < 3; ++i)
        order.insert(order.end(), {ui_.vFrq[i], ui_.dFrq[i], ui_.lFrq[i]});
    for (size_t i = 0; i < 3; ++i)
        order.insert(order.end(), {ui_.vVlt[i], ui_.dVlt[i], ui_.lVlt[i]});
    order.insert(order.end(), {ui_.vOsc, ui_.Config, ui_.Run[0], ui_.Data, ui_.fDraw, ui_.Run[1],
                               ui_.Opts, ui_.vAuto});
    order.insert(order.end(), ui_.lCrm.begin(), ui_.lCrm.end());
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace

QFont panelFont(const TwipScale& scale) {
    // 10 pixels on a 96-dpi screen (7.5 points), growing with the screen's logical DPI as the
    // layout does. DejaVu Sans runs wider than the sans-serif the design was drawn with; at this
    // size every caption fits its control.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(scale.scaled(10));
    return font;
}

PanelControls buildPanel(QWidget* window, const TwipScale& scale, ResultTable* results) {
    window->setFont(panelFont(scale));
    return PanelBuilder(window, scale).build(results);
}

}  // namespace lorvane
