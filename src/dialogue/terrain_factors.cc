#include "dialogue/terrain_factors.h"

#include "combat/questions.h"

void askTerrainFactors(CombatScenario* s, Console& console) {
  if (!asksTerrain(*s)) return;

  say(console, "\n\nTerrain Factors:\n\n");

  // The first yes ends the chain, and so does an answer that is neither yes
  // nor no.
  if (asks(Field::terrainClearOrSandy, *s)) {
    s->terrainClearOrSandy = askYesNo(
        console,
        "\nIs at least one of the units in clear or sandy terrain?  (Y/N):\n>> ");
  }
  if (asks(Field::terrainRoughBocageOrHills, *s)) {
    s->terrainRoughBocageOrHills = askYesNo(
        console,
        "\nIs at least one of the units in rough, bocage, or hills?  "
        "(Y/N):\n>> ");
  }
  if (asks(Field::terrainForest, *s)) {
    s->terrainForest = askYesNo(
        console, "\nIs at least one of the units in a forest?  (Y/N):\n>> ");
  }
  if (asks(Field::terrainCitiesOrMountains, *s)) {
    s->terrainCitiesOrMountains = askYesNo(
        console,
        "\nAre both of the units in cities and/or mountains?  (Y/N):\n>> ");
  }
}
