#include "crash_journal.h"

#include <QDir>
#include <QList>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kMostJournals = 20;  // windows of one instance that each keep a journal

QByteArray exact(double value) { return QByteArray::number(value, 'g', 17); }

std::optional<double> number(const QByteArray& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

}  // namespace

QByteArray journalSetupLine(const RunStart& start) {
    const PanelSnapshot& p = start.panel;
    QList<QByteArray> fields{"setup", QByteArray::number(static_cast<int>(p.mode)),
                             QByteArray::number(static_cast<int>(p.circuit)),
                             QByteArray::number(static_cast<int>(p.sweep))};
    for (const double value : p.frequency) fields << exact(value);
    for (const double value : p.bias) fields << exact(value);
    return fields.join('\t') + '\n';
}

QByteArray journalPointLine(const MeasuredPoint& point) {
    const Reading& r = point.reading;
    return QList<QByteArray>{"point",
                             exact(point.x),
                             exact(point.dat1),
                             exact(point.dat2),
                             r.inText().toUtf8(),
                             r.dat1Text().toUtf8(),
                             r.dat2Text().toUtf8()}
               .join('\t') +
           '\n';
}

std::optional<JournalContents> readJournal(const QByteArray& text) {
    std::optional<JournalContents> contents;
    const QList<QByteArray> lines = text.split('\n');
    // The last piece has no line feed: whole or cut short, it was not finished.
    for (qsizetype n = 0; n + 1 < lines.size(); ++n) {
        const QList<QByteArray> f = lines[n].split('\t');
        if (f.size() == 10 && f[0] == "setup") {
            std::array<std::optional<double>, 9> v;
            for (size_t i = 0; i < 9; ++i) v[i] = number(f[static_cast<qsizetype>(i) + 1]);
            if (!std::all_of(v.begin(), v.end(), [](auto x) { return x.has_value(); })) break;
            if (*v[0] < 0 || *v[0] > 5 || *v[1] < 0 || *v[1] > 2 || *v[2] < 0 || *v[2] > 1) break;
            JournalContents next = contents.value_or(JournalContents());
            next.panel.mode = static_cast<MeasureMode>(*v[0]);
            next.panel.circuit = static_cast<CircuitMode>(*v[1]);
            next.panel.sweep = static_cast<SweepParam>(*v[2]);
            for (size_t i = 0; i < 3; ++i) {
                next.panel.frequency[i] = *v[3 + i];
                next.panel.bias[i] = *v[6 + i];
            }
            contents = std::move(next);
        } else if (f.size() == 7 && f[0] == "point" && contents) {
            const auto x = number(f[1]), dat1 = number(f[2]), dat2 = number(f[3]);
            if (!x || !dat1 || !dat2) break;
            contents->points.push_back({*x, *dat1, *dat2, QString::fromUtf8(f[4]),
                                        QString::fromUtf8(f[5]), QString::fromUtf8(f[6])});
        } else {
            break;
        }
    }
    return contents;
}

QString journalFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/lorvane"_s;
}

CrashJournal::CrashJournal(const QString& folder, const QString& name) {
    if (!QDir().mkpath(folder)) return;
    for (int n = 1; n <= kMostJournals; ++n) {
        const QString path =
            folder + u'/' + name + (n == 1 ? QString() : u"-%1"_s.arg(n)) + u".journal"_s;
        auto lock = std::make_unique<QLockFile>(path + u".lock"_s);
        // A lock is never stale by age: a window can run for days. One whose owner is gone is.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) continue;
        lock_ = std::move(lock);
        file_.setFileName(path);
        if (file_.open(QIODevice::ReadOnly)) {
            leftBehind_ = readJournal(file_.readAll());
            file_.close();
            if (leftBehind_ && leftBehind_->points.empty()) leftBehind_.reset();
        }
        // Appends, so that what was left stays until a run begins afresh or it is declined.
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) lock_.reset();
        return;
    }
}

// Only a program that ends normally gets here: a crash leaves the journal behind.
CrashJournal::~CrashJournal() { discard(); }

void CrashJournal::clear() {
    if (held()) file_.resize(0);
}

void CrashJournal::begin(const RunStart& start) {
    // A run that clears the list starts the journal afresh; a merged run adds to it.
    if (!start.keepsRows) clear();
    write(journalSetupLine(start));
}

void CrashJournal::record(const MeasuredPoint& point) { write(journalPointLine(point)); }

void CrashJournal::discard() {
    if (!held()) return;
    file_.close();
    file_.remove();
    lock_.reset();
}

void CrashJournal::write(const QByteArray& line) {
    if (!held()) return;
    file_.write(line);
    file_.flush();
}

}  // namespace lorvane
