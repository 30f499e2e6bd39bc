#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The NI-488.2 libraries on Windows use the stdcall convention (it only matters on 32-bit).
#if defined(_WIN32)
#define LORVANE_NI488_CALL __stdcall
#else
#define LORVANE_NI488_CALL
#endif

namespace lorvane {

// The entry points of an NI-488.2-compatible library, resolved at run time. Counts are passed
// pointer-wide: that suits both the `long` and the `size_t` declarations of the libraries.
struct Ni488Entries {
    int(LORVANE_NI488_CALL* ibconfig)(int ud, int option, int value) = nullptr;
    int(LORVANE_NI488_CALL* ibdev)(int board, int pad, int sad, int tmo, int eot,
                                   int eos) = nullptr;
    int(LORVANE_NI488_CALL* ibclr)(int ud) = nullptr;
    int(LORVANE_NI488_CALL* ibsic)(int ud) = nullptr;
    int(LORVANE_NI488_CALL* ibwrt)(int ud, const void* buffer, std::intptr_t count) = nullptr;
    int(LORVANE_NI488_CALL* ibrd)(int ud, void* buffer, std::intptr_t count) = nullptr;
    int(LORVANE_NI488_CALL* ibtmo)(int ud, int code) = nullptr;
    int(LORVANE_NI488_CALL* ibloc)(int ud) = nullptr;
    int(LORVANE_NI488_CALL* ibonl)(int ud, int value) = nullptr;

    // Where the status of the last call comes from, in order of preference: words of ours that
    // the library fills once they are registered for the thread (gpib-32.dll), the library's
    // per-thread functions, or its exported variables.
    int(LORVANE_NI488_CALL* registerGlobals)(int* sta, int* err, int* cnt,
                                             std::intptr_t* cntl) = nullptr;
    int(LORVANE_NI488_CALL* unregisterGlobals)() = nullptr;
    int(LORVANE_NI488_CALL* threadIbsta)() = nullptr;
    int(LORVANE_NI488_CALL* threadIberr)() = nullptr;
    int(LORVANE_NI488_CALL* threadIbcnt)() = nullptr;
    std::intptr_t(LORVANE_NI488_CALL* threadIbcntl)() = nullptr;
    int* ibsta = nullptr;
    int* iberr = nullptr;
    int* ibcnt = nullptr;
    std::intptr_t* ibcntl = nullptr;
};

// Fills entries from a loaded library through lookup (symbol name -> address or nullptr).
// Returns the name of the first entry point the library lacks, or "" when it has them all.
QString resolveNi488Entries(const std::function<void*(const char*)>& lookup, Ni488Entries& entries);

// How a library is found and opened on this operating system.
struct LibraryLoader {
    std::function<void*(const char* name)> open;  // nullptr when not found
    std::function<void*(void* library, const char* symbol)> symbol;
    std::function<void(void* library)> close;
};

// Tries every name in turn and takes the first library that loads and has every entry point;
// that library stays loaded for the rest of the process. Otherwise failure gets the reason, one
// line (ended by CR between lines) per library that loaded but lacks an entry point, "Entry
// point not found: <entry> in <name>"; or, when none loaded at all, "File not found: <every
// name, comma-separated>" and installHint, which says what to install.
std::optional<Ni488Entries> loadFirstNi488Library(const std::vector<const char*>& names,
                                                  const LibraryLoader& loader,
                                                  const QString& installHint, QString& failure);

// Loads this operating system's NI-488.2 library through its normal library search.
// Implemented once per operating system.
std::optional<Ni488Entries> loadNi488Library(QString& failure);

// The binding the card transport talks through: one wrapper per driver call, which returns
// the driver's result as a 16-bit value and afterwards keeps the status words up to date.
class Ni488Library {
  public:
    static constexpr uint16_t kErr = 0x8000;

    explicit Ni488Library(const Ni488Entries& entries) : entries_(entries) {}
    Ni488Library(const Ni488Library&) = delete;
    Ni488Library& operator=(const Ni488Library&) = delete;

    // The process's library, loaded at the first successful call and never unloaded;
    // nullptr with the reason in failure when none can be loaded.
    static Ni488Library* shared(QString& failure);

    int16_t ibconfig(int ud, int option, int value);
    int16_t ibdev(int board, int pad, int sad, int tmo, int eot, int eos);
    int16_t ibclr(int ud);
    int16_t ibsic(int ud);
    int16_t ibwrt(int ud, const QByteArray& text);
    // Reads at most buffer.size() bytes into buffer; ibcntl() tells how many arrived.
    int16_t ibrd(int ud, QByteArray& buffer);
    int16_t ibtmo(int ud, int code);
    int16_t ibloc(int ud);
    int16_t ibonl(int ud, int value);

    int16_t ibsta() const { return ibsta_; }
    int16_t iberr() const { return iberr_; }
    int16_t ibcnt() const { return ibcnt_; }
    int32_t ibcntl() const { return ibcntl_; }
    // Whether the last call reported ERR.
    bool failed() const { return (static_cast<uint16_t>(ibsta_) & kErr) != 0; }

  private:
    template <typename Fn, typename... Args>
    int16_t call(Fn fn, Args... args);
    void registerForThread();
    void refreshStatus();

    Ni488Entries entries_;
    // Filled by the library once registered (only with registerGlobals).
    int driverSta_ = 0;
    int driverErr_ = 0;
    int driverCnt_ = 0;
    std::intptr_t driverCntl_ = 0;
    // The library is only ever called from the user-interface thread, so one flag serves.
    bool registered_ = false;

    int16_t ibsta_ = 0;
    int16_t iberr_ = 0;
    int16_t ibcnt_ = 0;
    int32_t ibcntl_ = 0;
};

}  // namespace lorvane
