#!/usr/bin/env python3
"""The page for everyone: the keyboard alone reaches and works every
control in reading order with a visible focus, every control has its
label, the page reads in one column at 360 px and in columns at 1280 px
without sideways scrolling, text has enough contrast, and the page asks no
other host for anything.  Writes page-1280.png and page-360.png (the whole
page) and page-1280-screen.png and page-360-screen.png (its first screen)
into OUT_DIR.

  layout.py PROGRAM SITE_DIR OUT_DIR
"""
import json
import os
import sys
import tempfile

import page

# Every control that takes the focus, on show (not within a closed fold),
# in document order.
FOCUSABLE = """
  return [...document.querySelectorAll(
      'button:not([disabled]), input, select, a[href], summary')]
    .filter((node) => node.getClientRects().length > 0 &&
                      !node.closest('details:not([open]) > :not(summary)'))
    .map((node) => node.dataset.field || node.dataset.add ||
                   node.dataset.remove || node.id || node.textContent.trim());"""

NAME_OF_ACTIVE = """
  const node = document.activeElement;
  return node.dataset.field || node.dataset.add ||
         node.dataset.remove || node.id || node.textContent.trim();"""

# Controls without a label of their own, and clickable things that are
# not buttons.
UNLABELLED = """
  const missing = [];
  for (const node of document.querySelectorAll('input, select')) {
    if (node.getClientRects().length === 0) continue;
    const label = node.id && document.querySelector('label[for="' + node.id + '"]');
    if (!label || !label.textContent.trim()) missing.push(node.id || node.outerHTML.slice(0, 80));
  }
  for (const node of document.querySelectorAll('[data-add], [data-remove], #export, #new-combat')) {
    if (node.tagName !== 'BUTTON' || node.type !== 'button') missing.push('not a button: ' + node.outerHTML.slice(0, 80));
  }
  for (const node of document.querySelectorAll('[onclick], [role="button"], [tabindex]:not([tabindex="-1"])')) {
    missing.push('script-made control: ' + node.outerHTML.slice(0, 80));
  }
  return missing;"""

# WCAG contrast of each kind of text against what lies behind it.
CONTRAST = """
  function rgb(text) {
    const m = text.match(/[\\d.]+/g).map(Number);
    return {r: m[0], g: m[1], b: m[2], a: m.length > 3 ? m[3] : 1};
  }
  function luminance(c) {
    const f = (v) => { v /= 255; return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * f(c.r) + 0.7152 * f(c.g) + 0.0722 * f(c.b);
  }
  function background(node) {
    for (; node && node.nodeType === 1; node = node.parentNode) {
      const c = rgb(getComputedStyle(node).backgroundColor);
      if (c.a > 0) return c;
    }
    return {r: 255, g: 255, b: 255, a: 1};
  }
  const worst = [];
  for (const selector of arguments[0]) {
    for (const node of document.querySelectorAll(selector)) {
      if (node.getClientRects().length === 0 || !node.textContent.trim()) continue;
      const style = getComputedStyle(node);
      const fg = luminance(rgb(node instanceof SVGElement ? style.fill : style.color));
      const bg = luminance(background(node));
      const ratio = (Math.max(fg, bg) + 0.05) / (Math.min(fg, bg) + 0.05);
      worst.push([selector, Math.round(ratio * 100) / 100]);
      break;
    }
  }
  return worst;"""

TEXTS = ['h1', '.lead', 'h2', '.question', 'legend', 'option', 'button', 'button:disabled',
         'button.remove', '.status', '.error', 'table.figures th', 'table.figures td',
         '.note', '.capped', '.chart text', '.legend', '.messages', 'a']


def check_keyboard(browser, server, line):
    """Tab goes through every control in document order, with a visible
    focus; menus, numbers and buttons work from the keyboard."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    problems = []
    browser.open(page.scenario_url(server.url, line))
    wanted = browser.js(FOCUSABLE)
    browser.js('document.activeElement.blur(); window.scrollTo(0, 0);')
    reached = []
    for _ in range(len(wanted)):
        # The focus moves when the browser has handled the key, which may
        # take a while on a busy machine.
        browser.js('window.focusBefore = document.activeElement;')
        ActionChains(browser.driver).send_keys(Keys.TAB).perform()
        try:
            browser.wait_for('document.activeElement !== window.focusBefore && '
                             'document.activeElement !== document.body')
        except AssertionError:
            problems.append('Tab after %r moves the focus nowhere' %
                            (reached[-1] if reached else 'the start'))
            break
        name = browser.js(NAME_OF_ACTIVE)
        style = browser.js('const s = getComputedStyle(document.activeElement);'
                           'return [s.outlineStyle, parseFloat(s.outlineWidth)];')
        if style[0] == 'none' or style[1] < 2:
            problems.append('no visible focus on %s: %s' % (name, style))
        if reached and name == reached[0]:
            break
        reached.append(name)
    # The file input takes the focus once, or twice where its button is a
    # stop of its own.
    reached = [n for i, n in enumerate(reached) if not (n == 'import-file' and reached[i - 1] == n)]
    if reached[:len(wanted)] != wanted:
        at = next((i for i, (a, b) in enumerate(zip(reached, wanted)) if a != b),
                  min(len(reached), len(wanted)))
        problems.append('tab order: at %d the focus goes to %r, not %r' %
                        (at, reached[at:at + 3], wanted[at:at + 3]))

    # From the example: a menu answered with a key, a yes/no box with
    # Space, a number typed, a Combat Support unit added and removed with
    # Enter and Space.  Each step waits for what it must bring about.
    def after_keys(keys, condition, failure):
        ActionChains(browser.driver).send_keys(*keys).perform()
        try:
            browser.wait_for(condition, timeout=10)
        except AssertionError:
            problems.append(failure + ' (the focus is on %r)' % browser.js(NAME_OF_ACTIVE))

    def active_is(name):
        return ('(document.activeElement.dataset.field || document.activeElement.dataset.add'
                ' || document.activeElement.dataset.remove) === "%s"' % name)

    browser.open(server.url + 'index.html')
    browser.js('arguments[0].focus();', browser.field('general.attackerClass'))
    shown = ('document.querySelector(\'[data-field="general.defenderIsInfantry"]\')'
             '.getClientRects().length > 0')
    # A menu entry found by its word; the field's help control stands
    # between it and the next question.
    after_keys(['art'], shown, 'a menu answered from the keyboard changes nothing')
    after_keys([Keys.TAB, Keys.TAB], active_is('general.defenderIsInfantry'),
               'Tab after the class does not go to the next question')
    after_keys([Keys.SPACE], 'document.activeElement.dataset.value === "true"',
               'Space does not answer yes')
    browser.js('document.querySelector(\'[data-add="attacker.combatSupport"]\').focus();')
    after_keys([Keys.ENTER], active_is('attacker.combatSupport.0'),
               'Enter on "Add" does not go to the new unit')
    after_keys(['12'], 'document.activeElement.value === "12"',
               'the bars typed are not in the field')
    after_keys([Keys.TAB, Keys.TAB], active_is('attacker.combatSupport.0'),
               'Tab after the bars does not go to their remove button')
    after_keys([Keys.SPACE], active_is('attacker.combatSupport') + ' && '
               '!document.querySelector(\'[data-name="attacker.combatSupport"] li\')',
               'Space on "Remove" does not remove the unit and go to "Add"')
    return problems


def boxes(browser):
    return browser.js("""
        const box = (s) => { const r = document.querySelector(s).getBoundingClientRect();
                             return {left: r.left, right: r.right, top: r.top, bottom: r.bottom}; };
        const columns = [...document.querySelectorAll('#questions > .column')].map((c) => {
          const r = c.getBoundingClientRect();
          return {left: r.left, right: r.right, top: r.top, bottom: r.bottom}; });
        const wide = [...document.querySelectorAll('body *')].filter((n) =>
          n.getClientRects().length && n.getBoundingClientRect().right > innerWidth + 0.5 &&
          !n.closest('.visually-hidden')).map((n) => n.tagName + '.' + n.className);
        return {viewport: innerWidth,
                scroll: document.documentElement.scrollWidth,
                questions: box('#questions'), results: box('#results'),
                columns, wide: wide.slice(0, 5)};""")


# Menus on show too narrow for their longest entry: the entry's text width
# in the menu's font, its padding and room for the arrow against its width.
CUT_MENUS = """
  const context = document.createElement('canvas').getContext('2d');
  const cut = [];
  for (const select of document.querySelectorAll('select')) {
    if (!select.getClientRects().length) continue;
    const style = getComputedStyle(select);
    context.font = style.font;
    const widest = Math.max(...[...select.options].map((o) => context.measureText(o.text).width));
    const room = select.clientWidth - parseFloat(style.paddingLeft) -
                 parseFloat(style.paddingRight) - 16;
    if (widest > room) cut.push([select.id, Math.round(widest), Math.round(room)]);
  }
  return cut;"""


def set_viewport(browser, width, height):
    browser.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': height, 'deviceScaleFactor': 1,
        'mobile': False})


def whole_page_screenshot(browser, width, path):
    height = browser.js('return Math.min(8000, document.documentElement.scrollHeight);')
    set_viewport(browser, width, height)
    browser.driver.save_screenshot(path)
    set_viewport(browser, width, 900)


def clear_viewport(browser):
    """Back to the browser window's own size (1280 by 900)."""
    browser.driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})


def check_widths(browser, server, line, out):
    problems = []
    for width in (360, 1280):
        try:
            # A window cannot be made as narrow as a phone: the page is.
            set_viewport(browser, width, 900)
            browser.open(page.scenario_url(server.url, line))
            browser.wait_for('!document.getElementById("sweep").hidden')
            b = boxes(browser)
            if b['viewport'] != width:
                problems.append('%d px: the page is %d px wide' % (width, b['viewport']))
            if b['scroll'] > b['viewport'] or b['wide']:
                problems.append('%d px: the page scrolls sideways (%d px; %s)' %
                                (width, b['scroll'], b['wide']))
            first, second = b['columns']
            if width == 360:
                if not (second['top'] >= first['bottom'] - 1 and
                        b['results']['top'] >= b['questions']['bottom'] - 1):
                    problems.append('360 px: not one column: %s' % b)
            else:
                if not (second['left'] >= first['right'] - 1 and
                        b['results']['left'] >= b['questions']['right'] - 1):
                    problems.append('1280 px: not side by side: %s' % b)
            if width == 1280:
                for menu, widest, room in browser.js(CUT_MENUS):
                    problems.append('1280 px: the menu %s cuts its longest entry (%d px in '
                                    '%d px)' % (menu, widest, room))
            browser.driver.save_screenshot(os.path.join(out, 'page-%d-screen.png' % width))
            whole_page_screenshot(browser, width, os.path.join(out, 'page-%d.png' % width))
        finally:
            clear_viewport(browser)
    return problems


# Where the focused control lies against the fixed odds in brief, and the
# labels of the units' table whose word runs over two lines.
FOCUS_IN_SIGHT = """
  const node = document.activeElement;
  const r = node.getBoundingClientRect();
  const summary = document.getElementById('summary').getBoundingClientRect();
  return {name: node.dataset.field || node.dataset.add || node.dataset.remove || node.id ||
                node.textContent.trim().slice(0, 40),
          top: r.top, bottom: r.bottom, summaryTop: summary.top,
          inSummary: node.closest('#summary') !== null};"""

BROKEN_WORDS = """
  const broken = [];
  for (const th of document.querySelectorAll('.units-table th[scope="row"]')) {
    if (!th.getClientRects().length) continue;
    const text = th.firstChild;
    if (!text || text.nodeType !== Node.TEXT_NODE) continue;
    const re = /\\S+/g;
    let match;
    while ((match = re.exec(text.data))) {
      const range = document.createRange();
      range.setStart(text, match.index);
      range.setEnd(text, match.index + match[0].length);
      const lines = new Set([...range.getClientRects()].map((r) => Math.round(r.top)));
      if (lines.size > 1) broken.push(match[0]);
    }
  }
  return broken;"""


def check_narrow_focus(server, line):
    """At 360 px every focus stop, Tab from the top, lies wholly above the
    fixed odds in brief, no label of the units' table breaks a word
    ("Entrenchment" whole), and a question shown by its help control covers
    no other row."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    problems = []
    browser = page.Browser(360, 640)
    try:
        set_viewport(browser, 360, 640)
        browser.open(page.scenario_url(server.url, line))
        browser.wait_for('!document.getElementById("sweep").hidden')
        for word in browser.js(BROKEN_WORDS):
            problems.append('360 px: the label word %r breaks over two lines' % word)
        if 'Entrenchment' not in browser.js('return document.querySelector(\'tr[data-attribute='
                                            '"entrenchment"] th\').textContent;'):
            problems.append('360 px: no row named Entrenchment')
        # The console's question, once asked for, takes room of its own:
        # the next row moves down rather than lie under it.
        browser.js('document.getElementById(arguments[0].id + "-help-button").click();',
                   browser.field('attacker.initiative'))
        overlap = browser.js("""
            const help = document.getElementById(arguments[0].id + '-help').getBoundingClientRect();
            const next = arguments[0].closest('tr').nextElementSibling.getBoundingClientRect();
            return help.height > 0 && help.bottom <= next.top + 0.5 ? null : [help.bottom, next.top];""",
                             browser.field('attacker.initiative'))
        if overlap:
            problems.append('360 px: the initiative\'s question covers the next row %s' % overlap)
        browser.js('document.activeElement.blur(); window.scrollTo(0, 0);')
        stops = 0
        for _ in range(300):
            browser.js('window.focusBefore = document.activeElement;')
            ActionChains(browser.driver).send_keys(Keys.TAB).perform()
            browser.wait_for('document.activeElement !== window.focusBefore')
            # The browser scrolls the focus into sight as it moves it.
            where = browser.js(FOCUS_IN_SIGHT)
            if where['inSummary']:
                break
            stops += 1
            if where['top'] < 0 or where['bottom'] > where['summaryTop']:
                problems.append('360 px: focus stop %d (%s) is not wholly above the odds in '
                                'brief (%.0f..%.0f, the odds from %.0f)' % (
                                    stops, where['name'], where['top'], where['bottom'],
                                    where['summaryTop']))
        if stops < 40:
            problems.append('360 px: only %d focus stops before the odds in brief' % stops)
    finally:
        browser.close()
    return problems


# The summary's figures that lie wholly inside the viewport, by name.
SUMMARY_IN_VIEW = """
  const shown = {};
  for (const node of document.querySelectorAll('[data-summary-figure]')) {
    const r = node.getBoundingClientRect();
    if (r.width > 0 && r.top >= 0 && r.bottom <= innerHeight && r.left >= 0 &&
        r.right <= innerWidth) shown[node.dataset.summaryFigure] = node.textContent;
  }
  return shown;"""


def summary_wanted(prediction):
    """The figures the summary must show for a prediction of --json."""
    supported = prediction['supportFire']['kind'] != 'none'
    wanted = {'ruggedChance': str(prediction['ruggedChance'])}
    for group in ('odds', 'oddsNoSupport') if supported else ('odds',):
        for key, value in prediction[group].items():
            wanted[group + '.' + key] = str(value)
    return wanted


def check_odds_in_sight(browser, server, program, workdir):
    """The page opens on the example combat with its odds; at 360 px the
    summary stays in the viewport while the answers scroll, with the
    program's figures after every change, and names a wrong answer with a
    link to it; at 1280 px the prediction has no scroll bar of its own."""
    problems = []
    with open(os.path.join(page.SOURCE, 'examples', 'first_combat.in'), 'rb') as f:
        example = json.loads(page.saved_scenarios(program, f.read(), workdir)[0])
    changes = [('attacker.strength', 4), ('defender.attackValue', 15),
               ('attacker.experience', 3), ('defender.entrenchment', 2),
               ('defender.strength', 1)]
    variants = [example]
    for name, value in changes:
        variant = json.loads(json.dumps(variants[-1]))
        group, key = name.split('.')
        variant[group][key] = value
        variants.append(variant)
    predictions = page.native_predictions(
        program, [json.dumps(v) for v in variants], workdir)
    try:
        set_viewport(browser, 360, 640)
        browser.open(server.url + 'index.html')
        if browser.state() != 'figures':
            problems.append('on load the page shows no odds (%s)' % browser.state())
        problems += page.compare_figures(browser.figures(), predictions[0], 'on load')
        for (name, value), prediction in zip(changes, predictions[1:]):
            browser.js('arguments[0].scrollIntoView({block: "center"});', browser.field(name))
            browser.type_number(name, value)
            where = '360 px, %s = %s' % (name, value)
            shown = browser.js(SUMMARY_IN_VIEW)
            if shown != summary_wanted(prediction):
                problems.append('%s: the summary in sight shows %s, the program gives %s'
                                % (where, shown, summary_wanted(prediction)))
            problems += page.compare_figures(browser.figures(), prediction, where)
        # A wrong answer: the summary names it and leads to it.
        browser.js('window.scrollTo(0, 0);')
        browser.type_number('defender.strength', '0')
        link = browser.js("""
            const a = document.querySelector('#summary a[href^="#f-"]');
            const r = a && a.getBoundingClientRect();
            return a && r.top >= 0 && r.bottom <= innerHeight ? a.textContent : null;""")
        if link is None or 'Strength' not in link:
            problems.append('360 px: with a wrong strength the summary says %r' % link)
        else:
            browser.click('#summary a[href^="#f-"]')
            browser.wait_for('document.activeElement.dataset.field === "defender.strength"')
        if browser.js(SUMMARY_IN_VIEW):
            problems.append('360 px: the summary shows figures for a wrong answer')
    finally:
        clear_viewport(browser)
    try:
        browser.open(server.url + 'index.html')
        inner = browser.js("""
            const r = document.getElementById('results');
            const style = getComputedStyle(r);
            return [r.scrollHeight - r.clientHeight, style.overflowY];""")
        if inner[0] > 1 or inner[1] in ('auto', 'scroll'):
            problems.append('1280 px: the prediction scrolls on its own: %s' % inner)
        if browser.js('return getComputedStyle(document.getElementById("summary")).display') != 'none':
            problems.append('1280 px: the summary is on show beside the whole prediction')
    finally:
        clear_viewport(browser)
    return problems


def check_labels_and_contrast(browser, server, line):
    problems = []
    browser.open(page.scenario_url(server.url, line))
    browser.wait_for('!document.getElementById("sweep").hidden')
    problems += ['unlabelled: %s' % m for m in browser.js(UNLABELLED)]
    for selector, ratio in browser.js(CONTRAST, TEXTS):
        if ratio < 4.5:
            problems.append('contrast of %s is %.2f:1' % (selector, ratio))
    # Errors and the disabled export button, on an invalid answer.
    browser.type_number('attacker.strength', '0')
    for selector, ratio in browser.js(CONTRAST, ['.error', '.status', 'button:disabled']):
        if ratio < 4.5:
            problems.append('contrast of %s is %.2f:1' % (selector, ratio))
    # The same in the dark theme, which follows the system's.
    browser.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {
        'features': [{'name': 'prefers-color-scheme', 'value': 'dark'}]})
    try:
        if browser.js('return getComputedStyle(document.documentElement).backgroundColor') == 'rgb(255, 255, 255)':
            problems.append('the dark theme keeps a white page')
        for selector, ratio in browser.js(CONTRAST, ['.error', '.status', 'button:disabled']):
            if ratio < 4.5:
                problems.append('dark theme: contrast of %s is %.2f:1' % (selector, ratio))
        browser.type_number('attacker.strength', '10')
        browser.wait_for('!document.getElementById("sweep").hidden')
        for selector, ratio in browser.js(CONTRAST, TEXTS):
            if ratio < 4.5:
                problems.append('dark theme: contrast of %s is %.2f:1' % (selector, ratio))
    finally:
        browser.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {'features': []})
    return problems


def check_offline(browser, server, line, site):
    """Nothing is asked of another host, and the page's files name none."""
    problems = []
    browser.open(page.scenario_url(server.url, line))
    browser.wait_for('!document.getElementById("sweep").hidden')
    for url in browser.js('return performance.getEntriesByType("resource")'
                          '.map((e) => e.name);'):
        if not url.startswith(server.url) and not url.startswith('data:'):
            problems.append('the page asked for %s' % url)
    names = ['index.html', 'app.js', 'style.css'] + [
        os.path.join('page', n) for n in sorted(os.listdir(os.path.join(site, 'page')))]
    for name in names:
        with open(os.path.join(site, name), encoding='utf-8') as f:
            text = f.read().replace('http://www.w3.org/2000/svg', '')
        if 'http://' in text or 'https://' in text or '//' + 'cdn' in text:
            problems.append('%s names another host' % name)
    return problems


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    page.check_ready(site)
    with tempfile.TemporaryDirectory() as workdir:
        with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                               'support_artillery_two_pieces.in'), 'rb') as f:
            line = page.saved_scenarios(program, f.read(), workdir)[0]
    server = page.Server(site)
    problems = []
    counts = {}
    # One browser for every check: each loads the page afresh, at the width
    # it sets.
    browser = page.Browser()
    try:
        with tempfile.TemporaryDirectory() as workdir:
            for name, check in [
                    ('keyboard', lambda: check_keyboard(browser, server, line)),
                    ('labels and contrast', lambda: check_labels_and_contrast(browser, server, line)),
                    ('offline', lambda: check_offline(browser, server, line, site)),
                    ('360 and 1280 px', lambda: check_widths(browser, server, line, out)),
                    ('odds in sight', lambda: check_odds_in_sight(browser, server, program,
                                                                  workdir)),
                    # A window of its own: Tab moves the focus as in a
                    # real 360 px window.
                    ('focus above the odds at 360 px',
                     lambda: check_narrow_focus(server, line))]:
                found = check()
                counts[name] = len(found)
                problems += found
    finally:
        browser.close()
        server.close()
    return page.report(problems, 'layout checks (%s): %d problems; screenshots '
                       'in %s' % (', '.join('%s %s' % (n, 'passed' if not c else 'FAILED')
                                            for n, c in counts.items()),
                                  len(problems), out))


if __name__ == '__main__':
    sys.exit(main())
