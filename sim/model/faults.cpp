#include "faults.h"

#include <charconv>
#include <utility>

namespace lorvane::sim {

namespace {

struct KindInfo {
    std::string_view name;
    FaultKind kind;
    std::size_t defaultValue;  // 0 when the kind takes no value
    std::size_t maxValue;
};

// endless: a megabyte unless told otherwise; slow: late past a 3 s read timeout; unplug: one
// second out.
constexpr KindInfo kKinds[] = {
    {"silent", FaultKind::Silent, 0, 0},
    {"garbled", FaultKind::Garbled, 0, 0},
    {"short", FaultKind::Short, 0, 0},
    {"endless", FaultKind::Endless, 1'000'000, 1'000'000'000'000},
    {"slow", FaultKind::Slow, 4'000, 600'000},
    {"drop", FaultKind::Drop, 0, 0},
    {"unplug", FaultKind::Unplug, 1'000, 600'000},
};

template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<FaultRule> parseRule(std::string_view text) {
    const std::size_t nameEnd = std::min(text.find_first_of("=:@/%"), text.size());
    const KindInfo* info = nullptr;
    for (const KindInfo& candidate : kKinds) {
        if (candidate.name == text.substr(0, nameEnd)) info = &candidate;
    }
    if (info == nullptr) return std::nullopt;
    FaultRule rule{info->kind, info->defaultValue};
    text.remove_prefix(nameEnd);
    if (!text.empty() && text.front() == '=') {
        const std::size_t valueEnd = std::min(text.find_first_of(":@/%"), text.size());
        const auto value = parseNumber<std::size_t>(text.substr(1, valueEnd - 1));
        if (info->maxValue == 0 || !value || *value > info->maxValue) return std::nullopt;
        rule.value = *value;
        text.remove_prefix(valueEnd);
    }
    if (text.empty()) return rule.kind == FaultKind::Unplug ? std::nullopt : std::optional(rule);
    const char mark = text.front();
    text.remove_prefix(1);
    if (mark == '%') {
        const auto percent = parseNumber<double>(text);
        if (!percent || !(*percent >= 0.0 && *percent <= 100.0)) return std::nullopt;
        rule.schedule = FaultRule::Schedule::Random;
        rule.percent = *percent;
        return rule;
    }
    const auto number = parseNumber<std::size_t>(text);
    if (!number || *number > 1'000'000'000) return std::nullopt;
    rule.number = *number;
    if (mark == ':') {
        // Unplugging before any reply would need a clock that the instrument does not have yet.
        if (rule.number == 0 && rule.kind == FaultKind::Unplug) return std::nullopt;
        return rule;
    }
    rule.schedule = mark == '@' ? FaultRule::Schedule::Once : FaultRule::Schedule::Every;
    if (rule.number == 0) return std::nullopt;
    return rule;
}

}  // namespace

const char* const kFaultSyntax =
    "expected none or rules KIND[=VALUE][:N|@N|/K|%P] separated by commas, KIND being silent, "
    "garbled, short, endless, slow, drop or unplug";

std::string_view faultName(FaultKind kind) {
    for (const KindInfo& info : kKinds) {
        if (info.kind == kind) return info.name;
    }
    return "?";
}

std::optional<std::vector<FaultRule>> parseFaultRules(std::string_view text) {
    std::vector<FaultRule> rules;
    if (text.empty()) return rules;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (item != "none") {
            const std::optional<FaultRule> rule = parseRule(item);
            if (!rule) return std::nullopt;
            rules.push_back(*rule);
        }
        if (comma == std::string_view::npos) return rules;
        text.remove_prefix(comma + 1);
    }
}

FaultPlan::FaultPlan(std::vector<FaultRule> rules, unsigned seed)
    : rules_(std::move(rules)), engine_(seed) {
    if (droppedFromStart()) ++counts_[static_cast<std::size_t>(FaultKind::Drop)];
}

const FaultRule* FaultPlan::forReply(std::size_t reply) {
    const FaultRule* hit = nullptr;
    for (const FaultRule& rule : rules_) {
        bool hits = false;
        switch (rule.schedule) {
            case FaultRule::Schedule::From:
                hits = endsConnection(rule.kind) ? reply == rule.number : reply > rule.number;
                break;
            case FaultRule::Schedule::Once:
                hits = reply == rule.number;
                break;
            case FaultRule::Schedule::Every:
                hits = reply % rule.number == 0;
                break;
            case FaultRule::Schedule::Random:
                // Drawn for every reply, hit or not, so that each rule's draws depend on the
                // seed and the reply number alone.
                hits = std::uniform_real_distribution<double>(0.0, 100.0)(engine_) < rule.percent;
                break;
        }
        if (hits && hit == nullptr) hit = &rule;
    }
    if (hit != nullptr) ++counts_[static_cast<std::size_t>(hit->kind)];
    return hit;
}

bool FaultPlan::droppedFromStart() const {
    for (const FaultRule& rule : rules_) {
        if (rule.kind == FaultKind::Drop && rule.schedule == FaultRule::Schedule::From &&
            rule.number == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace lorvane::sim
