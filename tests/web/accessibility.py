#!/usr/bin/env python3
"""axe-core, the accessibility checker, on the page: no violation at 360
and 1280 px, in the light and the dark theme (prefers-color-scheme), with
figures on show, with the presets' tools and the Compare view open, with
a value that the dialogue refuses, and with a file's combats listed, a
yes/no answer that is neither and a roster's import waiting for a choice.

axe-core comes from npm (tests/web/package.json pins its version; `sh
scripts/setup.sh --all` installs it into tests/web/node_modules); without
it the test is skipped, or fails when ZELVORN_WEB_REQUIRED is set.

  accessibility.py PROGRAM SITE_DIR OUT_DIR
"""
import json
import os
import shutil
import sys
import tempfile

import page

AXE = os.path.join(page.HERE, 'node_modules', 'axe-core', 'axe.min.js')

# Runs axe on the whole document; calls back with its violations.
RUN_AXE = """
  const done = arguments[arguments.length - 1];
  axe.run(document, {resultTypes: ['violations']}).then(
    (results) => done(results.violations.map((v) => ({
      id: v.id, impact: v.impact, help: v.help,
      nodes: v.nodes.slice(0, 5).map((n) => n.target.join(' ') + ': ' +
                                           (n.failureSummary || '').split('\\n').slice(1).join(' '))}))),
    (error) => done([{id: 'axe failed', impact: '', help: String(error), nodes: []}]));"""

WIDTHS = (360, 1280)
THEMES = ('light', 'dark')


def set_view(browser, width, theme):
    browser.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': 800, 'deviceScaleFactor': 1, 'mobile': False})
    browser.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {
        'features': [{'name': 'prefers-color-scheme', 'value': theme}]})


def violations(browser, axe_source, where):
    if not browser.js('return typeof axe === "object";'):
        browser.js(axe_source)
    found = browser.driver.execute_async_script(RUN_AXE)
    return ['%s: %s (%s, %s): %s' % (where, v['id'], v['impact'], v['help'],
                                     ' | '.join(v['nodes']))
            for v in found]


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    page.check_ready(site)
    if not os.path.exists(AXE):
        page.skip('axe-core not found in %s (npm: axe-core; sh scripts/setup.sh '
                  '--all installs it)' % os.path.dirname(os.path.dirname(AXE)))
    with open(AXE, encoding='utf-8') as f:
        axe_source = f.read()
    workdir = tempfile.mkdtemp()
    with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                           'support_artillery_two_pieces.in'), 'rb') as f:
        line = page.saved_scenarios(program, f.read(), workdir)[0]
    # A file of two combats, listed on the page to choose from.
    combats = os.path.join(workdir, 'two combats.jsonl')
    with open(combats, 'w') as f:
        f.write(line + '\n' + line + '\n')
    server = page.Server(site)
    browser = page.Browser()
    problems = []
    checked = 0
    try:
        url = page.scenario_url(server.url, line)
        # The example roster kept in the browser: every preset tool on show.
        browser.open(url)
        with open(os.path.join(page.SOURCE, 'examples', 'roster.json'), encoding='utf-8') as f:
            browser.js('localStorage.setItem("zelvorn-roster", arguments[0]);', f.read())
        for theme in THEMES:
            for width in WIDTHS:
                set_view(browser, width, theme)
                browser.open(url)
                browser.wait_for('document.getElementById("results").dataset.state'
                                 ' === "figures"')
                where = '%s theme at %d px' % (theme, width)
                if not browser.js('return matchMedia("(prefers-color-scheme: %s)").matches;'
                                  % theme):
                    problems.append('%s: the browser does not take the theme' % where)
                problems += violations(browser, axe_source, where + ', figures')
                browser.js('document.getElementById("preset-fold").open = true;')
                browser.js('document.getElementById("compare-defender").click();')
                browser.wait_for('document.querySelectorAll("#compare-table tbody tr").length')
                # Every figure, and the console's questions of two fields
                # shown by their help controls.
                browser.js('document.getElementById("compare-every").click();'
                           'for (const id of ["f-attacker-strength", "f-general-attackerClass"])'
                           '  document.getElementById(id + "-help-button").click();')
                problems += violations(browser, axe_source, where + ', presets compared')
                browser.type_number('attacker.strength', '0')
                browser.wait_for('document.getElementById("results").dataset.state'
                                 ' === "invalid"')
                problems += violations(browser, axe_source, where + ', a value refused')
                # A file's combats listed, a yes/no answer that is neither,
                # a roster imported over the kept presets.
                browser.driver.find_element('id', 'import-file').send_keys(combats)
                browser.wait_for('!document.getElementById("file-combats").hidden')
                browser.answer('attacker.leaderChoice', '1')
                browser.answer('general.attackerClass', '1')
                browser.wait_for('document.querySelector(".neither:not([hidden])")')
                browser.driver.find_element('id', 'import-roster').send_keys(
                    os.path.join(page.SOURCE, 'examples', 'roster.json'))
                browser.wait_for('!document.getElementById("import-choice").hidden')
                problems += violations(browser, axe_source, where + ', choices of files')
                checked += 4
    finally:
        browser.close()
        server.close()
        shutil.rmtree(workdir)
    return page.report(problems, 'accessibility: %d views checked by axe-core %s: '
                       '%d violations' % (checked, axe_version(), len(problems)))


def axe_version():
    with open(os.path.join(os.path.dirname(AXE), 'package.json'), encoding='utf-8') as f:
        return json.load(f)['version']


if __name__ == '__main__':
    sys.exit(main())
