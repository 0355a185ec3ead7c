#!/usr/bin/env python3
"""How fast the page is on this machine, and how much it weighs.

- Load to first odds: from the start of the navigation to the moment the
  page shows its first figures (the page's performance mark
  "zelvorn-first-figures"), for a combat with support fire loaded by its
  link; the median of several loads.
- One recomputation: a changed answer to the figures shown for it (the
  page recomputes within the input event), and to the next frame drawn
  after it; the medians over many changes, each checked against the
  program's figures for that answer.
- The size of the page's files.

Prints the medians and the size against the targets (1 s, 5 ms, 400 KB)
and fails when the size is over its target or a median is more than twice
its target.

  timing.py PROGRAM SITE_DIR OUT_DIR [LOADS] [CHANGES]
"""
import json
import os
import statistics
import sys
import tempfile

import page

LOAD_TARGET_MS = 1000
RECOMPUTE_TARGET_MS = 5
SIZE_TARGET = 400 * 1024


def page_files(site):
    """Every file of the page's folder, by its path within it."""
    found = []
    for folder, _, names in os.walk(site):
        found += [os.path.relpath(os.path.join(folder, n), site) for n in names]
    return sorted(found)

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


def main():
    program, site, out = [os.path.abspath(a) for a in sys.argv[1:4]]
    loads = int(sys.argv[4]) if len(sys.argv) > 4 else 9
    changes = int(sys.argv[5]) if len(sys.argv) > 5 else 40
    page.check_ready(site)
    problems = []

    sizes = {name: os.path.getsize(os.path.join(site, name)) for name in page_files(site)}
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
    load_times = []
    shown_times = []
    drawn_times = []
    try:
        url = page.scenario_url(server.url, line)
        for _ in range(loads):
            browser.open(url)
            browser.wait_for('performance.getEntriesByName("zelvorn-first-figures").length')
            load_times.append(browser.js(
                'return performance.getEntriesByName("zelvorn-first-figures")[0].startTime;'))
        for strength, prediction in zip(strengths, predictions):
            shown, drawn = browser.driver.execute_async_script(CHANGE, strength)
            shown_times.append(shown)
            drawn_times.append(drawn)
            problems += page.compare_figures(browser.figures(), prediction,
                                             'attacker strength %d' % strength)
    finally:
        browser.close()
        server.close()

    load = statistics.median(load_times)
    shown = statistics.median(shown_times)
    drawn = statistics.median(drawn_times)
    if load > 2 * LOAD_TARGET_MS:
        problems.append('load to first odds takes %.0f ms' % load)
    if shown > 2 * RECOMPUTE_TARGET_MS:
        problems.append('a recomputation takes %.1f ms' % shown)
    print('load to first odds: median %.0f ms over %d loads (target %d ms; %s)' %
          (load, loads, LOAD_TARGET_MS, 'met' if load < LOAD_TARGET_MS else 'NOT met'))
    print('one recomputation: median %.2f ms to the figures, %.2f ms to the next '
          'frame, over %d changes (target %d ms; %s)' %
          (shown, drawn, changes, RECOMPUTE_TARGET_MS,
           'met' if shown < RECOMPUTE_TARGET_MS else 'NOT met'))
    print('page files: %s; total %d bytes = %.1f KB (target %d KB; %s)' %
          (', '.join('%s %d' % item for item in sizes.items()), total,
           total / 1024, SIZE_TARGET // 1024, 'met' if total <= SIZE_TARGET else 'NOT met'))
    with open(os.path.join(out, 'timing.txt'), 'w') as f:
        f.write(json.dumps({'loads_ms': load_times, 'figures_ms': shown_times,
                            'frame_ms': drawn_times, 'sizes': sizes}) + '\n')
    return page.report(problems, 'timing: %d problems' % len(problems))


if __name__ == '__main__':
    sys.exit(main())
