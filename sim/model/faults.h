// Faults that the simulated instrument injects into its replies on demand, chosen per reply by
// a list of rules such as "silent@5,garbled%1,unplug=500/1000".
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::sim {

enum class FaultKind { Silent, Garbled, Short, Endless, Slow, Drop, Unplug };
inline constexpr std::size_t kFaultKinds = 7;

std::string_view faultName(FaultKind kind);

// drop and unplug end the connection after their reply went out; the others change the reply.
inline bool endsConnection(FaultKind kind) {
    return kind == FaultKind::Drop || kind == FaultKind::Unplug;
}

struct FaultRule {
    // Which replies (numbered from 1) the rule hits:
    //   From N   ":N" (or nothing, N = 0): every reply after the first N; drop and unplug hit
    //            reply N only (drop with N = 0: the connection is gone from the start);
    //   Once N   "@N": reply N;
    //   Every K  "/K": replies K, 2K, 3K...;
    //   Random   "%P": each reply with P percent probability, drawn from the fault seed.
    enum class Schedule { From, Once, Every, Random };

    FaultKind kind = FaultKind::Silent;
    // endless: bytes after the reading before it ends (0: never); slow: ms late; unplug: ms
    // until the connection comes back. Unused by the other kinds.
    std::size_t value = 0;
    Schedule schedule = Schedule::From;
    std::size_t number = 0;  // N or K
    double percent = 0.0;    // P
    bool operator==(const FaultRule&) const = default;
};

// Reads "RULE[,RULE...]", each RULE being KIND[=VALUE][:N|@N|/K|%P]; "none" or "" gives no
// rules. Returns nullopt for a text that is not of that form.
std::optional<std::vector<FaultRule>> parseFaultRules(std::string_view text);

extern const char* const kFaultSyntax;

// Picks the fault of each reply from the rules, first matching rule first, and counts them.
class FaultPlan {
  public:
    FaultPlan(std::vector<FaultRule> rules, unsigned seed);

    // The rule that hits reply `reply`; call once per reply, in order.
    const FaultRule* forReply(std::size_t reply);
    // The connection is gone from the start (drop without a reply number).
    bool droppedFromStart() const;

    const std::array<std::size_t, kFaultKinds>& counts() const { return counts_; }

  private:
    std::vector<FaultRule> rules_;
    std::mt19937 engine_;
    std::array<std::size_t, kFaultKinds> counts_{};
};

}  // namespace lorvane::sim
