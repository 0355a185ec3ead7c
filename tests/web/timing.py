#!/usr/bin/env python3
"""How fast the page is on this machine, and how much it weighs.

- Load to first odds: from the start of the navigation to the moment the
  figures are in the page (#results turns to state "figures", seen by an
  observer that the browser installs before the page's own scripts run),
  for a combat with support fire loaded by its link.  The first visit comes
  from the server; the later loads from the service worker's cache: the
  median of those.
- One recomputation: a changed answer to the figures shown for it (the
  page recomputes within the input event), and to the next frame drawn
  after it; the medians over many changes, each checked against the
  program's figures for that answer.
- The size of the page's files: every file in its folder.

Prints the figures against the targets (150 ms, 5 ms, 400 KB).  The times
depend on how busy the machine is, so only a gross regression fails the
test (ten times a target); the size fails when it is over its target.

  timing.py PROGRAM SITE_DIR OUT_DIR [LOADS] [CHANGES]
"""
import json
import os
import statistics
import sys
import tempfile

import page

LOAD_TARGET_MS = 150
RECOMPUTE_TARGET_MS = 5
SIZE_TARGET = 400 * 1024
GROSS = 10

# Installed in every new document before the page's scripts: notes the time
# at which the figures first stand in the page.
FIGURES_OBSERVER = """
  new MutationObserver((changes, observer) => {
    const results = document.getElementById('results');
    if (results && results.dataset.state === 'figures') {
      window.zelvornTimingFiguresAt = performance.now();
      observer.disconnect();
    }
  }).observe(document, {subtree: true, childList: true, attributes: true,
                        attributeFilter: ['data-state']});"""

# When the figures stood in the page, and whether the service worker
# answered the navigation.
LOAD_FIGURES = """
  const navigation = performance.getEntriesByType('navigation')[0];
  return [window.zelvornTimingFiguresAt, navigation.workerStart > 0];"""

# One change of the attacker's strength, timed in the page: until the
# figures are shown, and until the next frame is drawn.
CHANGE = """
  const [value, done] = [arguments[0], arguments[arguments.length - 1]];
  const input = document.querySelector('[data-field="attacker.strength"]');
  const start = performance.now();
  input.value = String(value);
  input.dispatchEvent(new Event('input', {bubbles: true}));
  const shown = performance.now();
  requestAnimationFrame(() => setTimeout(() =>
    done([shown - start, performance.now() - start]), 0));"""


def site_sizes(site):
    sizes = {}
    for folder, _, names in os.walk(site):
        for name in names:
            path = os.path.join(folder, name)
            sizes[os.path.relpath(path, site)] = os.path.getsize(path)
    return dict(sorted(sizes.items()))


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    loads = int(sys.argv[4]) if len(sys.argv) > 4 else 9
    changes = int(sys.argv[5]) if len(sys.argv) > 5 else 40
    page.check_ready(site)
    problems = []

    sizes = site_sizes(site)
    total = sum(sizes.values())
    if total > SIZE_TARGET:
        problems.append('the page weighs %d bytes, more than %d' % (total, SIZE_TARGET))

    with tempfile.TemporaryDirectory() as workdir:
        with open(os.path.join(page.SOURCE, 'tests', 'transcripts',
                               'support_artillery_two_pieces.in'), 'rb') as f:
            line = page.saved_scenarios(program, f.read(), workdir)[0]
        strengths = [1 + i % 30 for i in range(changes)]
        variants = []
        for strength in strengths:
            scenario = json.loads(line)
            scenario['attacker']['strength'] = strength
            variants.append(json.dumps(scenario))
        predictions = page.native_predictions(program, variants, workdir)

    server = page.Server(site)
    browser = page.Browser()
    browser.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                   {'source': FIGURES_OBSERVER})
    first_visit = None
    load_times = []
    shown_times = []
    drawn_times = []
    try:
        url = page.scenario_url(server.url, line)
        for n in range(loads + 1):
            browser.open(url)
            browser.wait_for('window.zelvornTimingFiguresAt !== undefined')
            at, from_worker = browser.js(LOAD_FIGURES)
            if n == 0:
                first_visit = at
                # The later loads come from the service worker's cache.
                browser.wait_for('navigator.serviceWorker.controller')
            elif not from_worker:
                problems.append('load %d did not come from the service worker' % n)
            else:
                load_times.append(at)
        for strength, prediction in zip(strengths, predictions):
            shown, drawn = browser.driver.execute_async_script(CHANGE, strength)
            shown_times.append(shown)
            drawn_times.append(drawn)
            browser.wait_for('document.getElementById("results").dataset.state === "figures"')
            problems += page.compare_figures(browser.figures(), prediction,
                                             'attacker strength %d' % strength)
    finally:
        browser.close()
        server.close()

    load = statistics.median(load_times) if load_times else float('inf')
    shown = statistics.median(shown_times)
    drawn = statistics.median(drawn_times)
    if load > GROSS * LOAD_TARGET_MS:
        problems.append('load to first odds takes %.0f ms' % load)
    if shown > GROSS * RECOMPUTE_TARGET_MS:
        problems.append('a recomputation takes %.1f ms' % shown)
    print('load to first odds: median %.0f ms over %d loads from the service '
          'worker\'s cache (target %d ms; %s); first visit %.0f ms' %
          (load, len(load_times), LOAD_TARGET_MS,
           'met' if load < LOAD_TARGET_MS else 'NOT met', first_visit))
    print('one recomputation: median %.2f ms to the figures, %.2f ms to the next '
          'frame, over %d changes (target %d ms; %s)' %
          (shown, drawn, changes, RECOMPUTE_TARGET_MS,
           'met' if shown < RECOMPUTE_TARGET_MS else 'NOT met'))
    print('page files: %s; total %d bytes = %.1f KB (target %d KB; %s)' %
          (', '.join('%s %d' % item for item in sizes.items()), total,
           total / 1024, SIZE_TARGET // 1024, 'met' if total <= SIZE_TARGET else 'NOT met'))
    print('machine load average: %.1f' % os.getloadavg()[0])
    with open(os.path.join(out, 'timing.txt'), 'w') as f:
        f.write(json.dumps({'first_visit_ms': first_visit, 'loads_ms': load_times,
                            'figures_ms': shown_times, 'frame_ms': drawn_times,
                            'sizes': sizes}) + '\n')
    return page.report(problems, 'timing: %d problems' % len(problems))


if __name__ == '__main__':
    sys.exit(main())
