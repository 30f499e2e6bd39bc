// The NI-488.2 binding against a fake driver: status words, 16-bit results, the registration
// of the status words for the thread, and how a library is chosen.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "card_transport.h"
#include "cls_gpib.h"
#include "fake_platform.h"
#include "ni488_library.h"

namespace lorvane {
namespace {

// The fake driver's state; its functions are plain C-style functions, as a library's are.
struct Driver {
    int result = 0;  // what every call returns
    int sta = 0, err = 0, cnt = 0;
    std::intptr_t cntl = 0;
    int threadSta = 0;                 // what the per-thread functions report, when offered
    std::vector<int> registerResults;  // answers to successive registrations
    int registers = 0;
    int *regSta = nullptr, *regErr = nullptr;
    bool writesRegistered = false;  // a call also sets the registered words
    std::string failOn;             // when set, this call reports ERR and every other one success
    int descriptor = 0;             // what ibdev returns
    std::string log;
};
Driver* driver = nullptr;

int record(const char* name, int ud) {
    driver->log += std::string(name) + " " + std::to_string(ud) + ";";
    if (driver->writesRegistered && driver->regSta) {
        *driver->regSta = 0x100;
        *driver->regErr = 0;
    }
    if (!driver->failOn.empty()) driver->sta = driver->failOn == name ? 0x8000 : 0x100;
    return driver->result;
}
int LORVANE_NI488_CALL config(int ud, int, int) { return record("ibconfig", ud); }
int LORVANE_NI488_CALL dev(int board, int, int, int, int, int) {
    record("ibdev", board);
    return driver->descriptor;
}
int LORVANE_NI488_CALL clr(int ud) { return record("ibclr", ud); }
int LORVANE_NI488_CALL sic(int ud) { return record("ibsic", ud); }
int LORVANE_NI488_CALL wrt(int ud, const void*, std::intptr_t) { return record("ibwrt", ud); }
int LORVANE_NI488_CALL rd(int ud, void*, std::intptr_t) { return record("ibrd", ud); }
int LORVANE_NI488_CALL tmo(int ud, int) { return record("ibtmo", ud); }
int LORVANE_NI488_CALL loc(int ud) { return record("ibloc", ud); }
// Only taking a descriptor offline is expected; bringing one online would show in the log.
int LORVANE_NI488_CALL onl(int ud, int v) { return record(v == 0 ? "ibonl" : "ibonl(online)", ud); }
int LORVANE_NI488_CALL threadSta() { return driver->threadSta; }
int LORVANE_NI488_CALL threadZero() { return 0; }
std::intptr_t LORVANE_NI488_CALL threadCntl() { return 0; }
int LORVANE_NI488_CALL registerWords(int* sta, int* err, int*, std::intptr_t*) {
    driver->log += "register;";
    driver->regSta = sta;
    driver->regErr = err;
    const size_t i = static_cast<size_t>(driver->registers++);
    return i < driver->registerResults.size() ? driver->registerResults[i] : 0;
}
int LORVANE_NI488_CALL unregisterWords() {
    driver->log += "unregister;";
    return 0;
}

Ni488Entries calls() {
    return {.ibconfig = config,
            .ibdev = dev,
            .ibclr = clr,
            .ibsic = sic,
            .ibwrt = wrt,
            .ibrd = rd,
            .ibtmo = tmo,
            .ibloc = loc,
            .ibonl = onl};
}

Ni488Entries withVariables() {
    Ni488Entries e = calls();
    e.ibsta = &driver->sta;
    e.iberr = &driver->err;
    e.ibcnt = &driver->cnt;
    e.ibcntl = &driver->cntl;
    return e;
}

class Ni488Binding : public testing::Test {
  protected:
    Ni488Binding() { driver = &fake; }
    ~Ni488Binding() override { driver = nullptr; }
    Driver fake;
};

TEST_F(Ni488Binding, ResultsAndStatusWordsAreCutTo16BitsAndPerThreadOnesPreferred) {
    Ni488Library gpib(withVariables());
    fake.descriptor = 0x12345;
    fake.sta = 0x18100;  // ERR | CMPL, with a bit above the 16 kept ones
    fake.err = 0x10006;
    fake.cnt = 0x2FFFF;
    fake.cntl = 0x1000000010LL;  // only 32 bits are kept
    EXPECT_EQ(gpib.ibdev(0, 1, 96, 12, 1, 0), 0x2345);
    EXPECT_EQ(gpib.ibsta(), static_cast<int16_t>(0x8100));
    EXPECT_TRUE(gpib.failed());
    EXPECT_EQ(gpib.iberr(), 6);
    EXPECT_EQ(gpib.ibcnt(), -1);
    EXPECT_EQ(gpib.ibcntl(), 0x10);

    fake.result = 0xFFFF;  // a negative 16-bit result
    fake.sta = 0x2100;
    EXPECT_EQ(gpib.ibclr(1), -1);
    EXPECT_FALSE(gpib.failed());

    // Per-thread functions, when offered, are preferred to the variables.
    Ni488Entries e = withVariables();
    e.threadIbsta = threadSta;
    e.threadIberr = e.threadIbcnt = threadZero;
    e.threadIbcntl = threadCntl;
    Ni488Library perThread(e);
    fake.threadSta = 0x100;
    perThread.ibsic(0);
    EXPECT_EQ(perThread.ibsta(), 0x100);
}

TEST_F(Ni488Binding, RegistersTheWordsForTheThreadOnceAndTriesAgainAfterAFailure) {
    // Two calls; the second one finds the registered words set by the driver.
    const struct {
        std::vector<int> results;  // of successive registrations
        const char* log;
        bool firstFailed;
    } cases[] = {
        {{0}, "register;ibclr 3;ibloc 3;", false},
        {{1, 0}, "register;unregister;register;ibclr 3;ibloc 3;", false},
        {{2, 0}, "register;unregister;ibclr 3;register;ibloc 3;", true},
        {{3, 0}, "register;unregister;ibclr 3;register;ibloc 3;", true},
        {{7, 0}, "register;ibclr 3;register;ibloc 3;", true},  // unknown: not undone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        fake = Driver();
        fake.registerResults = c.results;
        Ni488Entries e = calls();
        e.registerGlobals = registerWords;
        e.unregisterGlobals = unregisterWords;
        Ni488Library gpib(e);
        gpib.ibclr(3);
        EXPECT_EQ(gpib.failed(), c.firstFailed);
        EXPECT_EQ(gpib.iberr(), 0);
        fake.writesRegistered = true;
        gpib.ibloc(3);
        EXPECT_EQ(fake.log, c.log);
        EXPECT_EQ(gpib.ibsta(), 0x100);
    }
}

TEST_F(Ni488Binding, CardOpenAndCloseTakeTheDescriptorOfflineWhenTheyGiveItUp) {
    Ni488Library gpib(withVariables());
    fake.descriptor = 7;
    fake.failOn = "ibclr";
    test::FakePlatform platform;
    CardTransport card(platform, [&](QString&) { return &gpib; });
    int16_t hdl = -1;
    EXPECT_FALSE(card.open(0, 17, 96, hdl));
    EXPECT_EQ(fake.log, "ibconfig 0;ibdev 0;ibclr 7;ibonl 7;");
    EXPECT_EQ(hdl, 7);  // kept: a later close still runs its sequence on it
    EXPECT_TRUE(platform.journal.empty());
    fake.failOn = "ibdev";
    EXPECT_FALSE(card.open(0, 17, 96, hdl));
    card.close(hdl);
    EXPECT_EQ(fake.log.substr(fake.log.find(";ibconfig", 1)),
              ";ibconfig 0;ibdev 0;ibonl 7;ibloc 7;ibonl 7;");
    // A read keeps the count the driver reports, within its buffer.
    fake.failOn = "ibrd(none)";
    ClsGPIB link(platform);
    for (const auto& [count, kept] : {std::pair{0, 0}, {3, 3}, {-2, 0}, {20000, 10000}}) {
        fake.cntl = count;
        EXPECT_EQ(card.read(link, 7, 0).size(), kept) << count;
    }
}

// Symbols of a pretend library: the names in the set resolve, others do not.
void* lookupAmong(const std::set<std::string>& names, const char* symbol) {
    static int anything = 0;
    return names.count(symbol) ? &anything : nullptr;
}

const std::set<std::string> kCalls = {"ibconfig", "ibdev", "ibclr", "ibsic", "ibwrt",
                                      "ibrd",     "ibtmo", "ibloc", "ibonl"};

// A pretend system with libraries by name, each offering the given symbols.
struct FakeSystem {
    std::map<std::string, std::set<std::string>> libraries;
    std::string log;

    LibraryLoader loader() {
        return {[this](const char* name) -> void* {
                    log += std::string("open ") + name + ";";
                    const auto it = libraries.find(name);
                    return it == libraries.end() ? nullptr : &it->second;
                },
                [](void* library, const char* symbol) {
                    return lookupAmong(*static_cast<std::set<std::string>*>(library), symbol);
                },
                [this](void*) { log += "close;"; }};
    }
};

// Every library in turn, named in the failure when it lacks a call or a complete source of
// status (all four per-thread functions, or all four variables); drivers are suggested only
// when no library is there at all.
TEST(Ni488Load, TakesTheFirstLibraryWithEveryCallAndOneCompleteSourceOfStatus) {
    const auto with = [](std::set<std::string> extra, std::set<std::string> missing = {}) {
        extra.insert(kCalls.begin(), kCalls.end());
        for (const std::string& name : missing) extra.erase(name);
        return extra;
    };
    const auto kAll = with({"ThreadIbsta", "ThreadIberr", "ThreadIbcnt", "ThreadIbcntl"});
    const std::set<std::string> kVars = {"ibsta", "iberr", "ibcnt", "ibcntl"};
    const struct {
        std::map<std::string, std::set<std::string>> libraries;
        const char* failure;
        const char* log = "";
        bool variables = false;  // the status comes from the variables
    } cases[] = {
        {{},
         "File not found: a.so, b.so, c.so\rInstall something",
         "open a.so;open b.so;open c.so;"},
        {{{"b.so", kAll}, {"c.so", kAll}}, "", "open a.so;open b.so;"},
        {{{"a.so", {"ibdev"}}, {"b.so", kAll}}, "", "open a.so;close;open b.so;"},
        {{{"b.so", {"ibconfig", "ibdev"}}},
         "Entry point not found: ibclr in b.so",
         "open a.so;open b.so;close;open c.so;"},
        {{{"a.so", {"ibdev"}}, {"c.so", kCalls}},
         "Entry point not found: ibconfig in a.so\rEntry point not found: ibsta in c.so",
         "open a.so;close;open b.so;open c.so;close;"},
        {{{"a.so", with(kVars, {"ibrd", "ibonl"})}}, "Entry point not found: ibrd in a.so"},
        {{{"a.so", with({"ThreadIbsta", "ThreadIberr", "ibsta", "iberr", "ibcnt"})}},
         "Entry point not found: ibsta in a.so"},
        {{{"a.so", with({"ThreadIbsta", "ThreadIberr", "ThreadIbcntl", "ibsta", "iberr", "ibcnt",
                         "ibcntl"})}},
         "",
         "open a.so;",
         true},
        {{{"a.so", with({"RegisterGpibGlobalsForThread", "ibsta", "iberr", "ibcnt"})}},
         "Entry point not found: ibsta in a.so"},
        {{{"a.so", with({"ibsta", "ibcnt", "ibcntl"})}}, "Entry point not found: ibsta in a.so"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        FakeSystem system{c.libraries, {}};
        QString failure;
        const auto entries = loadFirstNi488Library({"a.so", "b.so", "c.so"}, system.loader(),
                                                   QStringLiteral("Install something"), failure);
        EXPECT_EQ(failure, QString::fromLatin1(c.failure));
        if (*c.log) {
            EXPECT_EQ(system.log, c.log);
        }
        ASSERT_EQ(entries.has_value(), !*c.failure);
        if (!entries) continue;
        EXPECT_EQ(entries->ibsta != nullptr, c.variables);
        EXPECT_EQ(entries->threadIbsta != nullptr, !c.variables);
        EXPECT_EQ(entries->registerGlobals, nullptr);
    }
}

}  // namespace
}  // namespace lorvane
