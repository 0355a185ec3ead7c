// The chart of the losses against one whole-number answer, computed by the
// calculator as --vary computes it.
import {el} from './dom.js';
import {lineChart} from './charts.js';
import {numberOf, readControl} from './controls.js';
import {findControl} from './form.js';
import {problemText, UNIT_WORDS} from './words.js';

// The values a sweep runs over: from the field's minimum to twice the
// current value (at least twenty values), never more than 200 values and
// never past its maximum.
export function sweepRange(minimum, maximum, current) {
  let from = minimum;
  let to = Math.min(maximum, Math.max(current * 2, minimum + 20));
  if (to - from + 1 > 200) {
    from = Math.max(minimum, current - 100);
    to = Math.min(maximum, from + 199);
    from = Math.max(minimum, to - 199);
  }
  return [from, to];
}

// The whole numbers that --vary takes for the combat (`names`, from the
// calculator), with their labels.
function sweepChoices(form, names) {
  const choices = [];
  for (const name of names) {
    const control = findControl(form, name);
    if (!control || !control.label) continue;
    let label = control.label.textContent;
    const unit = /^(artillery|airDefense)\.(\d+)\./.exec(name);
    // A field of the attacker or the defender, or one of their Combat
    // Support bars, says whose it is; the units' table already names the
    // side in its cells' labels.
    const group = unit ? null : control.info.group || name.split('.')[0];
    if (unit) label = UNIT_WORDS[unit[1]].one + ' ' + (Number(unit[2]) + 1) + ': ' + label;
    else if (group && group !== name) {
      const title = group[0].toUpperCase() + group.slice(1) + ': ';
      if (!label.startsWith(title)) label = title + label;
    }
    choices.push({name, label, control});
  }
  return choices;
}

// Draws the sweep for the answers of a prediction (`result`, as the
// calculator gave it), or hides it when there is none or it is not valid.
export function drawSweep(calc, form, result) {
  const box = document.getElementById('sweep');
  const select = document.getElementById('sweep-field');
  const target = document.getElementById('sweep-chart');
  const scenarioText = result ? result.scenarioText : null;
  const choices = scenarioText === null ? [] : sweepChoices(form, result.sweptFields);
  if (!choices.length) {
    box.hidden = true;
    target.replaceChildren();
    return;
  }
  const previous = select.value || 'attacker.strength';
  select.replaceChildren(...choices.map((c) => el('option', {value: c.name}, c.label)));
  select.value = choices.some((c) => c.name === previous) ? previous : choices[0].name;
  const choice = choices.find((c) => c.name === select.value);
  const current = numberOf(readControl(choice.control).value);
  const info = choice.control.info;
  const [from, to] = sweepRange(info.minimum, info.maximum, current);
  const answer = calc.sweep(scenarioText, choice.name, from, to);
  box.hidden = false;
  box.dataset.sweepField = choice.name;
  box.dataset.from = from;
  box.dataset.to = to;
  if (!answer.valid) {
    const error = answer.error;
    target.replaceChildren(el('p', {class: 'status'}, 'No chart for this value: ' +
      (error.key ? problemText(error) : error.text)));
    return;
  }
  target.replaceChildren(lineChart(answer.rows, choice.label, current));
}
