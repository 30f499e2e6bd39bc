// Faults on demand, and the text forms of the simulator's settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using std::chrono::milliseconds;
using test::instantConfig;
using test::kGood;
using test::query;

Instrument withFault(std::string_view fault, SimConfig config = instantConfig()) {
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault), "");
    return Instrument(config);
}

// One letter per reply: g good, s silent (nothing), x garbled, f only the first field.
std::string replyPattern(Instrument& instrument, std::size_t replies) {
    std::string pattern;
    for (std::size_t i = 0; i < replies; ++i) {
        const std::string reply = query(instrument, "EX");
        pattern += reply == kGood                   ? 'g'
                   : reply.empty()                  ? 's'
                   : reply == "?#GARBLED#?\r\n"     ? 'x'
                   : reply == "NZFN+96.841E+00\r\n" ? 'f'
                                                    : '?';
    }
    return pattern;
}

TEST(Faults, RulesPickTheRepliesTheyName) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "gggggg"},
        {"none", "gggggg"},
        {"silent", "ssssss"},
        {"silent:2", "ggssss"},
        {"silent@2", "gsgggg"},
        {"garbled/3", "ggxggx"},
        {"short:4", "ggggff"},
        {"garbled%100", "xxxxxx"},
        {"garbled%0", "gggggg"},
        {"garbled@1,short", "xfffff"},  // the first rule that hits a reply gives its fault
        {"silent@2,garbled/2,none", "gsgxgx"},
        {"drop:9,slow@9", "gggggg"},  // hitting no reply of these six
    };
    for (const auto& [rules, replies] : cases) {
        Instrument instrument = withFault(rules);
        EXPECT_EQ(replyPattern(instrument, 6), replies) << rules;
        EXPECT_EQ(instrument.replies(), 6u) << rules;
    }
    // Readings nobody read are no replies.
    Instrument instrument = withFault("short:1");
    instrument.receive("EX", {});
    EXPECT_EQ(replyPattern(instrument, 2), "gf");
}

TEST(Faults, RandomRulesFollowTheirSeedAndAreCounted) {
    SimConfig config = instantConfig();
    config.faultSeed = 7;
    Instrument first = withFault("silent%20,garbled%20", config);
    Instrument second = withFault("silent%20,garbled%20", config);
    const std::string pattern = replyPattern(first, 200);
    EXPECT_EQ(replyPattern(second, 200), pattern);
    const auto count = [&](char c) { return std::count(pattern.begin(), pattern.end(), c); };
    EXPECT_GT(count('s'), 20);
    EXPECT_LT(count('s'), 60);
    EXPECT_GT(count('x'), 10);  // a reply that silent takes is no longer garbled's
    EXPECT_EQ(first.faultCounts()[static_cast<std::size_t>(FaultKind::Silent)],
              static_cast<std::size_t>(count('s')));
    EXPECT_EQ(first.faultCounts()[static_cast<std::size_t>(FaultKind::Garbled)],
              static_cast<std::size_t>(count('x')));
    config.faultSeed = 8;
    Instrument other = withFault("silent%20,garbled%20", config);
    EXPECT_NE(replyPattern(other, 200), pattern);
}

TEST(Faults, AnEndlessReplyRepeatsItsReadingWithoutLineEnd) {
    const std::string_view withoutEnd = kGood.substr(0, kGood.size() - 2);
    Instrument bounded = withFault("endless=100@1");
    bounded.receive("EX", {});
    std::string reply;  // in pieces of 2 bytes, up to the end (EOI)
    Instrument::Piece piece;
    for (int count = 0; count < 100 && !piece.end; ++count) {
        piece = bounded.read({}, 2);
        reply += piece.text;
    }
    EXPECT_TRUE(piece.end);
    ASSERT_EQ(reply.size(), withoutEnd.size() + 100);
    EXPECT_EQ(reply.substr(0, 2 * withoutEnd.size()),
              std::string(withoutEnd) + std::string(withoutEnd));
    EXPECT_EQ(reply.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(query(bounded, "EX"), kGood);  // the next reply is whole again

    Instrument forever = withFault("endless=0");
    forever.receive("EX", {});
    for (int count = 0; count < 3; ++count) {
        const Instrument::Piece next = forever.read({}, 1'000'000);
        EXPECT_EQ(next.text.size(), 64u * 1024u);
        EXPECT_FALSE(next.end);
    }
}

TEST(Faults, SlowRepliesComeLateDropAndUnplugEndTheConnectionAfterTheirReply) {
    Instrument slow = withFault("slow=300@1");
    const Instrument::TimePoint start{};
    slow.receive("EX", start);
    EXPECT_EQ(slow.read(start, 1000).text, "");
    EXPECT_TRUE(slow.replyLate());
    EXPECT_EQ(slow.read(start + milliseconds(300), 1000).text, kGood);

    Instrument dropping = withFault("drop:2");
    EXPECT_EQ(query(dropping, "EX"), kGood);
    EXPECT_FALSE(dropping.offline());
    EXPECT_EQ(query(dropping, "EX"), kGood);
    EXPECT_EQ(dropping.offlineUntil(), Instrument::TimePoint::max());
    dropping.reconnect();
    dropping.receive("A2EX", {});
    dropping.deviceClear();
    EXPECT_EQ(dropping.read({}, 1000).text, "");
    EXPECT_EQ(dropping.state().displayA, 1);  // nothing reached the instrument

    Instrument unplugged = withFault("unplug=500/2");
    const Instrument::TimePoint at = start + milliseconds(20);
    EXPECT_EQ(query(unplugged, "A2EX").substr(0, 4), "NRFN");
    EXPECT_FALSE(unplugged.offline());
    unplugged.receive("EX", at);
    EXPECT_NE(unplugged.read(at, 1000).text, "");
    EXPECT_EQ(unplugged.offlineUntil(), at + milliseconds(500));
    unplugged.reconnect();
    EXPECT_EQ(query(unplugged, "EX").substr(0, 4), "NRFN");  // the settings are kept
}

TEST(SimSettings, TakesValidTextsAndRefusesBadOnesWithAReason) {
    SimConfig config;
    for (const auto& [key, text] :
         {std::pair(ConfigKey::Address, "17"), std::pair(ConfigKey::Device, "varactor"),
          std::pair(ConfigKey::DelayMs, "0"), std::pair(ConfigKey::NoiseSeed, "1234"),
          std::pair(ConfigKey::FaultSeed, "99"), std::pair(ConfigKey::ReplySize, "12000"),
          std::pair(ConfigKey::Fault, "drop:3,endless@2,slow=250/5,unplug%0.5,garbled")})
        EXPECT_EQ(setConfigValue(config, key, text), "") << text;
    using S = FaultRule::Schedule;
    SimConfig expected;
    expected.address = 17;
    expected.device = DeviceKind::Varactor;
    expected.delayMs = 0;
    expected.noiseSeed = 1234;
    expected.faultSeed = 99;
    expected.replySize = 12000;
    expected.faults = {{FaultKind::Drop, 0, S::From, 3, 0.0},
                       {FaultKind::Endless, 1'000'000, S::Once, 2},
                       {FaultKind::Slow, 250, S::Every, 5},
                       {FaultKind::Unplug, 1'000, S::Random, 0, 0.5},
                       {FaultKind::Garbled, 0, S::From, 0}};
    EXPECT_EQ(config, expected);

    const std::tuple<ConfigKey, const char*, std::string> bad[] = {
        {ConfigKey::Address, "31", "bad address '31': expected a whole number from 0 to 30"},
        {ConfigKey::Device, "resistor",
         "unknown device 'resistor': expected default, rlc, rc, varactor or lowpass"},
        {ConfigKey::DelayMs, "-5", "bad delay '-5': expected whole milliseconds from 0 to 600000"},
        {ConfigKey::NoiseSeed, "x", "bad noise seed 'x': expected a whole number (0: no noise)"},
        {ConfigKey::FaultSeed, "-1", "bad fault seed '-1': expected a whole number"},
        {ConfigKey::ReplySize, "10k",
         "bad reply size '10k': expected a whole number of characters"},
    };
    for (const auto& [key, text, reason] : bad)
        EXPECT_EQ(setConfigValue(config, key, text), reason);
    for (const char* fault : {"loud", "drop:", "silent=5", "slow=x", "slow=600001", "unplug",
                              "unplug:0", "garbled@0", "garbled/0", "garbled%101", "garbled%-1",
                              "garbled%x", "garbled,", ",garbled", "short@1x", "Silent"}) {
        EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault),
                  "bad fault '" + std::string(fault) +
                      "': expected none or rules KIND[=VALUE][:N|@N|/K|%P] separated by commas, "
                      "KIND being silent, garbled, short, endless, slow, drop or unplug");
    }
    EXPECT_EQ(config, expected);
}

}  // namespace
}  // namespace lorvane::sim
