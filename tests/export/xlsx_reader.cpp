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

// The formats a cell's style index stands for.
struct Style {
    bool bold = false;
    QString alignment;
    QString numberFormat = u"General"_s;
};

QString builtInFormat(int id) {
    static const QHash<int, QString> kFormats{
        {0, u"General"_s}, {1, u"0"_s}, {2, u"0.00"_s}, {3, u"#,##0"_s}, {4, u"#,##0.00"_s}};
    return kFormats.value(id, u"builtin:%1"_s.arg(id));
}

std::vector<Style> readStyles(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    QHash<int, QString> formats;
    std::vector<bool> boldFonts;
    std::vector<Style> styles;
    bool inFont = false;
    bool inCellXfs = false;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto name = reader.name();
        if (reader.isEndElement()) {
            if (name == u"font") inFont = false;
            if (name == u"cellXfs") inCellXfs = false;
            continue;
        }
        if (!reader.isStartElement()) continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (name == u"numFmt") {
            formats.insert(attributes.value("numFmtId"_L1).toInt(),
                           attributes.value("formatCode"_L1).toString());
        } else if (name == u"font") {
            inFont = true;
            boldFonts.push_back(false);
        } else if (name == u"b" && inFont) {
            boldFonts.back() = true;
        } else if (name == u"cellXfs") {
            inCellXfs = true;
        } else if (name == u"xf" && inCellXfs) {
            Style style;
            const int format = attributes.value("numFmtId"_L1).toInt();
            style.numberFormat = formats.value(format, builtInFormat(format));
            const auto font = static_cast<size_t>(attributes.value("fontId"_L1).toInt());
            style.bold = font < boldFonts.size() && boldFonts[font];
            styles.push_back(style);
        } else if (name == u"alignment" && inCellXfs && !styles.empty()) {
            styles.back().alignment = attributes.value("horizontal"_L1).toString();
        }
    }
    return styles;
}

QStringList readSharedStrings(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    QStringList strings;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"si") strings.push_back(QString());
        if (reader.isStartElement() && reader.name() == u"t" && !strings.isEmpty())
            strings.back() += reader.readElementText();
    }
    return strings;
}

void readCells(const QByteArray& xml, const std::vector<Style>& styles, const QStringList& strings,
               XlsxSheet& sheet) {
    QXmlStreamReader reader(xml);
    QString reference;
    XlsxCell cell;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"c") {
            const QXmlStreamAttributes attributes = reader.attributes();
            reference = attributes.value("r"_L1).toString();
            type = attributes.value("t"_L1).toString();
            cell = XlsxCell();
            const auto style = static_cast<size_t>(attributes.value("s"_L1).toInt());
            if (style < styles.size()) {
                cell.bold = styles[style].bold;
                cell.alignment = styles[style].alignment;
                cell.numberFormat = styles[style].numberFormat;
            } else {
                cell.numberFormat = u"General"_s;
            }
        } else if (reader.isStartElement() && reader.name() == u"v") {
            const QString value = reader.readElementText();
            if (type == u"s") {
                cell.text = strings.value(value.toInt());
            } else if (type == u"str") {
                cell.text = value;
            } else {
                // A number as spreadsheet programs read it: a plain number with a point. A
                // text such as "-0,5" is no number (and reads as 0 in them).
                cell.text = value;
                cell.number = value.toDouble(&cell.isNumber);
            }
        } else if (reader.isStartElement() && reader.name() == u"t" && type == u"inlineStr") {
            cell.text = reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == u"c") {
            sheet.cells.insert(reference, cell);
            sheet.references.push_back(reference);
        }
    }
}

// Text of every element with one of these local names.
QHash<QString, QString> elementTexts(const QByteArray& xml, const QStringList& names) {
    QXmlStreamReader reader(xml);
    QHash<QString, QString> texts;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && names.contains(reader.name().toString()))
            texts.insert(reader.name().toString(), reader.readElementText());
    }
    return texts;
}

}  // namespace

QStringList XlsxBook::sheetNames() const {
    QStringList names;
    for (const XlsxSheet& sheet : sheets) names.push_back(sheet.name);
    return names;
}

const XlsxSheet* XlsxBook::sheet(const QString& name) const {
    for (const XlsxSheet& candidate : sheets)
        if (candidate.name == name) return &candidate;
    return nullptr;
}

std::optional<XlsxBook> readXlsx(const QString& path) {
    const auto workbook = part(path, u"xl/workbook.xml"_s);
    const auto relations = part(path, u"xl/_rels/workbook.xml.rels"_s);
    const auto styles = part(path, u"xl/styles.xml"_s);
    const auto core = part(path, u"docProps/core.xml"_s);
    if (!workbook || !relations || !styles || !core) {
        ADD_FAILURE() << "not a readable workbook: " << path.toStdString();
        return std::nullopt;
    }
    const std::vector<Style> cellStyles = readStyles(*styles);
    const QStringList strings =
        readSharedStrings(part(path, u"xl/sharedStrings.xml"_s).value_or(""));

    QHash<QString, QString> targets;
    QXmlStreamReader relationReader(*relations);
    while (!relationReader.atEnd()) {
        relationReader.readNext();
        if (relationReader.isStartElement() && relationReader.name() == u"Relationship")
            targets.insert(relationReader.attributes().value("Id"_L1).toString(),
                           relationReader.attributes().value("Target"_L1).toString());
    }

    XlsxBook book;
    QXmlStreamReader reader(*workbook);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"workbookView") {
            book.activeSheet = attributes.value("activeTab"_L1).toInt();
        } else if (reader.name() == u"sheet") {
            XlsxSheet sheet;
            sheet.name = attributes.value("name"_L1).toString();
            const QString target = targets.value(attributes.value("r:id"_L1).toString());
            const auto xml = part(path, u"xl/"_s + target);
            if (!xml) {
                ADD_FAILURE() << "missing sheet part " << target.toStdString();
                return std::nullopt;
            }
            readCells(*xml, cellStyles, strings, sheet);
            book.sheets.push_back(sheet);
        }
    }
    const QHash<QString, QString> properties =
        elementTexts(*core, {u"title"_s, u"subject"_s, u"description"_s});
    book.title = properties.value(u"title"_s);
    book.subject = properties.value(u"subject"_s);
    book.comments = properties.value(u"description"_s);
    return book;
}

}  // namespace lorvane::test
