#include "ni488_library.h"

#include <QStringList>
#include <memory>

namespace lorvane {
namespace {

// Results of RegisterGpibGlobalsForThread.
constexpr int kRegistered = 0;
constexpr int kAlreadyRegistered = 1;

template <typename T>
bool resolve(const std::function<void*(const char*)>& lookup, const char* name, T& target) {
    target = reinterpret_cast<T>(lookup(name));
    return target != nullptr;
}

}  // namespace

QString resolveNi488Entries(const std::function<void*(const char*)>& lookup,
                            Ni488Entries& entries) {
    Ni488Entries e;
    QString missing;
    const auto need = [&](const char* name, auto& target) {
        if (!resolve(lookup, name, target) && missing.isEmpty())
            missing = QString::fromLatin1(name);
    };
    need("ibconfig", e.ibconfig);
    need("ibdev", e.ibdev);
    need("ibclr", e.ibclr);
    need("ibsic", e.ibsic);
    need("ibwrt", e.ibwrt);
    need("ibrd", e.ibrd);
    need("ibtmo", e.ibtmo);
    need("ibloc", e.ibloc);
    need("ibonl", e.ibonl);
    if (!missing.isEmpty()) return missing;

    // One complete source of status is enough; an incomplete one is left out.
    const bool registers = resolve(lookup, "RegisterGpibGlobalsForThread", e.registerGlobals);
    const bool unregisters = resolve(lookup, "UnregisterGpibGlobalsForThread", e.unregisterGlobals);
    if (!registers || !unregisters) e.registerGlobals = nullptr;

    bool threadWords = resolve(lookup, "ThreadIbsta", e.threadIbsta);
    threadWords = resolve(lookup, "ThreadIberr", e.threadIberr) && threadWords;
    threadWords = resolve(lookup, "ThreadIbcnt", e.threadIbcnt) && threadWords;
    threadWords = resolve(lookup, "ThreadIbcntl", e.threadIbcntl) && threadWords;
    if (!threadWords) e.threadIbsta = nullptr;

    bool variables = resolve(lookup, "ibsta", e.ibsta);
    variables = resolve(lookup, "iberr", e.iberr) && variables;
    variables = resolve(lookup, "ibcnt", e.ibcnt) && variables;
    variables = resolve(lookup, "ibcntl", e.ibcntl) && variables;
    if (!variables) e.ibsta = nullptr;

    if (!e.registerGlobals && !e.threadIbsta && !e.ibsta) return QStringLiteral("ibsta");
    entries = e;
    return QString();
}

std::optional<Ni488Entries> loadFirstNi488Library(const std::vector<const char*>& names,
                                                  const LibraryLoader& loader,
                                                  const QString& installHint, QString& failure) {
    QStringList lacking;
    for (const char* name : names) {
        void* library = loader.open(name);
        if (!library) continue;
        Ni488Entries entries;
        const QString missing = resolveNi488Entries(
            [&](const char* symbol) { return loader.symbol(library, symbol); }, entries);
        if (missing.isEmpty()) return entries;
        loader.close(library);
        lacking << QStringLiteral("Entry point not found: %1 in %2")
                       .arg(missing, QString::fromLatin1(name));
    }
    if (!lacking.isEmpty()) {
        // Drivers are there, only not usable: installing them again would not help.
        failure = lacking.join(QLatin1Char('\r'));
        return std::nullopt;
    }
    QStringList tried;
    for (const char* name : names) tried << QString::fromLatin1(name);
    failure =
        QStringLiteral("File not found: %1\r%2").arg(tried.join(QStringLiteral(", ")), installHint);
    return std::nullopt;
}

Ni488Library* Ni488Library::shared(QString& failure) {
    static std::unique_ptr<Ni488Library> library;
    if (!library) {
        if (const std::optional<Ni488Entries> entries = loadNi488Library(failure)) {
            library = std::make_unique<Ni488Library>(*entries);
        }
    }
    return library.get();
}

void Ni488Library::registerForThread() {
    int result = entries_.registerGlobals(&driverSta_, &driverErr_, &driverCnt_, &driverCntl_);
    if (result == kAlreadyRegistered) {
        entries_.unregisterGlobals();
        entries_.registerGlobals(&driverSta_, &driverErr_, &driverCnt_, &driverCntl_);
        result = kRegistered;
    }
    if (result == kRegistered) {
        registered_ = true;
        return;
    }
    // 2 and 3 mean the registration failed half-way: undo it. The words are not the
    // library's, so the call that follows reports ERR through them; the next call tries again.
    if (result == 2 || result == 3) entries_.unregisterGlobals();
    driverSta_ = kErr;
    driverErr_ = 0;
}

void Ni488Library::refreshStatus() {
    struct Words {
        int sta, err, cnt;
        std::intptr_t cntl;
    };
    const Words words = [this]() -> Words {
        if (entries_.registerGlobals) return {driverSta_, driverErr_, driverCnt_, driverCntl_};
        if (entries_.threadIbsta) {
            return {entries_.threadIbsta(), entries_.threadIberr(), entries_.threadIbcnt(),
                    entries_.threadIbcntl()};
        }
        return {*entries_.ibsta, *entries_.iberr, *entries_.ibcnt, *entries_.ibcntl};
    }();
    // The status words are 16-bit (ERR is the sign bit); the long count keeps 32 bits.
    ibsta_ = static_cast<int16_t>(words.sta);
    iberr_ = static_cast<int16_t>(words.err);
    ibcnt_ = static_cast<int16_t>(words.cnt);
    ibcntl_ = static_cast<int32_t>(words.cntl);
}

template <typename Fn, typename... Args>
int16_t Ni488Library::call(Fn fn, Args... args) {
    if (entries_.registerGlobals && !registered_) registerForThread();
    const int result = fn(args...);
    refreshStatus();
    return static_cast<int16_t>(result);
}

int16_t Ni488Library::ibconfig(int ud, int option, int value) {
    return call(entries_.ibconfig, ud, option, value);
}

int16_t Ni488Library::ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    return call(entries_.ibdev, board, pad, sad, tmo, eot, eos);
}

int16_t Ni488Library::ibclr(int ud) { return call(entries_.ibclr, ud); }

int16_t Ni488Library::ibsic(int ud) { return call(entries_.ibsic, ud); }

int16_t Ni488Library::ibwrt(int ud, const QByteArray& text) {
    return call(entries_.ibwrt, ud, static_cast<const void*>(text.constData()),
                static_cast<std::intptr_t>(text.size()));
}

int16_t Ni488Library::ibrd(int ud, QByteArray& buffer) {
    return call(entries_.ibrd, ud, static_cast<void*>(buffer.data()),
                static_cast<std::intptr_t>(buffer.size()));
}

int16_t Ni488Library::ibtmo(int ud, int code) { return call(entries_.ibtmo, ud, code); }

int16_t Ni488Library::ibloc(int ud) { return call(entries_.ibloc, ud); }

int16_t Ni488Library::ibonl(int ud, int value) { return call(entries_.ibonl, ud, value); }

}  // namespace lorvane
