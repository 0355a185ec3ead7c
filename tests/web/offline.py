#!/usr/bin/env python3
"""The page after one visit, with the network off: it is installable (a
manifest with an icon), its service worker keeps every file of the page,
and a reload with the browser offline, then with the server gone, still
shows the program's figures and recomputes them after a change.

  offline.py PROGRAM SITE_DIR OUT_DIR
"""
import json
import os
import sys
import tempfile

import page

# Until the service worker controls the page its files are not all kept yet.
CONTROLLED = ('navigator.serviceWorker && navigator.serviceWorker.controller'
              ' && navigator.serviceWorker.controller.state === "activated"')

# The addresses kept in the page's caches, relative to the page's folder.
KEPT = """
  const done = arguments[arguments.length - 1];
  (async () => {
    const base = new URL('.', location.href).href;
    const kept = [];
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      for (const request of await cache.keys()) kept.push(request.url.slice(base.length));
    }
    return kept;
  })().then(done, (error) => done('failed: ' + error));"""

# Whether a file that no cache keeps can be fetched: it must not be, offline.
FETCH_NOT_KEPT = """
  const done = arguments[arguments.length - 1];
  fetch('not-kept-' + Date.now() + '.txt', {cache: 'no-store'})
    .then((response) => done('answered ' + response.status),
          (error) => done('refused'));"""

# A change of the attacker's strength, as typing it would make.
CHANGE_STRENGTH = """
  const input = document.querySelector('[data-field="attacker.strength"]');
  input.value = String(arguments[0]);
  input.dispatchEvent(new Event('input', {bubbles: true}));"""


def set_offline(browser, offline):
    browser.driver.execute_cdp_cmd('Network.enable', {})
    browser.driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
        'offline': offline, 'latency': 0,
        'downloadThroughput': -1, 'uploadThroughput': -1})


def check_installable(site):
    """The manifest names the page, starts in its folder and has an icon
    that is there."""
    problems = []
    with open(os.path.join(site, 'index.html'), encoding='utf-8') as f:
        html = f.read()
    if '<link rel="manifest" href="manifest.webmanifest">' not in html:
        problems.append('index.html links no manifest.webmanifest')
    with open(os.path.join(site, 'manifest.webmanifest'), encoding='utf-8') as f:
        manifest = json.load(f)
    for key in ('name', 'short_name', 'start_url', 'display', 'icons'):
        if not manifest.get(key):
            problems.append('the manifest has no %s' % key)
    for icon in manifest.get('icons', []):
        if not os.path.exists(os.path.join(site, icon['src'])):
            problems.append('the manifest\'s icon %s is missing' % icon['src'])
    return problems


def check_figures(browser, prediction, where):
    if browser.state() != 'figures':
        return ['%s: the page is in state %r, not showing figures' %
                (where, browser.state())]
    return page.compare_figures(browser.figures(), prediction, where)


def check_offline(browser, server, site, lines, predictions):
    """One visit online; then offline the same address and another one,
    a change of strength, and a reload with the server stopped."""
    from selenium.common.exceptions import WebDriverException
    try:
        return visits(browser, server, site, lines, predictions)
    except WebDriverException as error:
        return ['the page could not be loaded: %s' % error.msg]


def visits(browser, server, site, lines, predictions):
    problems = []
    browser.open(page.scenario_url(server.url, lines[0]))
    browser.wait_for(CONTROLLED)
    problems += check_figures(browser, predictions[0], 'online')

    # Every file of the page is kept, whatever modules it has: all but the
    # service worker itself.
    kept = browser.driver.execute_async_script(KEPT)
    if isinstance(kept, str):
        return ['reading the caches %s' % kept]
    files = []
    for folder, _, names in os.walk(site):
        files += [os.path.relpath(os.path.join(folder, name), site) for name in names]
    files = sorted(name for name in files if name != 'sw.js')
    for name in files:
        if name not in kept:
            problems.append('the service worker does not keep %s' % name)

    set_offline(browser, True)
    try:
        answer = browser.driver.execute_async_script(FETCH_NOT_KEPT)
        if answer != 'refused':
            problems.append('offline, a file that is not kept was %s: the '
                            'browser is not offline' % answer)
        browser.open(page.scenario_url(server.url, lines[1]))
        browser.wait_for('document.getElementById("results").dataset.state === "figures"')
        problems += check_figures(browser, predictions[1], 'offline, reloaded')
        browser.js(CHANGE_STRENGTH, json.loads(lines[2])['attacker']['strength'])
        browser.wait_for('document.getElementById("results").dataset.state === "figures"')
        problems += check_figures(browser, predictions[2], 'offline, strength changed')
    finally:
        set_offline(browser, False)

    server.close()
    browser.driver.get(page.scenario_url(server.url, lines[0]))
    browser.wait_for('document.documentElement.dataset.ready === "true"')
    browser.wait_for('document.getElementById("results").dataset.state === "figures"')
    problems += check_figures(browser, predictions[0], 'server stopped')
    return problems


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    page.check_ready(site)
    with tempfile.TemporaryDirectory() as workdir:
        with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                               'support_artillery_two_pieces.in'), 'rb') as f:
            line = page.saved_scenarios(program, f.read(), workdir)[0]
        lines = []
        for strength in (10, 4, 7):
            scenario = json.loads(line)
            scenario['attacker']['strength'] = strength
            lines.append(json.dumps(scenario, separators=(',', ':')))
        predictions = page.native_predictions(program, lines, workdir)
    problems = check_installable(site)
    counts = {'installable': len(problems)}
    server = page.Server(site)
    browser = page.Browser()
    try:
        found = check_offline(browser, server, site, lines, predictions)
        counts['offline'] = len(found)
        problems += found
    finally:
        browser.close()
        server.close()
    return page.report(problems, 'offline checks (%s): %d problems' % (
        ', '.join('%s %s' % (name, 'passed' if not n else 'FAILED')
                  for name, n in counts.items()), len(problems)))


if __name__ == '__main__':
    sys.exit(main())
