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
import os
import sys
import tempfile

import page

# Every control that takes the focus, on show, in document order.
FOCUSABLE = """
  return [...document.querySelectorAll(
      'button:not([disabled]), input, select, a[href], summary')]
    .filter((node) => node.getClientRects().length > 0)
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
    for _ in range(len(wanted) + 1):
        ActionChains(browser.driver).send_keys(Keys.TAB).perform()
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

    # From the empty page: a menu answered with a key, a number typed,
    # a Combat Support unit added and removed with Enter and Space.
    browser.open(server.url + 'index.html')
    browser.js('arguments[0].focus();', browser.field('general.attackerClass'))
    ActionChains(browser.driver).send_keys('6').perform()
    if 'general.defenderIsInfantry' not in browser.shown_fields():
        problems.append('a menu answered from the keyboard changes nothing')
    ActionChains(browser.driver).send_keys(Keys.TAB).perform()
    if browser.js(NAME_OF_ACTIVE) != 'general.defenderIsInfantry':
        problems.append('Tab after the class goes to %r' % browser.js(NAME_OF_ACTIVE))
    browser.js('document.querySelector(\'[data-add="attacker.combatSupport"]\').focus();')
    ActionChains(browser.driver).send_keys(Keys.ENTER).perform()
    if browser.js(NAME_OF_ACTIVE) != 'attacker.combatSupport.0':
        problems.append('Enter on "Add" leaves the focus on %r' % browser.js(NAME_OF_ACTIVE))
    ActionChains(browser.driver).send_keys('12', Keys.TAB).perform()
    if browser.field('attacker.combatSupport.0').get_attribute('value') != '12':
        problems.append('the bars typed are not in the field')
    if browser.js(NAME_OF_ACTIVE) != 'attacker.combatSupport.0':
        problems.append('Tab after the bars goes to %r, not to their remove button'
                        % browser.js(NAME_OF_ACTIVE))
    ActionChains(browser.driver).send_keys(Keys.SPACE).perform()
    if browser.js('return document.querySelectorAll(\'[data-name="attacker.combatSupport"] li\').length;'):
        problems.append('Space on "Remove" keeps the Combat Support unit')
    if browser.js(NAME_OF_ACTIVE) != 'attacker.combatSupport':
        problems.append('after the removal the focus is on %r' % browser.js(NAME_OF_ACTIVE))
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


def set_viewport(browser, width, height):
    browser.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': height, 'deviceScaleFactor': 1,
        'mobile': False})


def whole_page_screenshot(browser, width, path):
    height = browser.js('return Math.min(8000, document.documentElement.scrollHeight);')
    set_viewport(browser, width, height)
    browser.driver.save_screenshot(path)
    set_viewport(browser, width, 900)


def check_widths(server, line, out):
    problems = []
    for width in (360, 1280):
        browser = page.Browser(width, 900)
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
            browser.driver.save_screenshot(os.path.join(out, 'page-%d-screen.png' % width))
            whole_page_screenshot(browser, width, os.path.join(out, 'page-%d.png' % width))
        finally:
            browser.close()
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
    for name in ('index.html', 'app.js', 'style.css'):
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
    try:
        browser = page.Browser()
        try:
            for name, check in [
                    ('keyboard', lambda: check_keyboard(browser, server, line)),
                    ('labels and contrast', lambda: check_labels_and_contrast(browser, server, line)),
                    ('offline', lambda: check_offline(browser, server, line, site))]:
                found = check()
                counts[name] = len(found)
                problems += found
        finally:
            browser.close()
        found = check_widths(server, line, out)
        counts['360 and 1280 px'] = len(found)
        problems += found
    finally:
        server.close()
    return page.report(problems, 'layout checks (%s): %d problems; screenshots '
                       'in %s' % (', '.join('%s %s' % (n, 'passed' if not c else 'FAILED')
                                            for n, c in counts.items()),
                                  len(problems), out))


if __name__ == '__main__':
    sys.exit(main())
