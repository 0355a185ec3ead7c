// A combat as a scenario: every answer that the dialogue takes for it, by
// name, in JSON, one line that the scenario reader takes back.
#ifndef ZELVORN_REPORT_SCENARIO_JSON_H_
#define ZELVORN_REPORT_SCENARIO_JSON_H_

#include <nlohmann/json.hpp>

#include <string>

#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// The scenario as one line of JSON (no line feed): the answers to the
// questions that the dialogue asks for this combat, grouped as it asks
// them; a menu's answer is the menu's own words ("tank"), a yes/no answer
// true, false or null for any other answer.
std::string scenarioJson(const CombatScenario& scenario);

// The same as a JSON object, for a caller that takes parts of it.
nlohmann::ordered_json scenarioObject(const CombatScenario& scenario);

// The supporting units of `list` (Field::artillery or Field::airDefense) as
// scenarioObject writes them: those that the combat asks for.
nlohmann::ordered_json supportUnitsObject(const CombatScenario& scenario, Field list);

#endif  // ZELVORN_REPORT_SCENARIO_JSON_H_
