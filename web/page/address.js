// The combat in the page's address: "#s=" and the scenario as --save
// writes it, percent-encoded.  The scenario stays a text here: the
// calculator reads it.

const PREFIX = '#s=';

// The scenario text of an address's fragment, or null when the fragment
// holds none.  A fragment that is not valid percent-encoding is taken as
// it stands, so that the reader names what is wrong with it.
export function scenarioOfFragment(hash) {
  if (!hash.startsWith(PREFIX)) return null;
  const text = hash.slice(PREFIX.length);
  try {
    return decodeURIComponent(text);
  } catch (error) {
    return text;
  }
}

// The fragment for a scenario text; none for the example combat, whose
// address is the page's own.
export function fragmentOf(scenarioText, exampleText) {
  if (scenarioText === null || scenarioText === exampleText) return '';
  return PREFIX + encodeURIComponent(scenarioText);
}

// Whether an address's fragment names a combat (and not a place in the
// page).
export function isCombatFragment(hash) {
  return hash.startsWith(PREFIX);
}
