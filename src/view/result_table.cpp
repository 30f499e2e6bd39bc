#include "result_table.h"

#include <QLocale>
#include <algorithm>
#include <charconv>

#include "number_format.h"

namespace lorvane {
namespace {

// Reads cell texts as numbers in the user's locale. The texts the run writes are plain
// decimals ("-123,456" in a decimal-comma locale); those are read directly, which gives the
// same double as the locale's own reading at a fraction of its cost (the plot reads every
// row). Any other text goes through parseLocaleNumber.
class CellReader {
  public:
    CellReader() {
        const QString point = QLocale().decimalPoint();
        decimalPoint_ = point.size() == 1 ? point[0] : QChar();
    }

    std::optional<double> operator()(const QString& text) const {
        if (const std::optional<double> plain = readPlain(text)) return plain;
        return parseLocaleNumber(text);
    }

  private:
    // An optional "-", digits, optionally the decimal point and more digits; nullopt for
    // anything else.
    std::optional<double> readPlain(const QString& text) const {
        char ascii[64];
        const qsizetype n = text.size();
        if (n == 0 || n >= qsizetype(sizeof ascii) || decimalPoint_.isNull()) return std::nullopt;
        qsizetype i = 0;
        if (text[0] == u'-') ascii[i++] = '-';
        bool point = false;
        bool digitsBefore = false;
        bool digitsAfter = false;
        for (; i < n; ++i) {
            const QChar c = text[i];
            if (c >= u'0' && c <= u'9') {
                ascii[i] = static_cast<char>(c.unicode());
                (point ? digitsAfter : digitsBefore) = true;
            } else if (c == decimalPoint_ && !point) {
                ascii[i] = '.';
                point = true;
            } else {
                return std::nullopt;
            }
        }
        if (!digitsBefore || (point && !digitsAfter)) return std::nullopt;
        double value = 0;
        const auto [end, error] = std::from_chars(ascii, ascii + n, value);
        if (error != std::errc() || end != ascii + n) return std::nullopt;
        return value;
    }

    QChar decimalPoint_;
};

// The point of a row on the plot: (sweep value, the reading of column 3 or 4).
std::optional<QPointF> pointOf(const ResultCells& row, const CellReader& read, int column = 3) {
    const std::optional<double> x = read(row.text[1]);
    const std::optional<double> y = read(row.text[static_cast<size_t>(column - 1)]);
    if (!x || !y) return std::nullopt;
    return QPointF(*x, *y);
}

// Keys compare as plain UTF-16 texts: a blank (the sign of a negative key) before the digits.
bool keyBefore(const ResultCells& row, const QString& key) { return row.text[0] < key; }
bool keyAfter(const QString& key, const ResultCells& row) { return key < row.text[0]; }

}  // namespace

ResultTable::ResultTable(QObject* parent)
    // Until a selection names them, the columns carry their designed headings; column 1 (the
    // sort key) keeps its heading for good.
    : QAbstractTableModel(parent),
      headings_{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z1"),
                QStringLiteral("Z2")} {}

void ResultTable::setHeading(int column, const QString& text) {
    if (column < 1 || column > kColumns) return;
    headings_[static_cast<size_t>(column - 1)] = text;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
}

QString ResultTable::heading(int column) const {
    if (column < 1 || column > kColumns) return QString();
    return headings_[static_cast<size_t>(column - 1)];
}

int ResultTable::addRow(const ResultRow& row) {
    removeRowWithSweepText(row.x);
    const auto at = std::upper_bound(rows_.cbegin(), rows_.cend(), row.key, keyAfter);
    const int position = static_cast<int>(at - rows_.cbegin());
    beginInsertRows(QModelIndex(), position, position);
    rows_.insert(position, ResultCells{{row.key, row.x, row.dat1, row.dat2}});
    keyOf_.insert(row.x, row.key);
    endInsertRows();
    return position;
}

bool ResultTable::removeRowWithSweepText(const QString& sweepText) {
    const int position = findRow(sweepText);
    if (position < 0) return false;
    beginRemoveRows(QModelIndex(), position, position);
    rows_.removeAt(position);
    keyOf_.remove(sweepText);
    endRemoveRows();
    return true;
}

int ResultTable::findRow(const QString& sweepText) const {
    const auto key = keyOf_.constFind(sweepText);
    return key == keyOf_.cend() ? -1 : indexOf(*key, sweepText);
}

int ResultTable::indexOf(const QString& key, const QString& sweepText) const {
    // Rows with equal keys are rare (only texts that do not come from one sweep value share
    // a key), so the scan over them stays short.
    auto at = std::lower_bound(rows_.cbegin(), rows_.cend(), key, keyBefore);
    for (; at != rows_.cend() && at->text[0] == key; ++at)
        if (at->text[1] == sweepText) return static_cast<int>(at - rows_.cbegin());
    return -1;
}

QString ResultTable::cell(int row, int column) const {
    if (row < 0 || row >= rows() || column < 1 || column > kColumns) return QString();
    return rows_[row].text[static_cast<size_t>(column - 1)];
}

ResultRow ResultTable::row(int row) const {
    return {cell(row, 1), cell(row, 2), cell(row, 3), cell(row, 4)};
}

std::optional<QPointF> ResultTable::point(int row) const {
    if (row < 0 || row >= rows()) return std::nullopt;
    return pointOf(rows_[row], CellReader());
}

std::vector<QPointF> ResultTable::leadingPoints(int readingColumn) const {
    if (readingColumn < 3 || readingColumn > kColumns) return {};
    const CellReader read;
    std::vector<QPointF> points;
    points.reserve(static_cast<size_t>(rows_.size()));
    for (const ResultCells& row : rows_) {
        const std::optional<QPointF> point = pointOf(row, read, readingColumn);
        if (!point) break;
        points.push_back(*point);
    }
    return points;
}

void ResultTable::clear() {
    if (rows_.isEmpty()) return;
    beginResetModel();
    rows_.clear();
    keyOf_.clear();
    endResetModel();
}

int ResultTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }

int ResultTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ResultTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    return cell(index.row(), index.column() + 1);
}

QVariant ResultTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return heading(section + 1);
}

}  // namespace lorvane
