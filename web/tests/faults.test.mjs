// What a review of the page found, each kept mended: the answer sheet's boxes and modality, the
// boxes' keys and closing, the end of an experiment for a screen reader, failures, downloads,
// sound under a browser's autoplay rules, input methods and huge trial counts.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, withPage as withOpenPage, prompt, answerPrompt, button } from './page.mjs';

const sheetOf = page => page.getByRole('region', { name: 'はしごろう＿理論値' });

// A page whose prompt has opened.
const withPage = (options, body) => withOpenPage(options, async opened => {
    await prompt(opened.page).waitFor();
    await body(opened);
});

async function openSheet(page) {
    await answerPrompt(page, '10');
    await prompt(page).waitFor({ state: 'hidden' });
    await button(page, 'はしごろう＿理論値').click();
    await sheetOf(page).waitFor();
    return sheetOf(page);
}

test('the sheet\'s rung count can be cleared and retyped; the sheet holds the focus like a modal window',
     { timeout: 60000 }, async () => {
    await withPage({}, async ({ page }) => {
        const sheet = await openSheet(page);
        // Opened, the focus is on its title: no keyboard pops up over the charts.
        assert.equal(await page.evaluate(() => document.activeElement.id), 'OddsTitle');
        // No entry under 16 px, which Safari on an iPad would zoom into.
        const smallest = await page.evaluate(() => Math.min(...[...document.querySelectorAll(
            'input:not([type=range]), select')].map(e => parseFloat(getComputedStyle(e).fontSize))));
        assert.ok(smallest >= 16, `${smallest} px`);
        const rungs = sheet.getByRole('spinbutton', { name: '横線の本数' }).first();
        await rungs.click();
        await rungs.press('End');
        await rungs.press('Backspace');
        await rungs.press('Backspace');
        assert.equal(await rungs.inputValue(), '');
        await rungs.pressSequentially('30');
        assert.equal(await rungs.inputValue(), '30');
        await page.waitForFunction(() => document.getElementById('OddsDistance').textContent
                                   .startsWith('横線 30 本'));
        // Settled out of range, the box shows the count it chose.
        await rungs.fill('300');
        await rungs.press('Tab');
        await page.waitForFunction(() => document.getElementById('OddsRungs').value === '225');

        // Tab never leaves the sheet for the experiment it covers; Escape closes it.
        for (let i = 0; i < 25; ++i) {
            await page.keyboard.press('Tab');
            assert.ok(await page.evaluate(() =>
                document.getElementById('OddsSheet').contains(document.activeElement) ||
                document.activeElement === document.body), `tab ${i}`);
        }
        assert.equal(await page.evaluate(() => document.getElementById('Desktop').inert), true);
        await page.keyboard.press('Escape');
        await sheet.waitFor({ state: 'hidden' });
        assert.equal(await page.evaluate(() => document.activeElement.id), 'OpenOdds');
        assert.equal(await page.evaluate(() => document.getElementById('Desktop').inert), false);
    });
});

test('Y and N answer the quit box, as on the desktop; a box closed by the browser is not lost',
     { timeout: 60000 }, async () => {
    await withPage({}, async ({ page }) => {
        // The browser closes the prompt (a back gesture): as キャンセル, the program asks on.
        await page.evaluate(() => document.querySelector('dialog[open]').close());
        const confirm = page.getByRole('dialog', { name: '確認' });
        await confirm.waitFor();
        await confirm.getByRole('button', { name: /いいえ/ }).click();
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });

        const quit = page.getByRole('dialog', { name: 'はしごろう' });
        await button(page, '終了').click();
        await quit.waitFor();
        await page.evaluate(() => document.querySelector('dialog[open]').close());
        await quit.waitFor();  // the yes/no box's only ways out are its buttons
        await page.keyboard.press('n');
        await quit.waitFor({ state: 'hidden' });
        assert.equal(await button(page, 'はしごろう作成・抽選の開始').isEnabled(), true);
        await button(page, '終了').click();
        await quit.waitFor();
        await page.keyboard.press('Y');
        await page.getByText('はしごろうを終了しました。').waitFor();
    });
});

test('the Enter that commits an input method\'s conversion does not answer the prompt',
     { timeout: 30000 }, async () => {
    await withPage({}, async ({ page }) => {
        const entry = prompt(page).getByRole('textbox');
        await entry.fill('３０');
        await entry.evaluate(element => element.dispatchEvent(new KeyboardEvent('keydown',
            { key: 'Enter', code: 'Enter', isComposing: true, bubbles: true })));
        await page.waitForTimeout(300);
        assert.equal(await prompt(page).isVisible(), true);
        await entry.press('Enter');
        await prompt(page).waitFor({ state: 'hidden' });
    });
});

test('an experiment\'s end is told to a screen reader', { timeout: 180000 }, async () => {
    const opened = await openPage();
    const { page, browser } = opened;
    try {
        await page.clock.install();
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう作成・抽選の開始').click();
        // At most 201 trials, five seconds apart.
        for (let minute = 0; minute < 18; ++minute) {
            await page.clock.runFor(60000);
            if (/満杯/.test(await page.getByRole('status').textContent())) {
                break;
            }
        }
        assert.match(await page.getByRole('status').textContent(),
                     /^(\d+)本目に着きましたが、\1本目はもう満杯です。実験はここで終わりです。横線\d+本　(\d+ ){9}\d+　\1本目が満杯で終了$/);
    } finally {
        await browser.close();
    }
});

test('an error inside the page is shown, with a way to start again', { timeout: 30000 },
     async () => {
    await withPage({}, async ({ page }) => {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await page.evaluate(() => document.getElementById('Label1').remove());
        await button(page, 'はしごろう作成・抽選の開始').click();
        const failure = page.getByRole('alertdialog', { name: 'はしごろうが止まりました' });
        await failure.waitFor();
        await failure.getByRole('button', { name: '読み込み直す' }).click();
        // Under the open prompt, the box comes above it: a click lands only where nothing lies over.
        await prompt(page).waitFor();
        await page.evaluate(() => setTimeout(() => { throw new Error('a test of failures'); }));
        assert.match(await failure.innerText(), /a test of failures/);
        await failure.getByRole('button', { name: '読み込み直す' }).click({ timeout: 5000 });
        await prompt(page).waitFor();
        assert.equal(await failure.count(), 0);
    });
});

test('downloads let go of their data; a huge trial count runs the most it can',
     { timeout: 60000 }, async () => {
    const before = () => {
        window.madeUrls = [];
        window.revokedUrls = [];
        const make = URL.createObjectURL;
        const revoke = URL.revokeObjectURL;
        URL.createObjectURL = blob => { const url = make(blob); madeUrls.push(url); return url; };
        URL.revokeObjectURL = url => { revokedUrls.push(url); revoke(url); };
    };
    await withPage({ before }, async ({ page }) => {
        const sheet = await openSheet(page);
        await Promise.all([page.waitForEvent('download'),
                           button(page, '表を CSV で保存…').click()]);
        // Kept while Safari on an iPad may still be asking the person; let go with the page.
        await page.waitForTimeout(1500);
        assert.deepEqual(await page.evaluate(() => [madeUrls.length, revokedUrls.length]), [1, 0]);
        await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pagehide')));
        assert.deepEqual(await page.evaluate(() => revokedUrls), await page.evaluate(() => madeUrls));

        await sheet.getByRole('spinbutton', { name: '試行回数' }).fill('1e10');
        await button(page, '実行').click();
        await page.waitForTimeout(1500);
        // Not 100 trials in a blink: a million, under way.
        assert.equal(await button(page, '中止').isEnabled(), true);
        await button(page, '中止').click();
        await page.waitForFunction(() =>
            document.getElementById('OddsVerdict').textContent.startsWith('中止までの'));
    });
});

test('the first chime finds its audio context running, under the gesture rule; between chimes it sleeps, and after an interruption a new one sounds',
     { timeout: 30000 }, async () => {
    const before = () => {
        window.chimeStates = [];
        window.contexts = [];
        const Original = window.AudioContext;
        window.AudioContext = class extends Original {
            constructor(...args) {
                super(...args);
                contexts.push(this);
            }
        };
        const start = AudioBufferSourceNode.prototype.start;
        AudioBufferSourceNode.prototype.start = function (...args) {
            chimeStates.push(this.context.state);
            return start.apply(this, args);
        };
    };
    await withPage({ before }, async ({ page }) => {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'HELP').click();
        await page.waitForFunction(() => chimeStates.length === 1);
        assert.deepEqual(await page.evaluate(() => chimeStates), ['running']);
        // Asleep once the chime has sounded: other audio on an iPad goes on.
        await page.waitForFunction(() => contexts[0].state === 'suspended', null, { timeout: 5000 });
        // Taken away by the system (a call), the next gesture makes a new one, and it sounds.
        await page.evaluate(() => contexts[0].close());
        await button(page, '閉じる').click();
        await answerPrompt(page, '10');
        await button(page, 'HELP').click();
        await page.waitForFunction(() => chimeStates.length === 2);
        assert.equal(await page.evaluate(() => contexts.length), 2);
        await page.waitForFunction(() => contexts[1].state === 'running', null, { timeout: 5000 });
    });
});
