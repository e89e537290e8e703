// A class's first steps in the page: the language chosen in the first prompt, a keyboard that
// finds the next action after each button, Escape out of the help, and a browser that keeps
// nothing told so once, where the result line is.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { withPage, prompt, answerPrompt, button } from './page.mjs';

const focused = page => page.evaluate(() => document.activeElement?.id ?? '');

test('the first prompt carries the language menu, and a switch says everything anew',
     { timeout: 60000 }, async () => {
    await withPage({}, async ({ page }) => {
        await prompt(page).waitFor();
        const menu = prompt(page).getByRole('combobox');
        await menu.selectOption('en');
        // The prompt itself, already open, speaks English, and the menu goes back to its corner.
        const english = prompt(page, 'Ladder Lottery: Number of Rungs');
        await english.waitFor();
        assert.match(await english.textContent(), /Enter a whole number from 10 to 50/);
        await answerPrompt(page, '10', 'Ladder Lottery: Number of Rungs');
        await english.waitFor({ state: 'hidden' });
        assert.equal(await page.locator('#Corner #Language').count(), 1);
        // A copied line's word and the announcer change with the language.
        await button(page, 'Build ladders and draw').click();
        await button(page, 'Stop').click();
        await page.locator('#CopyResult').click();
        await page.locator('#CopySaid:not(:empty)').waitFor();
        await page.locator('#Language').selectOption('ko');
        assert.equal(await page.locator('#CopySaid').textContent(), '');
        assert.equal(await page.locator('#Announcer').textContent(), '');
        assert.match(await page.locator('#ResultLine').textContent(), /^가로선 10개/);
        // The answer sheet carries it too, above everything else of the page.
        await page.locator('#OpenOdds').click();
        await page.locator('#OddsTop #Language').waitFor();
        await page.keyboard.press('Escape');
        await page.locator('#Corner #Language').waitFor();
    });
});

test('the focus goes to the next action, and Escape closes the help', { timeout: 60000 },
     async () => {
    await withPage({}, async ({ page }) => {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        assert.equal(await focused(page), 'Command1', 'after the prompt: start');
        await page.keyboard.press('Enter');
        assert.equal(await focused(page), 'Command5', 'after start: stop');
        await page.waitForFunction(() => document.getElementById('Announcer').textContent !== '');
        await page.keyboard.press('Enter');
        assert.equal(await focused(page), 'Command1', 'after stop: start');
        await button(page, 'HELP').click();
        await page.locator('#Form2').waitFor();
        await page.keyboard.press('Escape');
        await page.locator('#Form2').waitFor({ state: 'detached' });
        await prompt(page).waitFor();
    });
});

test('a browser that keeps nothing is said so once, beside the result line', { timeout: 60000 },
     async () => {
    const refuse = () => {
        Storage.prototype.setItem = () => { throw new DOMException('refused', 'SecurityError'); };
    };
    await withPage({ before: refuse }, async ({ page }) => {
        for (const rungs of ['10', '20']) {
            await answerPrompt(page, rungs);
            await prompt(page).waitFor({ state: 'hidden' });
            await button(page, 'はしごろう作成・抽選の開始').click();
            await page.waitForFunction(() => /本目に着きました/.test(
                document.getElementById('Announcer').textContent), null, { timeout: 10000 });
            await page.getByRole('button', { name: /^停[\s\u3000]+止$/ }).click();
            // Kept at the initialisation that gives it up: refused here.
            await button(page, '初期化').click();
            await prompt(page).waitFor();
            const said = page.getByRole('region', { name: '実験の結果' }).locator('#NotKept');
            assert.equal(await said.textContent(),
                         'このブラウザーは結果をこの端末に残せません。行をコピーして残してください。');
            assert.equal(await said.isVisible(), true);
        }
    });
});
