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

// The short label of a field of the calculator's list (its `label`), or,
// for one without, the dialogue's question.  The dialogue's own question
// stays a click away, behind each field's help control.
export function labelOf(info) {
  return info.label || tidy(info.prompt || '');
}

// Entry `index` of a field's menu as the page shows it: the label that
// the calculator's field list gives it, never its number.
export function menuWord(info, index) {
  return info.optionLabels[index];
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

const SIDE_NAMES = {attacker: 'the attacker', defender: 'the defender'};

// A field by its place, as a player names it: "Strength of artillery piece
// 2", "Initiative of the attacker", "Class of the defender", "Combat
// Support unit 1 of the defender", "Range of the combat".  `where` is what
// the calculator says of a problem's field: its group, key, label and the
// side of a unit's own field, the list and index of a supporting unit, the
// index of a Combat Support unit.
export function fieldTitle(where) {
  const owner = ownerOf(where);
  if (where.bar !== undefined && where.bar !== null) {
    return 'Combat Support unit ' + (where.bar + 1) + (owner ? ' of ' + owner : '');
  }
  const label = where.label || where.key;
  return owner ? label + ' of ' + owner : label;
}

// Whose a field is: "artillery piece 2", "the attacker", or '' for a
// field of the combat as a whole.
function ownerOf(where) {
  return where.list !== undefined && where.list !== null
    ? UNIT_WORDS[where.list].one.toLowerCase() + ' ' + (where.unit + 1)
    : SIDE_NAMES[where.side || where.group] || '';
}

// What a value must be, from the calculator's reason for refusing it and
// the field's range: "at least 1", "at most 999999999".
export function wantedText(problem) {
  const range = problem.minimum !== undefined && problem.minimum !== null;
  if (problem.menu && problem.reason && problem.reason !== 'missing') {
    return 'one of the menu\'s entries';
  }
  switch (problem.reason) {
    case 'belowMinimum':
      return 'at least ' + problem.minimum;
    case 'aboveMaximum':
      return 'at most ' + problem.maximum;
    case 'missing':
      return 'needs an answer';
    case 'notWhole':
    case 'wrongKind':
      return range ? 'a whole number from ' + problem.minimum + ' to ' + problem.maximum
                   : problem.message;
    default:
      // A fault that is not the value's own keeps the calculator's words.
      return problem.message;
  }
}

// A problem of a field, in the field's own terms: "Strength of artillery
// piece 2: at least 1".
export function problemText(problem) {
  return fieldTitle(problem) + ': ' + wantedText(problem);
}

// A note or a problem of a link or a file, as a sentence; `source` names
// where it came from ("the link", "the file zelvorn.jsonl").  A problem
// that names no field of a combat keeps the calculator's own words.
export function readingText(item, source) {
  const where = source + (item.line ? ', line ' + item.line : '');
  if (item.kind === 'notAsked' && item.key) {
    const owner = ownerOf(item);
    return capital(possessive(source)) + ' answer' + (owner ? ' for ' + owner : '') + ' to "' +
      (item.label || item.key) + '" is not used in this combat.';
  }
  if (item.kind === 'beyondStrength' && item.list) {
    return capital(UNIT_WORDS[item.list].one) + ' ' + (item.unit + 1) + ' of ' + source +
      ' is not used: the support fire before it already reaches the attacker\'s strength.';
  }
  if (item.kind === 'more') return capital(where) + ': and ' + item.count + ' more problems.';
  if (item.kind === 'error' && item.key) return capital(where) + ': ' + problemText(item) + '.';
  return capital(where) + ': ' + item.text;
}

export function capital(text) {
  return text.charAt(0).toUpperCase() + text.slice(1);
}

function possessive(name) {
  return name + '\'s';
}
