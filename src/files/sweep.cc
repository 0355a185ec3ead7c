#include "files/sweep.h"

#include <algorithm>
#include <charconv>

#include "combat/questions.h"

namespace {

constexpr std::string_view kExample = "attacker.strength=1..20";

// The airplane's air defense is left aside: it follows from the supporting
// units that fire, and a sweep keeps every unit.
AskedSet askedSet(const CombatScenario& s) {
  AskedSet asked;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const auto field = static_cast<Field>(i);
    if (field != Field::airplaneAirDefense) asked[i] = asks(field, s);
  }
  return asked;
}

// Puts `value` in the plan's working scenario, and says whether the
// scenario as checked, with the value put in, is then the scenario of that
// value: the value leaves the same questions asked as the scenario itself,
// and the scenario lost no supporting unit to a damage cap.
bool keepsQuestions(SweepPlan* plan, std::int64_t value) {
  *wholeValueAt(&plan->work, plan->path) = value;
  settleUnitClasses(&plan->work);  // the classes decide every later question
  return plan->unitsKept && askedSet(plan->work) == plan->baseAsked;
}

bool wholeNumber(std::string_view digits, std::int64_t* value) {
  const auto result =
      std::from_chars(digits.data(), digits.data() + digits.size(), *value);
  return !digits.empty() && result.ec == std::errc() &&
         result.ptr == digits.data() + digits.size();
}

Problems requestProblem(std::string field, std::string message) {
  return {{{std::move(field), std::move(message), {}}}, 0};
}

std::string rangeOf(const FieldPath& path) {
  return std::to_string(path.minimum) + " to " + std::to_string(path.maximum);
}

// Why the unit or the entry of bars that `path` names is not in the
// scenario.
std::string missingEntry(const CombatScenario& s, const FieldPath& path) {
  if (path.unit) {
    const std::size_t units = path.field == Field::artillery
                                  ? s.artillery.size()
                                  : s.airDefense.size();
    if (*path.unit >= units) {
      return "no such supporting unit in the scenario (allowed: " +
             std::to_string(units) + " of them, from 0)";
    }
  }
  return "no such Combat Support unit in the scenario";
}

// Why a sweep of `path` is refused for the scenario `base` (as checked):
// its unit or bar is not there, or the combat does not ask it; nothing
// when it is swept.
std::optional<std::string> notSwept(CombatScenario* base, const FieldPath& path) {
  if (wholeValueAt(base, path) == nullptr) return missingEntry(*base, path);
  if (!path.unit && !asks(path.field, *base)) {
    return "not asked for this combat, so it changes nothing (allowed: the "
           "fields that the combat asks)";
  }
  return std::nullopt;
}

// The names of the whole numbers of a field of `record` named `name`: the
// name itself, or each entry of its bars.
template <typename Record>
void addWholeNames(const FieldInfo<Record>& info, const Record& record,
                   const std::string& name, std::vector<std::string>* names) {
  if (info.kind == FieldKind::whole) names->push_back(name);
  if (info.kind != FieldKind::bars) return;
  for (std::size_t i = 0; i < (record.*info.bars).size(); ++i) {
    names->push_back(name + "." + std::to_string(i));
  }
}

template <typename Unit, typename Fields>
void addUnitNames(const std::vector<Unit>& units, const Fields& fields,
                  const std::string& list, std::vector<std::string>* names) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    for (const auto& info : fields) {
      addWholeNames(info, units[i], list + "." + std::to_string(i) + "." + info.name,
                    names);
    }
  }
}

}  // namespace

std::vector<std::string> sweptFields(const CombatScenario& checked) {
  std::vector<std::string> names;
  for (const ScenarioField& info : scenarioFields()) {
    addWholeNames(info, checked, dottedName(info), &names);
  }
  addUnitNames(checked.artillery, artilleryFields(), "artillery", &names);
  addUnitNames(checked.airDefense, airDefenseFields(), "airDefense", &names);
  CombatScenario base = checked;
  std::erase_if(names, [&base](const std::string& name) {
    const std::optional<FieldPath> path = resolveFieldPath(name);
    return !path || notSwept(&base, *path);
  });
  return names;
}

std::pair<std::int64_t, std::int64_t> sweepRange(std::int64_t minimum, std::int64_t maximum,
                                                 std::int64_t current) {
  // A chart of a few hundred points is still read point by point; more
  // would only be drawn over each other.
  constexpr std::int64_t kMostValues = 200;
  constexpr std::int64_t kFewestPast = 20;
  current = std::clamp(current, minimum, maximum);
  const auto upTo = [maximum](std::int64_t from, std::int64_t past) {
    return maximum - from < past ? maximum : from + past;
  };
  std::int64_t from = minimum;
  std::int64_t to = std::max(upTo(current, current), upTo(minimum, kFewestPast));
  if (to - from >= kMostValues) {
    from = std::max(minimum, current - kMostValues / 2);
    to = upTo(from, kMostValues - 1);
    from = std::max(minimum, to - (kMostValues - 1));
  }
  return {from, to};
}

OrProblems<SweepRequest> parseSweepRequest(std::string_view text) {
  const std::size_t equals = text.find('=');
  const std::size_t dots =
      text.find("..", equals == std::string_view::npos ? 0 : equals);
  if (equals == std::string_view::npos || equals == 0 ||
      dots == std::string_view::npos) {
    return requestProblem("", "expected FIELD=FROM..TO, such as " +
                         std::string(kExample));
  }
  SweepRequest request;
  request.field = std::string(text.substr(0, equals));
  if (!wholeNumber(text.substr(equals + 1, dots - equals - 1), &request.from) ||
      !wholeNumber(text.substr(dots + 2), &request.to)) {
    return requestProblem("", "FROM and TO must be whole numbers, as in " +
                         std::string(kExample));
  }
  if (Problems problems = checkSweepRequest(request); !problems.told.empty()) {
    return problems;
  }
  return request;
}

Problems checkSweepRequest(const SweepRequest& request) {
  const std::optional<FieldPath> path = resolveFieldPath(request.field);
  if (!path || path->kind != FieldKind::whole) {
    const std::string closest = closestWholeField(request.field);
    return requestProblem(
        request.field,
        std::string(path ? "not a whole-number field" : "unknown field") +
        (closest.empty() ? " (allowed: a whole-number field such as "
                           "attacker.strength, artillery.0.experience or "
                           "attacker.combatSupport.0)"
                         : " (did you mean " + closest + "?)"));
  }
  if (request.from > request.to) {
    return requestProblem(request.field,
                          "FROM is above TO (allowed: FROM..TO with FROM at "
                          "most TO)");
  }
  if (request.from < path->minimum || request.to > path->maximum) {
    return requestProblem(request.field,
                          std::to_string(request.from) + ".." +
                              std::to_string(request.to) +
                              " leaves the range (allowed: " + rangeOf(*path) +
                              ")");
  }
  if (request.to - request.from >= kMostSweepValues) {
    return requestProblem(
        request.field, std::to_string(request.to - request.from + 1) +
                           " values are too many (allowed: at most " +
                           std::to_string(kMostSweepValues) + ")");
  }
  return {};
}

OrProblems<SweepPlan> planSweep(const ScenarioText& text,
                                const SweepRequest& request) {
  SweepPlan plan;
  plan.request = request;
  const std::optional<FieldPath> path = resolveFieldPath(request.field);
  if (!path || path->kind != FieldKind::whole) {
    return requestProblem(request.field, "unknown field");
  }
  plan.path = *path;
  const CheckedScenario base =
      checkScenario(text.scenario, text.given, text.places);
  plan.base = base.scenario;
  if (std::optional<std::string> refused = notSwept(&plan.base, plan.path)) {
    return requestProblem(request.field, std::move(*refused));
  }
  plan.given = text.scenario;
  // A field given for a unit or a list of bars is among the given fields
  // already; a field of the combat is given now.
  plan.givenFields = text.given;
  plan.givenFields[static_cast<std::size_t>(path->field)] = true;
  plan.unitsKept = plan.base.artillery.size() == text.scenario.artillery.size() &&
                   plan.base.airDefense.size() == text.scenario.airDefense.size();
  plan.baseAsked = askedSet(plan.base);
  plan.work = plan.base;
  // A value that leaves the same questions asked as the scenario itself
  // leaves it as valid as the scenario; only a value that asks other
  // questions is checked whole, by the questions' own conditions.
  Problems problems;
  for (std::int64_t value = request.from; value <= request.to; ++value) {
    if (keepsQuestions(&plan, value)) continue;
    CombatScenario s = plan.given;
    *wholeValueAt(&s, plan.path) = value;
    for (const Problem& error : checkScenario(s, plan.givenFields).errors.told) {
      addProblem(&problems, {request.field + "=" + std::to_string(value),
                             problemText(error), {}});
    }
  }
  if (!problems.told.empty()) return problems;
  // The number of times attacked is the softening recomputation: the
  // combat is prepared once and each value is one more pass.
  if (!path->unit && path->field == Field::timesAttacked) {
    plan.prepared = prepareCombat(plan.base);
  }
  return plan;
}

SweepRow sweepRow(SweepPlan* plan, std::int64_t value) {
  SweepRow row;
  row.value = value;
  if (plan->prepared) {
    row.predicted.supportFire = plan->prepared->supportFire;
    row.predicted.prediction =
        predictSoftening(plan->base, *plan->prepared, value);
    return row;
  }
  // Where a value leaves the same questions asked as the scenario itself
  // (and the scenario lost no supporting unit to a damage cap), the scenario
  // as checked, with the value put in, is the scenario of that value: no
  // new check is needed.
  if (keepsQuestions(plan, value)) {
    row.predicted = predictCombat(plan->work);
    return row;
  }
  CombatScenario s = plan->given;
  *wholeValueAt(&s, plan->path) = value;
  row.predicted = predictCombat(checkScenario(s, plan->givenFields).scenario);
  return row;
}
