#include "plot_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// Texts at the resolution of a plain screen, as the box measures them there.
constexpr int kScreenDpi = 96;
constexpr double kDotsPerMeter = kScreenDpi / 0.0254;

QString suffixOf(PlotFileKind kind) { return kind == PlotFileKind::Svg ? u"svg"_s : u"png"_s; }

QByteArray pngBytes(const PlotRequest& request, const PlotRanges& ranges, QSize size,
                    double ratio) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(static_cast<int>(kDotsPerMeter));
    image.setDotsPerMeterY(static_cast<int>(kDotsPerMeter));
    {
        QPainter painter(&image);
        paintPlot(painter, size, request, ranges);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svgBytes(const PlotRequest& request, const PlotRanges& ranges, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(), size));
    svg.setResolution(kScreenDpi);
    svg.setTitle(u"Lorvane plot"_s);
    {
        QPainter painter(&svg);
        paintPlot(painter, size, request, ranges);
    }
    return bytes;
}

}  // namespace

QStringList plotFileFilters() {
    return {u"PNG image (*.png)"_s, u"PNG image, double size (*.png)"_s, u"SVG drawing (*.svg)"_s};
}

PlotFile plotFileFor(const QString& chosen, int filter) {
    const auto kind = static_cast<PlotFileKind>(std::clamp(filter, 0, 2));
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == u"svg") return {chosen, PlotFileKind::Svg};
    if (suffix == u"png") return {chosen, kind == PlotFileKind::Svg ? PlotFileKind::Png : kind};
    return {chosen + u'.' + suffixOf(kind), kind};
}

bool writePlotFile(const PlotFile& file, const PlotRequest& request, const PlotRanges& ranges,
                   QSize size, double screenRatio) {
    const QByteArray bytes =
        file.kind == PlotFileKind::Svg
            ? svgBytes(request, ranges, size)
            : pngBytes(request, ranges, size, file.kind == PlotFileKind::Png ? screenRatio : 2);
    if (bytes.isEmpty()) return false;
    QSaveFile out(file.path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

}  // namespace lorvane
