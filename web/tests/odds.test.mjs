// The answer sheet in the page: the same table as the desktop's command line, the same power,
// a simulation that runs, is cancelled and runs again, and downloads that open.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { openPage, prompt, answerPrompt, button } from './page.mjs';

const odds = process.env.HASHIGORO_ODDS ?? '../build/app/hashigoro-odds/hashigoro-odds';
const parseCsv = text => text.trim().split('\n').map(line => line.split(','));

async function openSheet() {
    const opened = await openPage();
    const { page } = opened;
    await answerPrompt(page, '10');
    await prompt(page).waitFor({ state: 'hidden' });
    await button(page, 'はしごろう＿理論値').click();
    opened.sheet = page.getByRole('region', { name: 'はしごろう＿理論値' });
    await opened.sheet.waitFor();
    return opened;
}

async function downloadText(page, name) {
    const [download] = await Promise.all([page.waitForEvent('download'),
                                          button(page, name).click()]);
    return { name: download.suggestedFilename(), data: readFileSync(await download.path()) };
}

test('the table in the page is the command line\'s, and its power sentence too',
     { timeout: 60000 }, async () => {
    const { browser, page, sheet, requests } = await openSheet();
    try {
        for (const start of [4, 2]) {
            await sheet.getByLabel('スタートの線').selectOption(String(start));
            const { name, data } = await downloadText(page, '表を CSV で保存…');
            assert.equal(name, `hashigoro-odds-start${start}.csv`);
            const ours = parseCsv(data.toString());
            const desktop = parseCsv(execFileSync(odds, ['--csv', '--start', String(start)],
                                                  { encoding: 'utf8' }));
            assert.deepEqual(ours[0], desktop[0]);
            assert.equal(ours.length, 227);
            for (const rungs of [10, 50, 120]) {
                for (let c = 1; c <= 10; ++c) {
                    assert.ok(Math.abs(Number(ours[rungs + 1][c]) - Number(desktop[rungs + 1][c]))
                              <= 1e-12, `start ${start}, ${rungs} rungs, column ${c}`);
                }
            }
        }
        await sheet.getByLabel('横線の本数').first().fill('30');
        const power = execFileSync(odds, ['--power', '--rungs', '30', '--start', '2'],
                                   { encoding: 'utf8' });
        const trials = Number(power.match(/power 80 %: (\d+) trials/)[1]);
        await page.waitForFunction(t => document.getElementById('OddsPowerSentence').textContent
                                   .includes(`約 ${t.toLocaleString('en')} 回`),
                                   trials < 100 ? trials : Number(trials.toPrecision(2)));
        assert.deepEqual(requests.filter(url => !/^(file|data|blob):/.test(url)), []);
    } finally {
        await browser.close();
    }
});

test('a simulation runs, is cancelled at once, and runs again', { timeout: 120000 }, async () => {
    const { browser, page, sheet, errors } = await openSheet();
    try {
        const verdict = page.locator('#OddsVerdict');
        await sheet.getByLabel('試行回数').fill('1000000');
        await button(page, '実行').click();
        await page.waitForFunction(() => document.getElementById('OddsProgress').value > 0);
        // The page goes on while it runs.
        await sheet.getByLabel('横線の本数').first().fill('100');
        assert.equal(await button(page, '実行').isEnabled(), false);
        await button(page, '中止').click();
        await page.waitForFunction(() => /中止までの/.test(
            document.getElementById('OddsVerdict').textContent), null, { timeout: 5000 });
        assert.equal(await button(page, '実行').isEnabled(), true);
        await sheet.getByLabel('試行回数').fill('5000');
        await button(page, '実行').click();
        await page.waitForFunction(() => /^5,000 回（横線 50 本）：カイ二乗/.test(
            document.getElementById('OddsVerdict').textContent), null, { timeout: 30000 });
        assert.match(await verdict.textContent(), /理論値との差は/);
        const { name, data } = await downloadText(page, 'グラフを PNG で保存…');
        assert.equal(name, 'hashigoro-odds-50.png');
        assert.equal(data.subarray(1, 4).toString(), 'PNG');
        assert.deepEqual(errors, []);
    } finally {
        await browser.close();
    }
});
