// The page's words: labels in a player's words for the calculator's
// fields, and the sentences that say what each figure is.  Nothing here
// touches the page, so that it can be tested on its own.

// A question or an error text as the dialogue prints it, made fit for a
// line of the page: no leading line feed, no trailing answer marker, one
// line.
export function tidy(text) {
  return text.replace(/^\n+/, '').replace(/\n>> $/, '').replace(/\n/g, ' ').trim();
}

// A heading without the places where a narrow table may break it.
export function plain(text) {
  return text.replace(/\u00ad/g, '');
}

export const SECTION_TITLES = {
  general: 'General factors',
  units: 'Attacker and defender',
  terrain: 'Terrain',
  rugged: 'Rugged defense',
  support: 'Support fire',
  softening: 'Softening',
};

export const SIDE_TITLES = {attacker: 'Attacker', defender: 'Defender'};

// The units' attributes that a player seldom changes, folded below the
// others.
export const RARE_ATTRIBUTES = new Set(['inRiver', 'outOfFuel', 'outOfAmmo',
                                        'shipAlreadyAttackedByShip']);
export const RARE_TITLE = 'River, fuel and ammunition';

// Short labels by a field's key; a field without one keeps the
// dialogue's question as its label.
const LABELS = {
  class: 'Class',
  isInfantry: 'Infantry target',
  infantryLeader: 'Infantry leader',
  attackerClass: 'Attacker class',
  defenderIsInfantry: 'Target is infantry',
  defenderClass: 'Defender class',
  isAssault: 'Assault',
  attackerInfantryLeader: 'Attacking infantry has a leader',
  defenderInfantryLeader: 'Defending infantry has a leader',
  snowOrRain: 'Snow or rain',
  overcast: 'Overcast',
  attackValue: 'Attack',
  initiative: 'Initiative',
  defenseValue: 'Defense',
  rangedDefense: 'Ranged defense',
  experience: 'Experience',
  firingRange: 'Firing range',
  strength: 'Strength',
  entrenchment: 'Entrenchment',
  inCityForestMountain: 'In a city, forest or mountain',
  inCity: 'In a city',
  inRiver: 'In a river',
  canMoveAfter: 'Can move after the combat',
  outOfFuel: 'Out of fuel',
  outOfAmmo: 'Out of ammunition',
  antiTankHasLeader: 'Anti-tank unit has a leader',
  shipAlreadyAttackedByShip: 'Ship already attacked by a ship',
  combatSupport: 'Combat Support',
  leaderChoice: 'Leader',
  combatRange: 'Range of the combat',
  clearOrSandy: 'Clear or sandy',
  roughBocageOrHills: 'Rough, bocage or hills',
  forest: 'Forest',
  citiesOrMountains: 'Cities or mountains',
  attackerCloseDefense: 'Attacker\'s close defense',
  artillery: 'Defending artillery',
  attackerGroundDefense: 'Attacker\'s ground defense',
  airDefense: 'Supporting air defense',
  airplaneAirDefense: 'Airplane\'s air defense',
  timesAttacked: 'Times attacked before',
  adjacent: 'Adjacent',
  isFighter: 'Fighter',
};

// The short label of a field by its key, or the dialogue's question.
export function labelOf(key, prompt) {
  return LABELS[key] || tidy(prompt || '');
}

export const UNIT_WORDS = {
  artillery: {one: 'Artillery piece', add: 'Add an artillery piece'},
  airDefense: {one: 'Supporting unit', add: 'Add a supporting unit'},
};

// The three figures of an outcome, by their names in the prediction.
export const FIGURE_KEYS = ['attackerLosses', 'defenderLosses', 'defenderSuppression'];

// What a figure is, as a sentence: "Attacker loses 4 strength points".
export function sentence(key, value) {
  switch (key) {
    case 'attackerLosses':
      return 'Attacker loses ' + value + (value === 1 ? ' strength point' : ' strength points');
    case 'defenderLosses':
      return 'Defender loses ' + value;
    case 'defenderSuppression':
      return 'Suppression inflicted ' + value;
    default:
      return String(value);
  }
}

// A figure's column heading.
export const FIGURE_HEADINGS = {
  attackerLosses: 'Attacker loses',
  defenderLosses: 'Defender loses',
  defenderSuppression: 'Sup\u00adpres\u00adsion inflicted',
};

// The note shown on a supporting unit that the dialogue would not ask for.
export function noteText(note) {
  return note.kind === 'beyondStrength'
    ? 'Not asked: the support fire had already reached the attacker\'s strength.'
    : '';
}
