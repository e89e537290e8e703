// The whole experiment in the page, as a class would use it.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, prompt, answerPrompt, button } from './page.mjs';
import { ownFontLoaded } from './engines.mjs';

const start = page => button(page, 'はしごろう作成・抽選の開始');
const stop = page => page.getByRole('button', { name: /^停[\s\u3000]+止$/ });
const squaresShown = page => page.locator('#Picture1 .square:not([hidden]):not(#Picture2)').count();

test('a whole experiment: prompt, trials, stop, go on, initialise, help and back, quit',
     { timeout: 120000 }, async () => {
    const { browser, page, requests, errors } = await openPage();
    try {
        await prompt(page).waitFor();
        assert.equal(await page.evaluate(ownFontLoaded), true, 'the page\'s own font');
        assert.equal(await prompt(page).getByRole('textbox').inputValue(), '50');
        assert.match(await prompt(page).innerText(), /10以上50以下の整数を入力してください．．．/);
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        for (const [name, enabled] of [['はしごろう作成・抽選の開始', true], ['終了', true],
                                       ['HELP', true], ['初期化', false]]) {
            assert.equal(await button(page, name).isEnabled(), enabled, name);
        }
        assert.equal(await stop(page).isEnabled(), false);

        await start(page).click();
        assert.equal(await stop(page).isEnabled(), true);
        assert.equal(await start(page).isEnabled(), false);
        // The first arrival is announced and shows its square under its column.
        const announcer = page.getByRole('status');
        await page.waitForFunction(() => /本目に着きました/.test(
            document.getElementById('Announcer').textContent), null, { timeout: 10000 });
        const said = await announcer.textContent();
        const [, line, times] = said.match(/^(\d+)本目に着きました（\1本目は(\d+)回目）$/);
        assert.equal(times, '1');
        const board = await page.locator('#Picture1').boundingBox();
        const square = await page.locator(`#o${line}_1`).boundingBox();
        // Line k from the left is column k + 1, at 49 window pixels a column inside the frame.
        const scale = board.width / 641;
        const under = board.x + scale * (2 + 49 * (Number(line) + 1) + 0.5);
        assert.ok(Math.abs(square.x + square.width / 2 - under) <= 2 * scale,
                  `${square.x} vs ${under}`);

        await stop(page).click();
        const kept = await squaresShown(page);
        assert.ok(kept >= 1);
        assert.equal(await button(page, '初期化').isEnabled(), true);
        // Go on: the tallies stay and grow.
        await start(page).click();
        await page.waitForTimeout(5600);
        await stop(page).click();
        assert.ok(await squaresShown(page) > kept);

        await button(page, '初期化').click();
        await prompt(page).waitFor();
        assert.equal(await squaresShown(page), 0);
        await answerPrompt(page, '30');
        await prompt(page).waitFor({ state: 'hidden' });

        await button(page, 'HELP').click();
        const help = page.getByRole('region', { name: 'はしごろう＿ヘルプ（設問と操作方法）' });
        await help.waitFor();
        assert.equal(await page.locator('.help-line').count(), 12);
        assert.match(await help.innerText(), /みなさんは、抽選に「はしごろう」を使うことがありますか。/);
        await button(page, '閉じる').click();
        await prompt(page).waitFor();
        await answerPrompt(page, '10');

        // Quit, answered no, changes nothing; answered yes, the page says it has ended.
        const confirm = page.getByRole('dialog', { name: 'はしごろう' });
        await button(page, '終了').click();
        await confirm.waitFor();
        assert.match(await confirm.innerText(), /終了していいですか？/);
        await confirm.getByRole('button', { name: /いいえ/ }).click();
        await confirm.waitFor({ state: 'hidden' });
        assert.equal(await start(page).isEnabled(), true);
        await button(page, '終了').click();
        await confirm.getByRole('button', { name: /はい/ }).click();
        await page.getByText('はしごろうを終了しました。').waitFor();
        assert.equal(await page.locator('#Form1').count(), 0);
        await button(page, 'もう一度はじめる').click();
        await prompt(page).waitFor();

        // The single file asks for nothing but itself: its WebAssembly is inside.
        assert.deepEqual(requests.filter(url => url !== page.url() && !/^data:/.test(url)), []);
        assert.deepEqual(errors, []);
    } finally {
        await browser.close();
    }
});

test('the prompt refuses what the desktop refuses, and asks before it quits',
     { timeout: 60000 }, async () => {
    const { browser, page } = await openPage();
    try {
        const entry = prompt(page).getByRole('textbox');
        await prompt(page).waitFor();
        for (const refused of ['abc', '9', '51', '50.5', '-20', '５０．５', '　　']) {
            await answerPrompt(page, refused);
            // The box opens again at once, with its default entry.
            assert.equal(await entry.inputValue(), '50', refused);
            assert.ok(await prompt(page).isVisible(), refused);
        }
        // Cancel (or an empty entry) asks whether to quit; Escape leaves that box alone.
        await entry.press('Escape');
        const confirm = page.getByRole('dialog', { name: '確認' });
        await confirm.waitFor();
        await page.keyboard.press('Escape');
        assert.ok(await confirm.isVisible());
        await confirm.getByRole('button', { name: /いいえ/ }).click();
        await prompt(page).waitFor();
        await answerPrompt(page, '');
        await confirm.waitFor();
        await confirm.getByRole('button', { name: /いいえ/ }).click();
        // Full-width digits and the ideographic space read as the desktop reads them.
        await answerPrompt(page, '　２０本');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう作成・抽選の開始').click();
        await page.waitForFunction(() => document.getElementById('Label1').textContent === '20',
                                   null, { timeout: 5000 });
    } finally {
        await browser.close();
    }
});

test('the experiment works from the keyboard alone, and a dialog gives the focus back',
     { timeout: 60000 }, async () => {
    const { browser, page } = await openPage();
    const focused = () => page.evaluate(() => document.activeElement.id);
    const tabTo = async (id, key = 'Tab') => {
        for (let i = 0; i < 12 && await focused() !== id; ++i) {
            await page.keyboard.press(key);
        }
        assert.equal(await focused(), id);
    };
    try {
        await prompt(page).waitFor();
        assert.equal(await focused(), 'InputEntry');  // the entry holds the focus, selected
        await page.keyboard.type('10');
        await page.keyboard.press('Enter');
        await prompt(page).waitFor({ state: 'hidden' });
        await tabTo('Command1');
        await page.keyboard.press('Enter');
        await tabTo('Command5');
        await page.keyboard.press(' ');
        assert.equal(await button(page, 'はしごろう作成・抽選の開始').isEnabled(), true);
        await tabTo('Command3', 'Shift+Tab');
        await page.keyboard.press('Enter');
        const confirm = page.getByRole('dialog', { name: 'はしごろう' });
        await confirm.waitFor();
        assert.equal(await focused(), 'Yes');  // Yes is the default button
        await page.keyboard.press('Tab');
        assert.equal(await focused(), 'No');
        await page.keyboard.press('Enter');
        await confirm.waitFor({ state: 'hidden' });
        assert.equal(await focused(), 'Command3');
    } finally {
        await browser.close();
    }
});
