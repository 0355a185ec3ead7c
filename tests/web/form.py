#!/usr/bin/env python3
"""How the form behaves: questions that appear and disappear as the answers
change, a yes/no box that looks like the answer its figures take and whose
clicks reach yes, no and neither, the dialogue's error text for a value its
question does not take (and then no figures at all), supporting units and
Combat Support units added and removed, the address, export and import (a
file of several combats listed, each shown when chosen), the sweep chart,
and units that the dialogue would not have asked for.

  form.py PROGRAM SITE_DIR OUT_DIR
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import urllib.parse

import page

# From the empty page: the answers given in turn, then the questions that
# must be on show and those that must not, and the wording of some.
APPEARING = [
    ('an artillery attacker only asks whether its target is infantry',
     [('general.attackerClass', '6')],
     ['general.defenderIsInfantry'], ['general.defenderClass', 'general.isAssault'],
     {'general.defenderIsInfantry': 'Is the defending unit infantry? (Y/N):'}),
    ('infantry attacking infantry is asked about an assault',
     [('general.attackerClass', '1'), ('general.defenderClass', '1')],
     ['general.isAssault', 'general.attackerInfantryLeader',
      'general.defenderInfantryLeader', 'general.snowOrRain'],
     ['general.defenderIsInfantry', 'general.overcast'],
     {'general.isAssault': 'Is this combat an assault? (Y/N):'}),
    ('an assault asks no infantry leaders nor ranged defenses',
     [('general.attackerClass', '1'), ('general.defenderClass', '1'),
      ('general.isAssault', 'true')],
     ['general.isAssault'],
     ['general.attackerInfantryLeader', 'general.defenderInfantryLeader',
      'attacker.rangedDefense', 'defender.rangedDefense'], {}),
    ('entrenchment 0 keeps the attacker out of a city, forest or mountain',
     [('general.attackerClass', '1'), ('general.defenderClass', '2'),
      ('attacker.entrenchment', '0')],
     ['attacker.entrenchment', 'attacker.inRiver'],
     ['attacker.inCityForestMountain'], {}),
    ('entrenched infantry is asked whether it is in a city, forest or mountain',
     [('general.attackerClass', '1'), ('general.defenderClass', '2'),
      ('attacker.entrenchment', '2')],
     ['attacker.inCityForestMountain'], [],
     {'attacker.inCityForestMountain':
      'Is the attacking unit in a city, forest, or mountain? (Y/N):'}),
    ('and a yes there takes the river question away',
     [('general.attackerClass', '1'), ('general.defenderClass', '2'),
      ('attacker.entrenchment', '2'), ('attacker.inCityForestMountain', 'true')],
     [], ['attacker.inRiver'], {}),
    ('a half-track is asked about its infantry in its own words',
     [('general.attackerClass', '11')],
     ['general.attackerInfantryLeader'], ['general.isAssault'],
     {'general.attackerInfantryLeader':
      'Is the attacking unit infantry with a leader? (Y/N):'}),
    ('a tank that cannot move on is asked about its fuel',
     [('general.attackerClass', '2'), ('general.defenderClass', '2'),
      ('attacker.canMoveAfter', 'false')],
     ['attacker.outOfFuel'], ['attacker.antiTankHasLeader'], {}),
    ('a tank that can move on is not',
     [('general.attackerClass', '2'), ('general.defenderClass', '2'),
      ('attacker.canMoveAfter', 'true')],
     [], ['attacker.outOfFuel'], {}),
    ('an airplane against a tank: overcast, air defense, no entrenchment',
     [('general.attackerClass', '8'), ('general.defenderClass', '2')],
     ['general.overcast'],
     ['general.snowOrRain', 'attacker.entrenchment', 'attacker.initiative'], {}),
    ('a firing range of 1 asks no range of the combat',
     [('general.attackerClass', '2'), ('general.defenderClass', '2'),
      ('attacker.firingRange', '1')],
     [], ['combatRange'], {}),
    ('a longer one does',
     [('general.attackerClass', '2'), ('general.defenderClass', '2'),
      ('attacker.firingRange', '3')],
     ['combatRange'], [],
     {'combatRange': 'Please enter the range of the combat:'}),
]

# A value that the calculator does not take, in a combat that was valid:
# the field, what is typed, the message that must show, in the field's own
# terms (which unit, and the range).
WRONG = [
    ('attacker.strength', '0', 'Strength of the attacker: at least 1'),
    ('attacker.initiative', '1.5',
     'Initiative of the attacker: a whole number from 0 to 999999999'),
    ('attacker.initiative', '1000000000', 'Initiative of the attacker: at most 999999999'),
    ('defender.firingRange', '1000000000', 'Firing range of the defender: at most 999999999'),
    ('attacker.combatSupport.0', '-1', 'Combat Support unit 1 of the attacker: at least 0'),
    ('artillery.1.strength', '0', 'Strength of artillery piece 2: at least 1'),
    ('artillery.0.experience', '-2', 'Experience of artillery piece 1: at least 0'),
]

# Texts of the console that no visible text of the page may hold: its
# answer markers, its requests and its numbered menu entries.
CONSOLE_WORDING = r"""
  const texts = [document.body.innerText,
                 ...[...document.querySelectorAll('option')].map((o) => o.textContent)];
  const found = [];
  for (const text of texts) {
    for (const pattern of [/Please enter/, /\(Y\/N\)/, /Please reenter/, /^\s*\d+\.\s/m]) {
      const match = pattern.exec(text);
      if (match) found.push(text.slice(Math.max(0, match.index - 30), match.index + 40));
    }
  }
  return found;"""


# The words each menu shows for its entries, in its order, as a player
# reads them; kept here apart from the program's own list, which holds them
# beside the words a file gives.
CLASSES = ['Infantry', 'Tank', 'Recon', 'Anti-tank', 'Fort', 'Artillery', 'Air defense',
           'Fighter', 'Bomber', 'Naval unit']
LEADERS = ['Aggressive Attack', 'Overwhelming Attack', 'First Strike', 'Resilience',
           'Determined Defense']
MENU_WORDS = {
    'general.attackerClass': CLASSES + ['Half-track'],
    'general.defenderClass': CLASSES + ['Ground transport', 'Air transport'],
    'attacker.leaderChoice': LEADERS + ['Skilled Ground Attack', 'None'],
    'defender.leaderChoice': LEADERS + ['None'],
    'artillery.0.leaderChoice': ['Aggressive Attack', 'Overwhelming Attack', 'None'],
    'airDefense.0.leaderChoice': ['Aggressive Attack', 'Overwhelming Attack', 'None'],
}

MENUS_SHOWN = """
  const menus = {};
  for (const select of document.querySelectorAll('select[data-field]')) {
    menus[select.dataset.field] = [...select.options].filter((o) => o.value !== '')
                                                     .map((o) => o.textContent);
  }
  return menus;"""


def check_players_words(browser, server, program, workdir):
    """Every visible text is a player's: no console request, answer marker
    or numbered menu entry, with the questions of many combats on show; the
    console's question of a field one click away, behind its help control;
    every menu's entries in a player's words; a number the reader takes as
    written (1e3) gives the program's figures; a link's note reads as a
    sentence."""
    problems = []
    names = ['support_artillery_two_pieces', 'support_air_two_fighters',
             'combat_rugged_chance', 'support_artillery_damage_cap']
    lines = [transcript_scenario(program, name, workdir) for name in names]
    menus_seen = set()
    for name, line in zip(names, lines):
        browser.open(page.scenario_url(server.url, line))
        browser.js('document.querySelectorAll("details").forEach((d) => { d.open = true; });')
        for text in browser.js(CONSOLE_WORDING):
            problems.append('%s: the page shows the console\'s wording %r' % (name, text))
        shown = browser.js(MENUS_SHOWN)
        for field, words in MENU_WORDS.items():
            if field not in shown:
                continue
            menus_seen.add(field)
            if shown[field] != words:
                problems.append('%s: the menu %s shows %r, not %r'
                                % (name, field, shown[field], words))
    for field in sorted(set(MENU_WORDS) - menus_seen):
        problems.append('the menu %s is on show in none of the combats' % field)
    # The help control of a field shows the dialogue's question, and hides
    # it again.
    browser.open(page.scenario_url(server.url, lines[0]))
    for name, question in [
            ('attacker.initiative', 'Please enter the initiative of the attacking unit:'),
            ('artillery.0.adjacent', 'Is this piece adjacent to the defending unit? (Y/N):')]:
        field = browser.field(name)
        button = browser.js('return document.getElementById(arguments[0].id + "-help-button")',
                            field)
        shown = lambda: browser.js('const h = document.getElementById(arguments[0].id + "-help");'
                                   'return h.getClientRects().length ? h.textContent : null;',
                                   field)
        if button is None:
            problems.append('%s has no help control' % name)
            continue
        if shown() is not None:
            problems.append('%s: the console\'s question shows before it is asked for' % name)
        button.click()
        if shown() != question:
            problems.append('%s: its help control shows %r, not %r' % (name, shown(), question))
        if button.get_attribute('aria-expanded') != 'true':
            problems.append('%s: the help control does not say it is open' % name)
        button.click()
        if shown() is not None:
            problems.append('%s: the help control does not hide the question again' % name)
    # 1e3 is a number the reader takes: the figures of 1000.
    scenario = json.loads(lines[0])
    scenario['attacker']['attackValue'] = 1000
    prediction, = page.native_predictions(program, [json.dumps(scenario)], workdir)
    browser.type_number('attacker.attackValue', '1e3')
    if browser.shown_error('attacker.attackValue') is not None:
        problems.append('1e3 is refused: %r' % browser.shown_error('attacker.attackValue'))
    problems += page.compare_figures(browser.figures(), prediction, 'attack value 1e3')
    # A link's answer that the combat does not ask, in a sentence; the line
    # of the command line kept beside it.
    scenario = json.loads(lines[0])
    scenario['defender']['inCityForestMountain'] = True
    browser.open(page.scenario_url(server.url, json.dumps(scenario)))
    said = browser.js('return [...document.querySelectorAll("#import-messages [data-message]")]'
                      '.map((m) => [m.textContent, m.dataset.message]);')
    wanted = [['The link\'s answer for the defender to "In a city, forest or mountain" is not '
               'used in this combat.',
               'link:1: defender.inCityForestMountain: ignored: not asked for this combat']]
    if said != wanted:
        problems.append('a link\'s unused answer is told as %r, not %r' % (said, wanted))
    return problems


def transcript_scenario(program, name, workdir):
    with open(os.path.join(page.SOURCE, 'tests', 'transcripts', name + '.in'),
              'rb') as f:
        return page.saved_scenarios(program, f.read(), workdir)[0]


def check_appearing(browser, server):
    problems = []
    for what, answers, shown, hidden, wording in APPEARING:
        browser.open(server.url + 'index.html')
        for name, value in answers:
            browser.answer(name, value)
        on_show = set(browser.shown_fields())
        for name in shown:
            if name not in on_show:
                problems.append('%s: %s is not on show' % (what, name))
        for name in hidden:
            if name in on_show:
                problems.append('%s: %s is on show' % (what, name))
        for name, text in wording.items():
            label = browser.question_of(name)
            if label != text:
                problems.append('%s: %s is worded %r, not %r' % (what, name,
                                                                 label, text))
    return problems


# A yes/no question that appears as the answers change, from the example
# combat: the answers given in turn, and the question.  Its box must show
# the answer that the figures take (yes ticked, no blank, neither marked
# and said), and clicks must reach yes, no and neither, each with the
# program's figures for the combat in the address.
YES_NO_APPEARING = [
    ('the attacker\'s infantry leader',
     [('attacker.leaderChoice', '1'), ('general.attackerClass', '1')],
     'general.attackerInfantryLeader'),
    ('the defender\'s infantry leader',
     [('defender.leaderChoice', '1'), ('general.defenderClass', '1')],
     'general.defenderInfantryLeader'),
    ('an anti-tank unit\'s leader',
     [('general.attackerClass', '4'), ('attacker.canMoveAfter', 'false')],
     'attacker.antiTankHasLeader'),
    ('rough terrain, once clear terrain is unticked',
     [('terrain.clearOrSandy', 'false')], 'terrain.roughBocageOrHills'),
    ('a forest, once rough terrain is no',
     [('terrain.clearOrSandy', 'false'), ('terrain.roughBocageOrHills', 'false')],
     'terrain.forest'),
]

# What a yes/no box looks like: "true" ticked, "null" marked as neither
# (its mark and its word on show), "false" blank; anything else is a look
# that means no one answer.
BOX_LOOK = """
  const box = arguments[0];
  const word = box.closest('.field').querySelector('.neither');
  const said = Boolean(word && word.getClientRects().length && word.textContent.trim());
  if (box.checked && !box.indeterminate && !said) return 'true';
  if (!box.checked && box.indeterminate && said) return 'null';
  if (!box.checked && !box.indeterminate && !said) return 'false';
  return 'unclear: checked ' + box.checked + ', mixed ' + box.indeterminate + ', word ' + said;"""


def address_scenario(browser, example):
    """The combat that the address holds, once the page has written it."""
    browser.js("window.dispatchEvent(new Event('pagehide'));")
    fragment = browser.js('return location.hash;')
    if not fragment.startswith('#s='):
        return json.loads(example)
    return json.loads(urllib.parse.unquote(fragment[3:]))


def answer_in(scenario, name):
    node = scenario
    for part in name.split('.'):
        if not isinstance(node, dict) or part not in node:
            return 'left out'
        node = node[part]
    return json.dumps(node)


def check_yes_no_looks(browser, server, program, workdir):
    problems = []
    with open(os.path.join(page.SOURCE, 'examples', 'first_combat.in'), 'rb') as f:
        example = page.saved_scenarios(program, f.read(), workdir)[0]
    for what, answers, name in YES_NO_APPEARING:
        browser.open(server.url + 'index.html')
        browser.js('for (const d of document.querySelectorAll("details.fold")) d.open = true;')
        for field, value in answers:
            browser.answer(field, value)
        if name not in browser.shown_fields():
            problems.append('%s: %s is not asked' % (what, name))
            continue
        reached = set()
        states = []
        for clicks in range(4):
            if clicks:
                browser.field(name).click()
            browser.wait_for('document.getElementById("results").dataset.state === "figures"')
            look = browser.js(BOX_LOOK, browser.field(name))
            scenario = address_scenario(browser, example)
            held = answer_in(scenario, name)
            if look != held:
                problems.append('%s, after %d clicks: the box looks %s, the combat holds %s'
                                % (what, clicks, look, held))
            if clicks:
                reached.add(held)
            states.append((json.dumps(scenario), browser.figures(), clicks))
        if reached != {'true', 'false', 'null'}:
            problems.append('%s: three clicks reach %s, not yes, no and neither'
                            % (what, sorted(reached)))
        predictions = page.native_predictions(program, [s for s, _, _ in states], workdir)
        for (_, shown, clicks), prediction in zip(states, predictions):
            problems += page.compare_figures(shown, prediction, '%s, after %d clicks'
                                             % (what, clicks))
    return problems


def check_wrong_values(browser, server, line, prediction):
    problems = []
    for name, typed, text in WRONG:
        browser.open(page.scenario_url(server.url, line))
        before = browser.field(name).get_attribute('value')
        browser.type_number(name, typed)
        where = '%s = %s' % (name, typed)
        error = browser.shown_error(name)
        described = (browser.field(name).get_attribute('aria-describedby') or '').split()
        if browser.field(name).get_attribute('id') + '-error' not in described:
            problems.append('%s: the error does not describe the field' % where)
        if error != text:
            problems.append('%s: the error shown is %r, not %r' % (where, error, text))
        if browser.field(name).get_attribute('aria-invalid') != 'true':
            problems.append('%s: the field is not marked invalid' % where)
        left = browser.js("""return document.querySelectorAll(
            '#figures *, #sweep:not([hidden]) svg, [data-figure]').length;""")
        if left or browser.state() != 'invalid':
            problems.append('%s: %d figures are still there (state %s)' %
                            (where, left, browser.state()))
        browser.type_number(name, before)
        if (browser.shown_error(name) is not None or
                browser.field(name).get_attribute('aria-invalid')):
            problems.append('%s: the error stays once the value is mended' % where)
        problems += page.compare_figures(browser.figures(), prediction,
                                         where + ' mended')
    return problems


def check_units(browser, server, program, workdir):
    """Removing a piece or a Combat Support unit, and adding one."""
    problems = []
    line = transcript_scenario(program, 'support_artillery_two_pieces', workdir)
    scenario = json.loads(line)
    one_piece = json.loads(line)
    one_piece['artillery'] = one_piece['artillery'][1:]
    one_piece['artillery'][0]['experience'] = 5
    supported = json.loads(line)
    supported['attacker']['combatSupport'] = [4, 7]
    fewer = json.loads(line)
    fewer['attacker']['combatSupport'] = [7]
    lines = [json.dumps(s, separators=(',', ':'))
             for s in (scenario, one_piece, supported, fewer)]
    whole, single, with_bars, one_bar = page.native_predictions(program, lines,
                                                                workdir)
    browser.open(page.scenario_url(server.url, lines[0]))
    problems += page.compare_figures(browser.figures(), whole, 'two pieces')
    # The second piece, with other experience, is all that is left.
    browser.type_number('artillery.1.experience', '5')
    browser.click('[data-remove="artillery.0"]')
    problems += page.compare_figures(browser.figures(), single,
                                     'the first piece removed')
    if browser.js('return document.activeElement.dataset.remove') != 'artillery.0':
        problems.append('after a removal the focus is not on the next piece')
    # A new piece asks its questions, and there are no figures until they
    # are answered.
    browser.click('[data-add="artillery"]')
    new = [f for f in browser.shown_fields() if f.startswith('artillery.1.')]
    if new != ['artillery.1.attackValue', 'artillery.1.experience',
               'artillery.1.strength', 'artillery.1.adjacent',
               'artillery.1.leaderChoice']:
        problems.append('a new piece asks %s' % new)
    if browser.state() != 'unanswered' or browser.figures():
        problems.append('figures with an unanswered piece')
    browser.click('[data-remove="artillery.1"]')
    problems += page.compare_figures(browser.figures(), single,
                                     'the new piece removed')
    # Combat Support units.
    browser.open(page.scenario_url(server.url, lines[2]))
    problems += page.compare_figures(browser.figures(), with_bars,
                                     'two Combat Support units')
    browser.click('[data-remove="attacker.combatSupport.0"]')
    problems += page.compare_figures(browser.figures(), one_bar,
                                     'the first Combat Support unit removed')
    # [7] -> [7, 4] -> [4] -> [7]
    browser.click('[data-add="attacker.combatSupport"]')
    browser.type_number('attacker.combatSupport.1', '4')
    browser.click('[data-remove="attacker.combatSupport.0"]')
    browser.type_number('attacker.combatSupport.0', '7')
    problems += page.compare_figures(browser.figures(), one_bar,
                                     'a Combat Support unit added and removed')
    return problems


def check_next_question_below(browser, server, program, workdir):
    """The airplane's air defense, asked once a fighter is among the
    supporting units, appears after the fighter's answers, below the field
    being typed, so that tabbing forward reaches it."""
    problems = []
    line = transcript_scenario(program, 'support_air_two_fighters', workdir)
    scenario = json.loads(line)
    scenario['airDefense'] = []
    scenario.pop('airplaneAirDefense', None)
    browser.open(page.scenario_url(server.url, json.dumps(scenario)))
    browser.click('[data-add="airDefense"]')
    browser.choose('airDefense.0.isFighter', 'true')
    for name, value in [('attackValue', 6), ('experience', 2), ('strength', 8)]:
        browser.type_number('airDefense.0.' + name, value)
    if 'airplaneAirDefense' not in browser.shown_fields():
        return ['a fighter among the supporting units: the airplane\'s air defense '
                'is not asked']
    below = browser.js("""
        const field = document.querySelector('[data-field="airplaneAirDefense"]');
        return Boolean(document.activeElement.compareDocumentPosition(field) &
                       Node.DOCUMENT_POSITION_FOLLOWING);""")
    if not below:
        problems.append('the airplane\'s air defense appears above the field being typed '
                        '(%s)' % browser.js('return document.activeElement.dataset.field;'))
    return problems


def check_ignored_units(browser, server, program, workdir):
    """Pieces after the one whose fire reaches the attacker's strength are
    not asked: their rows say so and their figures are not shown."""
    line = transcript_scenario(program, 'support_artillery_damage_cap', workdir)
    scenario = json.loads(line)
    scenario['artillery'].append(dict(scenario['artillery'][0], attackValue=4))
    text = json.dumps(scenario, separators=(',', ':'))
    prediction, = page.native_predictions(program, [text], workdir)
    browser.open(page.scenario_url(server.url, text))
    problems = page.compare_figures(browser.figures(), prediction,
                                    'a piece after the capped one')
    note = browser.js("""
        const row = document.querySelector('[data-name="artillery.1"] > .note');
        return row && row.getClientRects().length ? row.textContent : null;""")
    if note != ('Not asked: the support fire had already reached the '
                "attacker's strength."):
        problems.append('the ignored piece says %r' % note)
    return problems


def check_address(browser, server, program, workdir):
    """The address keeps the combat: a reload, or another scenario's
    address in the same page, shows that combat."""
    problems = []
    first = transcript_scenario(program, 'combat_rugged_chance', workdir)
    second = transcript_scenario(program, 'support_air_two_fighters', workdir)
    changed = json.loads(first)
    changed['attacker']['attackValue'] = 12
    changed_line = json.dumps(changed, separators=(',', ':'))
    predictions = page.native_predictions(program, [changed_line, second],
                                          workdir)
    browser.open(page.scenario_url(server.url, first))
    browser.type_number('attacker.attackValue', '12')
    browser.wait_for('location.hash.includes("attackValue%22%3A12")', timeout=5)
    browser.driver.refresh()
    browser.wait_for('document.documentElement.dataset.ready === "true"')
    problems += page.compare_figures(browser.figures(), predictions[0],
                                     'reloaded after a change')
    # Links within the page leave the combat in the address and the form.
    browser.click('a.skip')
    if browser.js('return document.activeElement.id') != 'results-heading':
        problems.append('the link to the prediction does not move the focus there')
    browser.type_number('attacker.strength', '')
    browser.click('#status a')
    if browser.js('return document.activeElement.dataset.field') != 'attacker.strength':
        problems.append('the link to the next question does not go to it')
    browser.type_number('attacker.strength', '10')
    if not browser.js('return location.hash.startsWith("#s=");'):
        problems.append('a link within the page took the combat out of the address')
    problems += page.compare_figures(browser.figures(), predictions[0],
                                     'after the links within the page')
    browser.js('location.hash = arguments[0];',
               page.scenario_url('', second).split('#', 1)[1])
    browser.wait_for('document.querySelector(\'[data-field="general.attackerClass"]\')'
                     '.value === "8"')
    problems += page.compare_figures(browser.figures(), predictions[1],
                                     'another address in the same page')
    return problems


def check_files(browser, server, program, workdir):
    """Export writes the scenario as --save does; import reads a file as
    --scenario does, with the same messages, and loads its first valid
    scenario."""
    problems = []
    line = transcript_scenario(program, 'support_air_two_fighters', workdir)
    browser.open(page.scenario_url(server.url, line))
    browser.click('#export')
    target = os.path.join(browser.downloads, 'zelvorn-scenario.jsonl')
    for _ in range(250):
        if os.path.exists(target):
            break
        time.sleep(0.02)
    exported = open(target, encoding='utf-8').read() if os.path.exists(target) else None
    if exported != line + '\n':
        problems.append('export wrote %r, --save wrote %r' % (exported, line + '\n'))

    second = transcript_scenario(program, 'combat_rugged_chance', workdir)
    bad = json.loads(second)
    bad['general']['attackerClass'] = 0
    noted = json.loads(second)
    noted['general']['overcast'] = True
    content = '\n'.join([json.dumps(bad), '{"general": ', json.dumps(noted),
                         second]) + '\n'
    name = 'mixed scenarios.jsonl'
    path = os.path.join(workdir, name)
    with open(path, 'w') as f:
        f.write(content)
    run = subprocess.run([program, '--scenario', name, '--json'], cwd=workdir,
                         capture_output=True, text=True)
    wanted = run.stderr.splitlines()
    first_valid = json.loads(run.stdout.splitlines()[0])
    browser.open(server.url + 'index.html')
    from selenium.webdriver.common.by import By
    browser.driver.find_element(By.ID, 'import-file').send_keys(path)
    browser.wait_for('document.getElementById("results").dataset.state === "figures"')
    shown = browser.js('return [...document.querySelectorAll("#import-messages '
                       '[data-message]")].map((m) => m.dataset.message).join("\\n");')
    if shown.split('\n') != wanted:
        problems.append('import shows %r, the program prints %r' % (shown, wanted))
    problems += page.compare_figures(browser.figures(), first_valid,
                                     'the first valid scenario imported')
    stronger = json.loads(second)
    stronger['attacker']['attackValue'] += 3
    problems += check_several_combats(browser, server, program, workdir,
                                      [second, line, json.dumps(stronger)])
    return problems


COMBAT_LIST = """
  const box = document.getElementById('file-combats');
  if (!box || !box.getClientRects().length) return null;
  const select = box.querySelector('select');
  return {note: box.textContent, value: select.value,
          entries: [...select.options].map((o) => o.textContent)};"""


def check_several_combats(browser, server, program, workdir, combats):
    """A file of several combats says so and lists them, shows the first,
    and shows another when it is chosen; a file of one lists none."""
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import Select
    problems = []
    texts = [json.dumps(json.loads(c), separators=(',', ':')) for c in combats]
    predictions = page.native_predictions(program, texts, workdir)
    path = os.path.join(workdir, 'three combats.jsonl')
    with open(path, 'w') as f:
        f.write('\n'.join(texts) + '\n')
    browser.open(server.url + 'index.html')
    browser.driver.find_element(By.ID, 'import-file').send_keys(path)
    browser.wait_for('document.getElementById("results").dataset.state === "figures"')
    listed = browser.js(COMBAT_LIST)
    if listed is None:
        return ['a file of 3 combats: no list of its combats']
    if '3 combats' not in listed['note'] or len(listed['entries']) != 3 or \
            listed['value'] != '0':
        problems.append('a file of 3 combats: the list says %r' % listed)
    problems += page.compare_figures(browser.figures(), predictions[0],
                                     'a file of 3 combats, at first')
    Select(browser.driver.find_element(By.ID, 'file-combat')).select_by_value('2')
    problems += page.compare_figures(browser.figures(), predictions[2],
                                     'a file of 3 combats, the third chosen')
    browser.js("window.dispatchEvent(new Event('pagehide'));")
    shown = json.loads(urllib.parse.unquote(browser.js('return location.hash;')[3:] or 'null'))
    if shown != json.loads(texts[2]):
        problems.append('a file of 3 combats, the third chosen: the address holds %r' % shown)
    with open(path, 'w') as f:
        f.write(texts[1] + '\n')
    browser.driver.find_element(By.ID, 'import-file').send_keys(path)
    browser.wait_for('document.getElementById("results").dataset.state === "figures"')
    problems += page.compare_figures(browser.figures(), predictions[1], 'a file of one combat')
    if browser.js(COMBAT_LIST) is not None:
        problems.append('a file of one combat lists its combats')
    return problems


CLIPBOARD = """
  const done = arguments[arguments.length - 1];
  navigator.clipboard.readText().then(done, (e) => done('cannot read: ' + e));"""


def check_new_combat(browser, server, program, workdir):
    """"New combat" goes back to the example combat, with its odds, its
    folds closed, and the page's own address, from another combat and from
    a link that was refused."""
    problems = []
    with open(os.path.join(page.SOURCE, 'examples', 'first_combat.in'), 'rb') as f:
        example = page.saved_scenarios(program, f.read(), workdir)[0]
    other = transcript_scenario(program, 'support_air_two_fighters', workdir)
    wanted, = page.native_predictions(program, [example], workdir)
    for what, url in [('another combat', page.scenario_url(server.url, other)),
                      ('a refused link', server.url + 'index.html#s=%5B1%5D')]:
        browser.open(url)
        browser.click('#new-combat')
        browser.wait_for('location.hash === ""', timeout=5)
        problems += page.compare_figures(browser.figures(), wanted,
                                         'New combat after ' + what)
        if browser.js('return document.getElementById("import-messages").getClientRects().length'):
            problems.append('New combat after %s keeps the messages' % what)
        if browser.js('return document.querySelectorAll("details.fold[open]").length'):
            problems.append('New combat after %s leaves a fold open' % what)
    return problems


def check_blank_default(browser, server, program, workdir):
    """A number that a file may leave out, cleared: the figures are those
    of the file without it, and the blank field shows the value taken."""
    with open(os.path.join(page.SOURCE, 'examples', 'first_combat.in'), 'rb') as f:
        example = json.loads(page.saved_scenarios(program, f.read(), workdir)[0])
    browser.open(server.url + 'index.html')
    name, shown = browser.js("""
        const input = [...document.querySelectorAll('input[type=number][placeholder]')]
          .find((node) => node.getClientRects().length && node.value !== '');
        return input ? [input.dataset.field, input.placeholder] : [null, null];""")
    if name is None:
        return ['the example has no number on show that a file may leave out']
    group, key = name.split('.')
    del example[group][key]
    wanted, = page.native_predictions(program, [json.dumps(example)], workdir)
    browser.type_number(name, '')
    browser.wait_for('document.getElementById("results").dataset.state === "figures"')
    problems = page.compare_figures(browser.figures(), wanted, name + ' cleared')
    if shown != '0' and not shown.isdigit():
        problems.append('%s shows %r when blank' % (name, shown))
    return problems


def check_sharing(browser, server, program, workdir):
    """"Copy result" puts exactly what --scenario prints on the clipboard,
    "Copy link" the address that brings the combat back."""
    problems = []
    browser.driver.execute_cdp_cmd('Browser.grantPermissions', {
        'origin': server.url.rstrip('/'),
        'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})
    line = transcript_scenario(program, 'support_air_two_fighters', workdir)
    path = os.path.join(workdir, 'shared.jsonl')
    with open(path, 'w') as f:
        f.write(line + '\n')
    printed = subprocess.run([program, '--scenario', path], capture_output=True,
                             text=True).stdout
    prediction, = page.native_predictions(program, [line], workdir)
    browser.open(page.scenario_url(server.url, line))
    browser.click('#copy-result')
    browser.wait_for('document.getElementById("copy-status").textContent !== ""')
    copied = browser.driver.execute_async_script(CLIPBOARD)
    if copied != printed:
        problems.append('"Copy result" copied %r, --scenario prints %r' %
                        (copied[:300], printed[:300]))
    browser.type_number('attacker.strength', '3')
    browser.click('#copy-link')
    browser.wait_for('document.getElementById("copy-status").textContent === "Link copied."')
    link = browser.driver.execute_async_script(CLIPBOARD)
    changed = json.loads(line)
    changed['attacker']['strength'] = 3
    wanted, = page.native_predictions(program, [json.dumps(changed)], workdir)
    browser.open(link)
    problems += page.compare_figures(browser.figures(), wanted, 'the copied link')
    if prediction == wanted:
        problems.append('the strength changes nothing; the case is wrong')
    return problems


def check_sweep(browser, server, program, workdir):
    """The chart's values are --vary's, over the range chosen for the
    current value."""
    problems = []
    line = transcript_scenario(program, 'support_artillery_two_pieces', workdir)
    huge = json.loads(line)
    huge['defender']['strength'] = 999999999
    cases = [(line, 'attacker.strength', 1, 21),          # 10: 1 to 21
             (line, 'defender.attackValue', 0, 20),       # 8: 0 to 20
             (line, 'artillery.1.strength', 1, 21),
             (json.dumps(huge), 'defender.strength', 999999800, 999999999)]
    for text, name, low, high in cases:
        browser.open(page.scenario_url(server.url, text))
        from selenium.webdriver.support.ui import Select
        browser.wait_for('!document.getElementById("sweep").hidden')
        if name != 'attacker.strength':
            Select(browser.driver.find_element('id', 'sweep-field')).select_by_value(name)
        browser.wait_for('document.getElementById("sweep").dataset.sweepField === %s'
                         % json.dumps(name))
        # Each value named once by its side or unit: "Attacker: Strength".
        doubled = browser.js('return [...document.querySelectorAll("#sweep-field option")]'
                             '.map((o) => o.textContent)'
                             '.filter((t) => /^([^:]+): \\1:/.test(t));')
        if doubled:
            problems.append('values to vary named twice: %r' % doubled)
        box = browser.js('const d = document.getElementById("sweep").dataset;'
                         'return [Number(d.from), Number(d.to)];')
        if box != [low, high]:
            problems.append('%s: the chart runs from %s, not %s' % (name, box, [low, high]))
            continue
        path = os.path.join(workdir, 'sweep.jsonl')
        with open(path, 'w') as f:
            f.write(text + '\n')
        run = subprocess.run([program, '--scenario', path, '--json', '--vary',
                              '%s=%d..%d' % (name, low, high)],
                             capture_output=True, text=True)
        wanted = [[r['value'], r['odds']['attackerLosses'], r['odds']['defenderLosses']]
                  for r in map(json.loads, run.stdout.splitlines())]
        shown = browser.js("""
            return [...document.querySelectorAll('[data-sweep-value]')].map((row) =>
              [Number(row.dataset.sweepValue),
               Number(row.querySelector('[data-sweep="attackerLosses"]').textContent),
               Number(row.querySelector('[data-sweep="defenderLosses"]').textContent)]);""")
        if shown != wanted or len(wanted) != high - low + 1:
            problems.append('%s: the chart shows %d values, --vary gives %d; first '
                            'difference %r' % (name, len(shown), len(wanted),
                                               next((p for p in zip(shown, wanted)
                                                     if p[0] != p[1]), None)))
        points = browser.js('return document.querySelectorAll('
                            '"#sweep-chart polyline")[0].getAttribute("points")'
                            '.split(" ").length;')
        if points != len(wanted):
            problems.append('%s: the line has %d points' % (name, points))
    return problems


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    page.check_ready(site)
    server = page.Server(site)
    browser = page.Browser()
    problems = []
    counts = {}
    try:
        with tempfile.TemporaryDirectory() as workdir:
            line = transcript_scenario(program, 'support_artillery_two_pieces', workdir)
            scenario = json.loads(line)
            scenario['attacker']['combatSupport'] = [3]
            line = json.dumps(scenario, separators=(',', ':'))
            prediction, = page.native_predictions(program, [line], workdir)
            for name, check in [
                    ('questions shown and hidden', lambda: check_appearing(browser, server)),
                    ('yes/no answers as they look', lambda: check_yes_no_looks(
                        browser, server, program, workdir)),
                    ('wrong values', lambda: check_wrong_values(browser, server, line, prediction)),
                    ('a player\'s words', lambda: check_players_words(browser, server, program,
                                                                      workdir)),
                    ('units added and removed', lambda: check_units(browser, server, program, workdir)),
                    ('units not asked', lambda: check_ignored_units(browser, server, program, workdir)),
                    ('the next question below', lambda: check_next_question_below(
                        browser, server, program, workdir)),
                    ('the address', lambda: check_address(browser, server, program, workdir)),
                    ('export and import', lambda: check_files(browser, server, program, workdir)),
                    ('sharing', lambda: check_sharing(browser, server, program, workdir)),
                    ('new combat', lambda: check_new_combat(browser, server, program, workdir)),
                    ('a cleared number takes its default',
                     lambda: check_blank_default(browser, server, program, workdir)),
                    ('the sweep chart', lambda: check_sweep(browser, server, program, workdir))]:
                found = check()
                counts[name] = len(found)
                problems += found
    finally:
        browser.close()
        server.close()
    return page.report(problems, 'form checks (%s): %d problems' % (
        ', '.join('%s %s' % (name, 'passed' if not n else 'FAILED')
                  for name, n in counts.items()), len(problems)))


if __name__ == '__main__':
    sys.exit(main())
