#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "plot_painter.h"

namespace lorvane {

// The kinds of file the plot is saved as, in the order the save dialog offers them: a PNG
// picture at the screen's pixel ratio, one at the ratio 2 (twice the pixels across and down of
// the box on a plain screen), and an SVG drawing.
enum class PlotFileKind { Png, PngDouble, Svg };

// The save dialog's file types, one per PlotFileKind.
QStringList plotFileFilters();

struct PlotFile {
    QString path;
    PlotFileKind kind = PlotFileKind::Png;
};

// The file to write for the name the operator chose with the file type at `filter`: a name
// ending in ".png" or ".svg" (in any case) is written in that format, a PNG at the pixel ratio
// of the chosen type when that is a PNG; any other name gets the type's ending added.
PlotFile plotFileFor(const QString& chosen, int filter);

// Writes a drawing over the given ranges as it shows in a box of `size`: a PNG with
// `screenRatio` (2 for PngDouble) times the pixels across and down, or an SVG drawing of that
// size.
// The file appears whole or not at all: a file already there stays as it was when writing
// fails. Returns false when the file cannot be written.
bool writePlotFile(const PlotFile& file, const PlotRequest& request, const PlotRanges& ranges,
                   QSize size, double screenRatio);

}  // namespace lorvane
