#pragma once

#include <QString>

namespace lorvane {

// The settings store of the program's instance, as far as the plot keeps its choices in it.
// The application supplies it; reads never fail (a missing value gives the default).
class PlotSettings {
  public:
    virtual ~PlotSettings() = default;
    virtual int readNumber(const QString& name, int def) const = 0;
    virtual void writeNumber(const QString& name, int value) = 0;
    virtual QString readText(const QString& name, const QString& def) const = 0;
    virtual void writeText(const QString& name, const QString& value) = 0;
};

// The plot's settings. Log axes: 1 chosen, 0 not (the default). The second reading: 1 shown,
// 0 hidden; missing (or -1) leaves it to the reading (shown for a phase). The folder: where
// the plot was saved last.
inline const QString kPlotLogX = QStringLiteral("Plot_LogX");
inline const QString kPlotLogY = QStringLiteral("Plot_LogY");
inline const QString kPlotSecond = QStringLiteral("Plot_Second");
inline const QString kPlotFolder = QStringLiteral("Plot_Folder");

}  // namespace lorvane
