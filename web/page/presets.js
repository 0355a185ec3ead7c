// Presets: units kept by name, as a roster in the command line's format
// ({"presets": [{"name", "sides", ...answers}]}), kept in the browser's
// storage and read from and written to files.  Nothing here draws; whether
// a roster is valid is for the calculator to say.

const STORAGE_KEY = 'zelvorn-roster';

// The browser's storage, or null where the browser forbids the page even
// to look at it.
export function browserStorage() {
  try {
    return localStorage;
  } catch (error) {
    return null;
  }
}

// The roster's text kept in `storage`, or null.
export function keptRoster(storage) {
  try {
    return storage.getItem(STORAGE_KEY);
  } catch (error) {
    return null;  // storage that the browser forbids keeps nothing
  }
}

// Keeps the roster's text in `storage`; false when the browser refuses it
// (storage forbidden or full).
export function keepRoster(storage, text) {
  try {
    storage.setItem(STORAGE_KEY, text);
    return true;
  } catch (error) {
    return false;
  }
}

// The text of a roster file with these presets: a preset a line, so that
// a message's line names its preset.
export function rosterText(presets) {
  return '{"presets": [\n' + presets.map((p) => JSON.stringify(p)).join(',\n') + '\n]}\n';
}

// A preset named `name` of `side`'s answers: each answer a preset holds
// (`fields`, the calculator's list) that `answers` (a Map by dotted name)
// has.
export function presetOf(name, side, fields, answers) {
  const preset = {name, sides: [side]};
  for (const field of fields) {
    if (field[side] && answers.has(field[side])) preset[field.name] = answers.get(field[side]);
  }
  return preset;
}

// The presets with `preset` in place of the one of the same name, or
// after the others.
export function withPreset(presets, preset) {
  const at = presets.findIndex((p) => p.name === preset.name);
  return at < 0 ? [...presets, preset] : presets.map((p, i) => (i === at ? preset : p));
}

// The presets with `from` named `to`; null when `to` is empty or another
// preset's name.
export function renamed(presets, from, to) {
  if (!to || presets.some((p) => p.name === to)) return null;
  return presets.map((p) => (p.name === from ? {...p, name: to} : p));
}

// The presets without the one named `name`.
export function without(presets, name) {
  return presets.filter((p) => p.name !== name);
}

// The text of a roster file the player chose, as far as the calculator
// reads one: a longer file is cut just past its limit, which the
// calculator then refuses in the command line's words.
export function rosterFileText(file, longest) {
  return (file.size > longest ? file.slice(0, longest + 1) : file).arrayBuffer()
    .then((buffer) => new Uint8Array(buffer));
}
