#include "dialogue/questionnaires.h"

void askTerrainFactors(CombatScenario& s, Console& console) {
  using namespace unit_class;
  const auto involves = [&s](std::int64_t unitClass) {
    return s.attackerClass == unitClass || s.defenderClass == unitClass;
  };
  // Terrain only limits initiative at close range between ground units, and
  // only when some initiative above 1 is at stake.
  if (isYes(s.attackerInRiver) || isYes(s.defenderInRiver) ||
      s.attackerClass == kArtillery || s.attackerClass == kAirDefense ||
      s.combatRange > 1 || involves(kNaval) ||
      (s.attackerInitiative <= 1 && s.defenderInitiative <= 1) ||
      involves(kFighter) || involves(kBomber)) {
    return;
  }

  console.out << "\n\nTerrain Factors:\n\n";

  // The chain runs from the least to the most restrictive terrain; the first
  // yes sets the code, and an answer that is neither yes nor no ends it.
  if (isNo(s.attackerInCityForestMountain) ||
      isNo(s.defenderInCityForestMountain)) {
    const char clear = askYesNo(
        console,
        "\nIs at least one of the units in clear or sandy terrain?  (Y/N):\n>> ");
    if (!isNo(clear)) return;
    const char rough = askYesNo(
        console,
        "\nIs at least one of the units in rough, bocage, or hills?  "
        "(Y/N):\n>> ");
    if (isYes(rough)) s.terrainCode = terrain::kRough;
    if (!isNo(rough)) return;
  }
  const char forest = askYesNo(
      console, "\nIs at least one of the units in a forest?  (Y/N):\n>> ");
  if (isYes(forest)) s.terrainCode = terrain::kForest;
  if (!isNo(forest)) return;
  const char city = askYesNo(
      console,
      "\nAre both of the units in cities and/or mountains?  (Y/N):\n>> ");
  if (isYes(city)) s.terrainCode = terrain::kCity;
}
