// The experiment's own logic as compiled to WebAssembly, under Node: 20,000 trials at 50 rungs
// through its rung generation and descent agree with the exact odds.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { buildWeb } from './page.mjs';

test('20,000 trials at 50 rungs pass the chi-square test against the exact odds at 1 %',
     { timeout: 120000 }, () => {
    const output = execFileSync('node', [path.join(buildWeb, 'logic_check.js'), '20000', '50'],
                                { encoding: 'utf8' });
    const [, p] = output.match(/ p ([0-9.e-]+)/);
    assert.match(output, /^trials 20000$/m);
    assert.ok(Number(p) >= 0.01, output);
});
