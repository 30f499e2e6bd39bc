// The settings of the simulated HP 4192A, with their power-on values.
#pragma once

namespace lorvane::sim {

enum class SweepQuantity { Frequency, Bias };
enum class SweepMode { Manual, Automatic };
enum class AutoSweep { Idle, Running, Paused };

struct SweepRange {
    double start = 0.0;
    double stop = 0.0;
    double step = 0.0;
};

struct InstrumentState {
    int displayA = 1;      // A1..A7
    int displayB = 1;      // B1..B3
    int circuit = 1;       // C1 auto, C2 series, C3 parallel
    int trigger = 1;       // T1 internal, T2 external, T3 hold/manual
    int outputFormat = 1;  // F0 displays A and B, F1 also display C
    int range = 8;         // R1..R7 fixed, R8 auto
    int gainUnit = 1;      // N1 dBm, N2 dBV
    bool biasOn = false;   // I0/I1
    bool highSpeed = false;
    bool logSweep = false;
    bool averaging = false;
    bool dataReadySrq = false;

    double frequencyKhz = 100.0;  // spot frequency
    double biasVolts = 0.0;       // spot DC bias
    double oscillatorVolts = 1.0;

    SweepRange frequencySweep{0.005, 13000.0, 1.0};  // kHz
    SweepRange biasSweep{-35.0, 35.0, 0.1};          // V
    SweepQuantity swept = SweepQuantity::Frequency;
    SweepMode sweepMode = SweepMode::Manual;
    AutoSweep autoSweep = AutoSweep::Idle;
    int sweepDirection = 1;
    // The first trigger on a line of its own after an automatic sweep starts measures the start.
    bool sweepJustStarted = false;
};

}  // namespace lorvane::sim
