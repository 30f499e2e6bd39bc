#include "command_set.h"

#include <gtest/gtest.h>

#include "run_fakes.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// Puts the default locale back at the end of a test that sets one.
struct RestoredLocale {
    ~RestoredLocale() { QLocale::setDefault(saved); }
    QLocale saved;
};

// The seven entries, joined by "|", for a panel (see panelOf) after a run whose entry 3 is given.
TEST(SetupCommands, EntriesForEachSetUp) {
    const struct {
        const char* panel;
        const char* previous;
        const char* entries;
    } cases[] = {
        {"F 1000 10000 1000 bias=-1500", "",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"B -1500 1500 100 spot=10000", "",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|FR10.000EN|SB0.100ENTB-1.500ENPB1.500EN|BI-1.500EN|W0"},
        // A frequency sweep that sets no bias keeps entry 3: a bias of 0, Gain and Delay.
        {"F 1000 10000 1000", "BI-1.500EN",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 mode=4 bias=2000", "BI-1.500EN",
         "T3F1R8I0G0H0|A5B2N1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 mode=5 circuit=1 bias=2000", "",
         "T3F1R8I0G0H0|A5B1N1C2|OL0.500EN||SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 mode=3 circuit=2 bias=2000 osc=12.5", "BI-1.500EN",
         "T3F1R8I0G0H0|A4B2C3|OL0.013EN|BI2.000EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"B 0 0 0 mode=4 spot=1000", "BI-1.500EN",
         "T3F1R8I0G0H0|A5B2N1C1|OL0.500EN|FR1.000EN|SB0.000ENTB0.000ENPB0.000EN|BI0.000EN|W0"},
        {"F 1500 100000 0 mode=1 circuit=1 auto osc=5", "",
         "T3F1R8I0G0H0|A3B1C2|OL0.005EN||SF1.000ENTF1.500ENPF100.000EN|FR1.500EN|W1W2"},
        {"F 1000 100000 0 mode=2 auto log fast osc=1100", "",
         "T3F1R8I0G1H1|A2B1C1|OL1.100EN||SF0.000ENTF1.000ENPF100.000EN|FR1.000EN|W1W2"},
        {"F 1000 10000 1000 log fast", "",  // log spacing without the automatic step
         "T3F1R8I0G0H1|A1B1C1|OL0.500EN||SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"B 500 900 130 auto spot=1000", "",  // the 20 mV step of the decade
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|FR1.000EN|SB0.020ENTB0.500ENPB0.900EN|BI0.500EN|W1W2"},
    };
    for (const auto& c : cases) {
        const PanelSnapshot p = test::panelOf(c.panel);
        SetupCommands commands{};
        commands[3] = QString::fromLatin1(c.previous);
        ASSERT_TRUE(buildSetupCommands(p, planSweep(p), commands)) << c.panel;
        EXPECT_EQ(QStringList(commands.begin(), commands.end()).join(u'|'), c.entries) << c.panel;
    }
}

TEST(SetupCommands, AnOscillatorTextThatIsNoNumberChangesNothing) {
    const RestoredLocale restored;
    EXPECT_EQ(oscillatorCommand("abc"), std::nullopt);
    EXPECT_EQ(oscillatorCommand(""), std::nullopt);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(oscillatorCommand("12.5"), std::nullopt);  // a group separator
    const PanelSnapshot p = test::panelOf("F 1000 10000 1000 osc=5_0");
    SetupCommands commands{"a", "b", "c", "d", "e", "f", "g"};
    EXPECT_FALSE(buildSetupCommands(p, planSweep(p), commands));
    EXPECT_EQ(commands, (SetupCommands{"a", "b", "c", "d", "e", "f", "g"}));
}

TEST(SweepPlan, TheSelectedSweepInSweepUnitsAndThePointsItWillHave) {
    const struct {
        const char* panel;
        const char* plan;  // start, stop, step, boundary
        int64_t points;    // -1: not known in advance
    } cases[] = {
        {"F 1000 5000 1000", "1 5 1 0", 5},
        {"F 1000 10000 3000", "1 10 3 0", 4},  // the last step stops at the stop
        {"F 100 300 100", "0.1 0.3 0.1 0", 3},
        {"F 5000 5000 1000", "5 5 1 0", 1},  // a spot
        {"F 5000 4000 1000", "5 4 1 0", 1},  // a stop below the start
        {"F 1000 30000 0 auto", "1 30 1 10", 12},
        {"F 100 3000 0 auto", "0.1 3 0.1 1", 12},
        {"F 500000 900000 1500 auto", "500 900 25 1000", 17},
        {"B 500 900 0 auto", "500 900 20 1000", 21},
        {"B -950 0 70 auto", "-950 0 20 -100", 53},
        {"B -950 0 70", "-950 0 70 0", 15},
        {"F 1000 30000 0 auto log", "1 30 0 0", -1},
        {"F 1000 5000 0", "1 5 0 0", -1},
    };
    for (const auto& c : cases) {
        const PanelSnapshot p = test::panelOf(c.panel);
        const SweepPlan plan = planSweep(p);
        SCOPED_TRACE(c.plan);
        EXPECT_EQ(u"%1 %2 %3 %4"_s.arg(plan.start).arg(plan.stop).arg(plan.step).arg(plan.boundary),
                  c.plan);
        EXPECT_EQ(plannedPoints(p, plan).value_or(-1), c.points);
    }
}

TEST(SweepPlan, StepBoxTextIsAPlainNumberInTheUsersLocale) {
    const RestoredLocale restored;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(stepBoxText(25) + ' ' + stepBoxText(0.1) + ' ' + stepBoxText(13000), "25 0.1 13000");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(stepBoxText(0.01) + ' ' + stepBoxText(50), "0,01 50");
}

}  // namespace
}  // namespace lorvane
