#include "xlsx_reader.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QProcess>
#include <QXmlStreamReader>

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// A part of the zip container, or nullopt when there is no such part.
std::optional<QByteArray> part(const QString& path, const QString& name) {
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, path, name});
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit ||
        unzip.exitCode() != 0)
        return std::nullopt;
    return unzip.readAllStandardOutput();
}

// Calls `visit` with the reader at each start element of the document.
template <typename Visit>
void eachElement(const QByteArray& xml, Visit visit) {
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement) visit(reader);
}

QString attribute(const QXmlStreamReader& reader, const char* name) {
    return reader.attributes().value(QLatin1StringView(name)).toString();
}

// The style suffix of each cell format, by index.
QStringList readStyles(const QByteArray& xml) {
    QHash<int, QString> formats{{1, u"0"_s}, {2, u"0.00"_s}};
    std::vector<bool> boldFonts;
    QStringList styles;
    bool cellFormats = false;
    eachElement(xml, [&](QXmlStreamReader& reader) {
        const auto name = reader.name();
        if (name == u"numFmt") {
            formats.insert(attribute(reader, "numFmtId").toInt(), attribute(reader, "formatCode"));
        } else if (name == u"font") {
            boldFonts.push_back(false);
        } else if (name == u"b" && !boldFonts.empty()) {
            boldFonts.back() = true;
        } else if (name == u"cellXfs" || name == u"dxfs") {
            cellFormats = name == u"cellXfs";
        } else if (name == u"xf" && cellFormats) {
            const auto font = static_cast<size_t>(attribute(reader, "fontId").toInt());
            const int format = attribute(reader, "numFmtId").toInt();
            styles.push_back((font < boldFonts.size() && boldFonts[font] ? u" bold"_s : QString()) +
                             (format == 0 ? QString() : u" "_s + formats.value(format, u"?"_s)));
        } else if (name == u"alignment" && cellFormats && !styles.isEmpty()) {
            styles.back() += u" "_s + attribute(reader, "horizontal");
        }
    });
    return styles;
}

QStringList readSharedStrings(const QByteArray& xml) {
    QStringList strings;
    eachElement(xml, [&](QXmlStreamReader& reader) {
        if (reader.name() == u"si") strings.push_back(QString());
        if (reader.name() == u"t" && !strings.isEmpty()) strings.back() += reader.readElementText();
    });
    return strings;
}

QStringList readCells(const QByteArray& xml, const QStringList& styles,
                      const QStringList& strings) {
    QStringList cells;
    QString reference;
    QString type;
    QString style;
    eachElement(xml, [&](QXmlStreamReader& reader) {
        if (reader.name() == u"c") {
            reference = attribute(reader, "r");
            type = attribute(reader, "t");
            style = styles.value(attribute(reader, "s").toInt());
        } else if (reader.name() == u"v") {
            const QString value = reader.readElementText();
            const QString text = type == u"s" ? strings.value(value.toInt()) : value;
            cells.push_back(reference + u" "_s + (type.isEmpty() ? text : u'"' + text + u'"') +
                            style);
        }
    });
    return cells;
}

}  // namespace

std::optional<XlsxBook> readXlsx(const QString& path) {
    const auto workbook = part(path, u"xl/workbook.xml"_s);
    const auto styles = part(path, u"xl/styles.xml"_s);
    const auto core = part(path, u"docProps/core.xml"_s);
    if (!workbook || !styles || !core) {
        ADD_FAILURE() << "not a readable workbook: " << path.toStdString();
        return std::nullopt;
    }
    const QStringList cellStyles = readStyles(*styles);
    const QStringList strings =
        readSharedStrings(part(path, u"xl/sharedStrings.xml"_s).value_or(""));
    XlsxBook book;
    bool readable = true;
    eachElement(*workbook, [&](QXmlStreamReader& reader) {
        if (reader.name() == u"workbookView")
            book.activeSheet = attribute(reader, "activeTab").toInt();
        if (reader.name() != u"sheet") return;
        // The writer numbers the sheet parts in the order of the sheets.
        const QString name = attribute(reader, "name");
        const auto xml = part(path, u"xl/worksheets/sheet%1.xml"_s.arg(book.sheetNames.size() + 1));
        readable = readable && xml;
        book.sheetNames.push_back(name);
        book.cells[name] = readCells(xml.value_or(""), cellStyles, strings);
    });
    eachElement(*core, [&](QXmlStreamReader& reader) {
        if (reader.name() == u"title" || reader.name() == u"subject" ||
            reader.name() == u"description")
            book.properties.push_back(reader.readElementText());
    });
    if (!readable) {
        ADD_FAILURE() << "a sheet part is missing: " << path.toStdString();
        return std::nullopt;
    }
    return book;
}

}  // namespace lorvane::test
