// The chart of the losses against one whole-number answer, computed by the
// calculator as --vary computes it.
import {el} from './dom.js';
import {lineChart} from './charts.js';
import {findControl} from './form.js';
import {problemText, UNIT_WORDS} from './words.js';

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

// The field that the player chose for the chart, for the calculator to
// sweep with the next prediction; none before a choice is offered.
export function chartField() {
  return document.getElementById('sweep-field').value;
}

// Draws the chart that came with a prediction (`result`, as the calculator
// gave it), or hides it when there is none or it is not valid.
export function drawSweep(form, result) {
  const box = document.getElementById('sweep');
  const select = document.getElementById('sweep-field');
  const target = document.getElementById('sweep-chart');
  const chart = result && result.scenarioText !== null ? result.chart : null;
  const choices = chart ? sweepChoices(form, result.sweptFields) : [];
  const choice = choices.find((c) => c.name === (chart && chart.field));
  if (!choice) {
    box.hidden = true;
    target.replaceChildren();
    return;
  }
  select.replaceChildren(...choices.map((c) => el('option', {value: c.name}, c.label)));
  select.value = choice.name;
  box.hidden = false;
  box.dataset.sweepField = choice.name;
  box.dataset.from = chart.from;
  box.dataset.to = chart.to;
  if (!chart.valid) {
    const error = chart.error;
    target.replaceChildren(el('p', {class: 'status'}, 'No chart for this value: ' +
      (error.key ? problemText(error) : error.text)));
    return;
  }
  target.replaceChildren(lineChart(chart.rows, choice.label, chart.value));
}
