// Scenario files: a file chosen by the player read as --scenario reads it,
// the list of its combats to choose from, and the combat written as --save
// writes it.
import {el} from './dom.js';

// Reads a chosen file through the calculator: {messages, valid, values},
// as the calculator's reading gives them.  A file longer than `longest`
// bytes is refused unread, in the calculator's words: it could not be held
// in the module's memory.
export async function readFile(calc, file, longest) {
  if (file.size > longest) return calc.tooLongFile(file.name);
  const bytes = new Uint8Array(await file.arrayBuffer());
  return calc.read(bytes, file.name);
}

// Lists the combats of a reading in `select` (one an entry, by its number
// and first line), with `note` saying how many the file holds; the list
// shows only for a file of several.  The entry of the combat on show is
// chosen; one that could not be read to its end cannot be chosen.
export function listCombats(box, note, select, reading, name) {
  const combats = reading.combats || [];
  box.hidden = (reading.combatCount || 0) < 2;
  if (box.hidden) {
    select.replaceChildren();
    return;
  }
  note.textContent = name + ' holds ' + reading.combatCount + ' combats' +
    (reading.combatCount > combats.length ? ' (the first ' + combats.length + ' listed).' : '.');
  select.replaceChildren(...combats.map((combat, i) => el('option', {
    value: String(i),
    disabled: combat.values === null,
  }, (i + 1) + ' (line ' + combat.line +
     (combat.values === null ? ', cannot be read)' : combat.valid ? ')' : ', not valid)'))));
  select.value = reading.shown === null ? '' : String(reading.shown);
}

// Offers a scenario text as a file to download.
export function download(text, name) {
  const url = URL.createObjectURL(new Blob([text], {type: 'application/json'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}
