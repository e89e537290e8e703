// A finished experiment's result line in the page: beside the window, copied with one button,
// and kept on the device, once, as on the desktop.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, prompt, answerPrompt, button } from './page.mjs';

test('an experiment given up after an arrival leaves its result line beside the window',
     { timeout: 60000 }, async () => {
    const { browser, context, page } = await openPage();
    try {
        await context.grantPermissions(['clipboard-read', 'clipboard-write']);
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう作成・抽選の開始').click();
        await page.waitForFunction(() => /本目に着きました/.test(
            document.getElementById('Announcer').textContent), null, { timeout: 10000 });
        await page.getByRole('button', { name: /^停[\s\u3000]+止$/ }).click();
        // A stop may still be resumed: its line is shown, and nothing is kept yet.
        const results = page.getByRole('region', { name: '実験の結果' });
        await results.waitFor();
        const line = await page.locator('#ResultLine').textContent();
        assert.equal(await page.evaluate(() => localStorage.getItem('hashigoro.results')), null);
        await button(page, '初期化').click();
        await prompt(page).waitFor();
        // The line kept is the one shown at the stop, with the experiment's own tag.
        const kept = await page.locator('#ResultLine').textContent();
        assert.match(line, /^横線10本　(\d+ ){9}\d+　途中で終了$/);
        assert.match(kept, /^横線10本　(\d+ ){9}\d+　途中で終了　#[0-9a-z]{6}$/);
        assert.ok(kept.startsWith(line));
        const counts = line.split('　')[1].split(' ').map(Number);
        assert.equal(counts.reduce((a, b) => a + b), 1);  // the one arrival before the stop
        // Beside the window, not inside it, and covering none of it.
        assert.equal(await page.evaluate(() =>
            document.getElementById('Form1').contains(document.getElementById('Results'))), false);
        await page.waitForFunction(() =>
            document.getElementById('Form1').getBoundingClientRect().bottom <=
            document.getElementById('Results').getBoundingClientRect().top);
        // The emptied bars record nothing more when the prompt is answered again.
        await answerPrompt(page, '20');
        await prompt(page).waitFor({ state: 'hidden' });
        // The device keeps the order of the arrivals after it: here the one square's line.
        assert.equal(await page.evaluate(() => localStorage.getItem('hashigoro.results')),
                     `${kept}　@${counts.indexOf(1)}\n`);
        await results.getByRole('button', { name: 'コピー' }).click();
        assert.equal(await page.evaluate(() => navigator.clipboard.readText()), kept);
    } finally {
        await browser.close();
    }
});

test('the answer sheet follows this device\'s experiment arrival by arrival', { timeout: 90000 },
     async () => {
    const { browser, page, errors } = await openPage();
    try {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう作成・抽選の開始').click();
        await button(page, 'はしごろう＿理論値').click();
        const own = page.getByRole('region', { name: 'この端末の実験の相対度数の推移' });
        await own.waitFor();
        // Two squares, drawn as they come while the sheet is open.
        const bars = () => page.locator('#OddsOwnSaid').textContent();
        await page.waitForFunction(() => {
            const said = document.getElementById('OddsOwnSaid').textContent;
            return /^横線10本　/.test(said) &&
                said.split('　')[1].split(' ').map(Number).reduce((a, b) => a + b) === 2;
        }, null, { timeout: 20000 });
        const counts = (await bars()).split('　')[1].split(' ').map(Number);
        const table = page.locator('#OddsOwnChart + .sr-only table');
        await table.locator('tr').nth(2).waitFor({ state: 'attached' });
        assert.deepEqual(await table.locator('th').allTextContents(),
                         ['この実験の試行回数', '3本目 (%)']);
        const last = await table.locator('tr').last().locator('td').allTextContents();
        assert.deepEqual(last, ['2', (50 * counts[2]).toFixed(1)]);
        // Another line, chosen by a person, is drawn from the same arrivals.
        await own.getByRole('combobox', { name: '線' }).selectOption('2本目');
        await page.waitForFunction(() => document.querySelector('#OddsOwnChart + .sr-only table th:last-child')
            ?.textContent === '2本目 (%)');
        assert.deepEqual(errors, []);
    } finally {
        await browser.close();
    }
});
