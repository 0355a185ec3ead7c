#include "dialogue/terrain_factors.h"

#include "combat/questions.h"
#include "dialogue/ask_field.h"

void askTerrainFactors(CombatScenario* s, Console& console) {
  if (!asksTerrain(*s)) return;

  say(console, "\n\nTerrain Factors:\n\n");

  // From the least to the most restrictive terrain: the first yes ends the
  // chain, and so does an answer that is neither yes nor no.
  if (asks(Field::terrainClearOrSandy, *s)) {
    s->terrainClearOrSandy = askYesNo(console, Field::terrainClearOrSandy);
  }
  if (asks(Field::terrainRoughBocageOrHills, *s)) {
    s->terrainRoughBocageOrHills =
        askYesNo(console, Field::terrainRoughBocageOrHills);
  }
  if (asks(Field::terrainForest, *s)) {
    s->terrainForest = askYesNo(console, Field::terrainForest);
  }
  if (asks(Field::terrainCitiesOrMountains, *s)) {
    s->terrainCitiesOrMountains =
        askYesNo(console, Field::terrainCitiesOrMountains);
  }
}
