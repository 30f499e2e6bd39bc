#include "run_fakes.h"

namespace lorvane::test {
namespace {

TEST(MeasurementRun, FrequencySweepEndToEnd) {
    RunRig rig;
    rig.setUp("F 1000 3000 1000 mode=2 circuit=1");
    rig.snap.bias = {0, 200, 30};
    rig.instrument(1, 1);
    rig.run.Run_Click(0);

    EXPECT_EQ(rig.wire.join(' '),
              "W0ABEX T3F1R8I0G0H0EX A2B1C2EX OL0.500ENEX EX SF1.000ENTF1.000ENPF3.000ENEX "
              "FR1.000ENEX W0EX <purge> ?EX W2 ?EX W2 ?EX W2 ABI0OL0.005ENEX");
    // Every point is written down before it is shown.
    EXPECT_EQ(rig.panels.join(' '),
              "IN= DAT1= DAT2= IN=Init IN=Run record IN=K:+1.000000 DAT1=ZF:+100E+00 "
              "DAT2=TD:+10E+00 record IN=K:+2.000000 DAT1=ZF:+110E+00 DAT2=TD:+10E+00 record "
              "IN=K:+3.000000 DAT1=ZF:+120E+00 DAT2=TD:+10E+00");
    EXPECT_EQ(rig.calls.join(','),
              "note ,highlight,units kHzOhmX,0/3,follow 0,1/3,follow 1,2/3,follow 2,3/3,first,end,"
              "clear auto");
    EXPECT_EQ(rig.plots.join(','), "1 2 100 120");  // x ends one step below the last point
    EXPECT_EQ(rig.settings.join(' '),
              "F_Start=1000 F_Stop=3000 F_Step=1000 V_Start=0 V_Stop=200 V_Step=30 Circuit=1 "
              "Sweep=0 Mode=2");
    EXPECT_EQ(rig.state(), "&Run &Ref. 11 face panel");
    EXPECT_EQ(rig.starts.at(0).points, 3);
    EXPECT_EQ(rig.points[2].reading.inText(), "K:+3.000000");
    EXPECT_TRUE(rig.run.outcome().started && !rig.run.outcome().stopped);
}

// A sweep ends where the instrument reports its stop; an automatic linear step reprograms it at
// each decade (the top one within range; bias towards zero); a log step and a spot need none.
TEST(MeasurementRun, SweepsOfEachKindEndAtTheirStop) {
    const struct {
        const char* panel;
        const char* xs;  // the sweep value of each reading
        // The traffic from the sweep's range on | the step boxes' texts | the plot.
        const char* run;
    } cases[] = {
        // 2.03 V times 1000 is 2029.9999999999998 in binary: the reading still meets the stop.
        {"B 2010 2030 10", "V+02.01 V+02.02 V+02.03 V+02.03",
         "SB0.010ENTB2.010ENPB2.030ENEX BI2.010ENEX W0EX <purge> ?EX W2 ?EX W2 ?EX W2 "
         "ABI0OL0.005ENEX |  | 2010 2020 1 1"},
        {"F 1000 100000 0 auto",
         "K+1 K+2 K+3 K+4 K+5 K+6 K+7 K+8 K+9 K+10 K+20 K+30 K+40 K+50 K+60 K+70 K+80 K+90 K+100",
         "SF1.000ENTF1.000ENPF100.000ENEX FR1.000ENEX W1W2EX <purge> ?EX ?EX ?EX ?EX ?EX ?EX ?EX "
         "?EX ?EX ?EX ABEX SF10.000ENTF20.000ENPF100.000EN W1W2EX ?EX ?EX ?EX ?EX ?EX ?EX ?EX ?EX "
         "?EX ABEX SF25.000ENTF125.000ENPF100.000EN W1W2EX ABI0OL0.005ENEX | F:1 F:10 F:25 F:Lin "
         "B:Lin | 1 100 1 1"},
        {"F 12900e3 13000e3 0 auto", "K+12900.000 K+12950.000 K+13000.000",
         "SF50.000ENTF12900.000ENPF13000.000ENEX FR12900.000ENEX W1W2EX <purge> ?EX ?EX ?EX ABEX "
         "SF50.000ENTF13000.000ENPF13000.000EN W1W2EX ABI0OL0.005ENEX | F:50 F:50 F:Lin B:Lin | "
         "12900 13000 1 1"},
        {"B -150 20 0 auto", "V-0.150 V-0.130 V-0.110 V-0.090 V+0.020",
         "SB0.020ENTB-0.150ENPB0.020ENEX BI-0.150ENEX W1W2EX <purge> ?EX ?EX ?EX ?EX ABEX "
         "SB0.010ENTB-0.080ENPB0.020EN W1W2EX ?EX ABEX SB0.010ENTB0.030ENPB0.020EN W1W2EX "
         "ABI0OL0.005ENEX | B:20 B:10 B:10 F:Lin B:Lin | -150 20 1 1"},
        {"F 5000 8000 0 auto log", "K+5 K+6 K+7 K+8",
         "SF0.000ENTF5.000ENPF8.000ENEX FR5.000ENEX W1W2EX <purge> ?EX ?EX ?EX ?EX ABI0OL0.005ENEX "
         "|  | 5 8 1 1"},
        {"F 5000 5000 0", "K+5",
         "SF0.000ENTF5.000ENPF5.000ENEX FR5.000ENEX W0EX <purge> ?EX W2 ABI0OL0.005ENEX |  | 5 5 1 "
         "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel);
        RunRig rig;
        rig.setUp(c.panel);
        for (const QString& x : words(c.xs)) rig.replies << u"NZFN+1,NTDN+1,"_s + x;
        rig.run.Run_Click(0);
        EXPECT_EQ(rig.wire.mid(5).join(' ') + u" | "_s + rig.stepTexts.join(' ') + u" | "_s +
                      rig.plots.join(','),
                  c.run);
        EXPECT_EQ(rig.rows.size(), static_cast<size_t>(rig.queries));
    }
}

// A second run after 1 to 3 kHz (100, 110 and 120 Ohm), which reads 200, 210, ... Ohm.
TEST(MeasurementRun, KeepsOrClearsTheEarlierRowsByRangeSettingAndAnswer) {
    const struct {
        const char* panel;
        bool merge;
        MsgResult answer;
        const char* list;  // x|dat1 after the second run; "?" where it asks
    } cases[] = {
        {"F 1000 3000 1000", false, MsgResult::Yes, "1.000|200.000 2.000|210.000 3.000|220.000"},
        {"F 1500 3000 500", false, MsgResult::No,
         "? 1.500|200.000 2.000|210.000 2.500|220.000 3.000|230.000"},
        {"F 2000 4000 1000", false, MsgResult::Yes,
         "? 1.000|100.000 2.000|200.000 3.000|210.000 4.000|220.000"},
        {"F 4000 5000 1000", true, MsgResult::No,
         "1.000|100.000 2.000|110.000 3.000|120.000 4.000|200.000 5.000|210.000"},
        {"F 4000 5000 0 auto log", false, MsgResult::Yes, "4.000|200.000 5.000|210.000"},
    };
    const QString ask =
        u"Additionnal measurement|Do you want to keep previous values\r\nNew "
        u"measures will be merged with the existing ones|"_s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel);
        RunRig rig;
        rig.setUp("F 1000 3000 1000");
        rig.instrument(1, 1);
        rig.run.Run_Click(0);
        rig.merge = c.merge;
        rig.snap = panelOf(c.panel);
        const std::array<double, 3>& f = rig.snap.frequency;
        rig.instrument(f[0] / 1000, f[2] == 0 ? 1 : f[2] / 1000, 200);
        rig.platform.answerNext(c.answer);
        rig.run.Run_Click(0);
        QStringList list;
        for (const MessageRequest& box : rig.platform.messages)
            list << QString(box.title + '|' + box.text +
                            (box.buttons == MsgButtons::YesNo ? "|?" : ""))
                        .replace(ask, u""_s);
        for (const ResultRow& r : rig.rows) list << r.x + u'|' + r.dat1;
        EXPECT_EQ(list.join(' '), dec(c.list));
        EXPECT_EQ(rig.starts.back().keepsRows, list.contains(dec("1.000|100.000")));
        // A range given by hand is remembered; an automatic step leaves it alone.
        EXPECT_EQ(rig.prevFreq, f[2] == 0 ? (std::array<double, 3>{1000, 3000, 1000}) : f);
    }
}

// A Stop click, or the window closing, after point 3 ends the run there with no error box; a
// Stop click restores the buttons at once, and nothing starts inside the run that is ending.
TEST(MeasurementRun, StoppedOrClosedMidRunEndsAfterTheCurrentPoint) {
    const struct {
        bool closing;
        int button;
        // The states at point 3 and after the Stop click | the traffic from the first trigger.
        const char* run;
    } cases[] = {
        {false, 0,
         "&Stop &Ref. 10 face locked,&Run &Ref. 11 face panel running|"
         "?EX W2 ?EX W2 ?EX ABI0OL0.005ENEX"},
        {false, 1,
         "&Run &Stop 01 face locked,&Run &Ref. 11 face panel running|"
         "?EX W2 ?EX W2 ?EX ABI0OL0.005ENEX"},
        {true, 1, "&Run &Stop 01 face locked|?EX W2 ?EX W2 ?EX W2 ?EX ABI0OL0.005ENEX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.run);
        RunRig rig;
        rig.setUp("F 1000 10000 1000");
        rig.instrument(1, 1);
        QStringList states;
        rig.platform.onEvents = [&] {
            if (!states.isEmpty() || rig.rows.size() != 3) return;
            states << rig.state();
            rig.closingNow = c.closing;
            if (!c.closing) {
                rig.run.Run_Click(1 - c.button);  // disabled: ignored
                rig.run.Run_Click(c.button);
                states << rig.state() + (rig.run.running() ? " running" : "");
                rig.run.Run_Click(c.button);
            }
            rig.reply = [](int) { return QString(); };
            rig.writeOk = [&c](const QString&) { return !c.closing; };
        };
        rig.run.Run_Click(c.button);
        EXPECT_EQ(states.join(',') + '|' + rig.traffic(), c.run);
        EXPECT_EQ(rig.platform.sleeps, (c.closing ? std::vector<int>() : std::vector{100, 10}));
        EXPECT_TRUE(rig.platform.messages.empty());
        EXPECT_EQ(rig.background, ListBackground::White);
        EXPECT_EQ(rig.state(), "&Run &Ref. 11 face panel");
        EXPECT_TRUE(!rig.run.running() && !rig.stop);
        EXPECT_EQ(rig.run.outcome().stopped, !c.closing);
        EXPECT_EQ(rig.run.outcome().points, 3);
    }
}

TEST(MeasurementRun, ARunThatCouldNotGoDoesNotStart) {
    const QString refusal = u"Step too small to reach the stop\rEnter a step of at least "_s;
    const struct {
        const char* panel;
        bool closing;
        const char* messages;  // "beep" for a beep, "!" for a warning
    } cases[] = {
        {"F 1000 3000 1000 osc=five", false, "beep|beep"},
        {"F 1000 3000 1000", true, ""},
        {"F 1000 3000 0.4", false, "!step 1 Hz|!step 1 Hz"},
        {"B -100 100 0", false, "!step 10 mV|!step 10 mV"},
        {"F 1 3000 0 auto", false, "!step 1 Hz|!step 1 Hz"},  // below the decade table
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel);
        RunRig rig;
        rig.setUp(c.panel);
        rig.closingNow = c.closing;
        rig.rows.push_back({"k", "x", "1", "2"});
        rig.run.Run_Click(0);
        rig.run.Run_Click(1);  // Ref. does not start either
        QStringList messages(rig.platform.beeps, u"beep"_s);
        for (const MessageRequest& m : rig.platform.messages)
            messages << (m.icon == MsgIcon::Exclamation ? u"!"_s : u"?"_s) +
                            QString(m.text).replace(refusal, u"step "_s);
        EXPECT_EQ(messages.join('|'), c.messages);
        EXPECT_TRUE(rig.wire.isEmpty() && rig.settings.isEmpty());
        EXPECT_EQ(rig.rows.size(), 1u);
        EXPECT_EQ(rig.state(), "&Run &Ref. 11 face panel");
        EXPECT_FALSE(rig.stop || rig.run.outcome().started);
    }
}

// A sweep value that stands still for good ends the run; one read a few times over (a step below
// the reply's resolution) does not. A stop request left from before is cleared.
TEST(MeasurementRun, AnInstrumentThatStandsStillEndsTheRunAsBadData) {
    const struct {
        const char* panel;
        std::function<double(int)> kHz;  // the sweep value of query i
        int queries;
        const char* message;
    } cases[] = {
        {"F 1000 3000 1000", [](int) { return 1.0; }, 101, "Bad data\rVerify GPIB Configuration"},
        {"F 1000 3000 0 auto log", [](int i) { return i == 0 ? 1.0 : 2.0; }, 102,
         "Bad data\rVerify GPIB Configuration"},
        {"F 1000 3000 1000", [](int i) { return 1.0 + i / 99; }, 199, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queries);
        RunRig rig;
        rig.setUp(c.panel);
        rig.stop = true;
        rig.reply = [&c](int i) { return u"NZFN+1,NTDN+0,K+%1"_s.arg(c.kHz(i)); };
        rig.run.Run_Click(0);
        EXPECT_EQ(rig.queries, c.queries);
        EXPECT_EQ(rig.platform.messages.empty() ? QString() : rig.platform.messages[0].text,
                  c.message);
        EXPECT_FALSE(rig.run.running() || rig.stop);
    }
}

}  // namespace
}  // namespace lorvane::test
