// The page in the engines of a classroom's other browsers: Firefox (Debian's firefox-esr, over
// WebDriver BiDi with puppeteer-core) and WebKit (Debian's WebKitWebDriver with its MiniBrowser,
// on a private X display, with selenium-webdriver). Each engine gets the same few verbs, so that
// one flow runs in both.

import { spawn, spawnSync } from 'node:child_process';
import { setTimeout as sleep } from 'node:timers/promises';
import { chromium as playwrightChromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';
import { Builder, Key } from 'selenium-webdriver';

// Finds, inside the page, the element with `role` and accessible `name` as a person (or a
// screen reader) would: buttons and textboxes by their text or label, dialogs, regions and
// the status line by what labels them. Returns the element or null.
function findByRole(role, name) {
    const text = element => (element?.textContent ?? '').replace(/\s+/g, ' ').trim();
    const labelled = element => {
        const by = element.getAttribute('aria-labelledby');
        return by ? by.split(' ').map(id => text(document.getElementById(id))).join(' ')
                  : element.getAttribute('aria-label') ?? text(element);
    };
    const visible = element => element && !element.closest('[hidden], [inert]') &&
                               element.getClientRects().length > 0;
    const matches = value => name instanceof RegExp ? name.test(value) : value === name;
    const candidates = {
        button: 'button',
        dialog: 'dialog[open]',
        region: 'section[aria-labelledby]',
        textbox: 'input[type=text], input:not([type]), textarea',
        combobox: 'select',
        status: '[role=status]',
    }[role];
    for (const element of document.querySelectorAll(candidates)) {
        const label = role === 'textbox' || (role === 'combobox' && !element.hasAttribute('aria-label'))
            ? text(element.labels?.[0]) : labelled(element);
        if (visible(element) && (name === undefined || name === null || matches(label))) {
            return element;
        }
    }
    return null;
}

const finder = `(${findByRole})`;

export async function chromium() {
    const browser = await playwrightChromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
               '--disable-component-update', '--no-first-run', '--disable-sync'],
    });
    const page = await (await browser.newContext({ viewport: { width: 1366, height: 768 } }))
        .newPage();
    return {
        name: 'Chromium',
        goto: url => page.goto(url),
        // Resized, and given the time the page takes to scale its window again.
        resize: async (width, height) => {
            await page.setViewportSize({ width, height });
            await sleep(300);
        },
        screenshot: file => page.screenshot({ path: file }),
        evaluate: (script, ...args) => page.evaluate(script, ...args),
        find: async (role, name) => {
            const handle = await page.evaluateHandle(
                ([f, role, name, regex]) => eval(f)(role, regex ? new RegExp(name) : name),
                [finder, role, name instanceof RegExp ? name.source : name, name instanceof RegExp]);
            return handle.asElement();
        },
        click: element => element.click(),
        type: (element, text) => element.fill(text),
        pressEnter: element => element.press('Enter'),
        beforeScripts: script => page.addInitScript(script),
        close: () => browser.close(),
    };
}

export async function firefox() {
    const browser = await puppeteer.launch({
        browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
        extraPrefsFirefox: { 'media.autoplay.default': 1 },  // sound after a gesture only
    });
    const page = await browser.newPage();
    await page.setViewport({ width: 1366, height: 768 });
    const evaluate = (script, ...args) => page.evaluate(script, ...args);
    const find = async (role, name) => {
        const handle = await page.evaluateHandle(
            (f, role, name, regex) => eval(f)(role, regex ? new RegExp(name) : name),
            finder, role, name instanceof RegExp ? name.source : name, name instanceof RegExp);
        const element = handle.asElement();
        if (!element) {
            await handle.dispose();
        }
        return element;
    };
    return {
        name: 'Firefox',
        goto: url => page.goto(url),
        resize: async (width, height) => {
            await page.setViewport({ width, height });
            await sleep(300);
        },
        screenshot: file => page.screenshot({ path: file }),
        evaluate,
        beforeScripts: script => page.evaluateOnNewDocument(script),
        find,
        click: element => element.click(),
        type: async (element, text) => {
            await element.evaluate(entry => entry.select());  // typing replaces what is there
            await element.type(text);
        },
        pressEnter: element => element.press('Enter'),
        close: () => browser.close(),
    };
}

// Asks `answered` every tenth of a second until it is true, for `seconds` at most; throws naming
// `what` when it never is, so that no check fails on a helper that was not ready yet.
async function waitUntil(what, seconds, answered) {
    const end = Date.now() + seconds * 1000;
    while (!(await answered())) {
        if (Date.now() > end) {
            throw new Error(`${what} did not answer within ${seconds} s`);
        }
        await sleep(100);
    }
}

export async function webkit() {
    // Xvfb picks a free display itself and tells its number.
    const xvfb = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', '1400x900x24', '-nolisten',
                                'tcp'], { stdio: ['ignore', 'pipe', 'ignore'] });
    const display = await new Promise((resolve, reject) => {
        let told = '';
        xvfb.stdout.on('data', chunk => {
            told += chunk;
            if (told.includes('\n')) {
                resolve(`:${told.trim()}`);
            }
        });
        xvfb.on('exit', () => reject(new Error('Xvfb ended before it gave a display')));
    });
    const port = 20000 + Math.floor(Math.random() * 20000);
    let server;
    const stopAll = () => {
        server?.kill();
        xvfb.kill();
    };
    let driver;
    try {
        await waitUntil(`the X server on ${display}`, 30, () =>
            spawnSync('xdpyinfo', { env: { ...process.env, DISPLAY: display },
                                    stdio: 'ignore' }).status === 0);
        server = spawn('WebKitWebDriver', [`--port=${port}`],
                       { stdio: 'ignore', env: { ...process.env, DISPLAY: display } });
        await waitUntil('WebKitWebDriver', 30, async () => {
            try {
                const status = await fetch(`http://127.0.0.1:${port}/status`);
                return (await status.json()).value?.ready === true;
            } catch {
                return false;
            }
        });
        driver = await new Builder()
            .usingServer(`http://127.0.0.1:${port}`)
            .withCapabilities({
                browserName: 'MiniBrowser',
                'webkitgtk:browserOptions': {
                    binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                    args: ['--automation'],
                },
            })
            .build();
    } catch (error) {
        stopAll();
        throw error;
    }
    const evaluate = (script, ...args) =>
        driver.executeScript(`return (${script})(...arguments)`, ...args);
    const find = async (role, name) => {
        const isRegex = name instanceof RegExp;
        const element = await driver.executeScript(
            `return (${findByRole})(arguments[0], arguments[2] ? new RegExp(arguments[1]) : arguments[1])`,
            role, isRegex ? name.source : name, isRegex);
        return element ?? null;
    };
    // What the window's frame adds to the page's size, once it is known.
    let frame = [0, 0];
    return {
        name: 'WebKit',
        goto: url => driver.get(url),
        // The browser's window, made as large as its page must be, its frame measured from
        // what the page reports. The window manager takes its time on a busy machine, so this
        // waits until the page has that size, then for the page to lay out at it.
        resize: async (width, height) => {
            const inner = () => driver.executeScript('return [innerWidth, innerHeight]');
            let [outerWidth, outerHeight] = [width + frame[0], height + frame[1]];
            for (let attempt = 0; ; ++attempt) {
                await driver.manage().window().setRect({ width: outerWidth, height: outerHeight });
                // Polled until it is that size, or has kept another for a second: then the
                // frame is known, and the window is asked again.
                let seen = await inner();
                for (let same = 0, end = Date.now() + 10000; Date.now() < end && same < 10;) {
                    await sleep(100);
                    const now = await inner();
                    same = now[0] === seen[0] && now[1] === seen[1] ? same + 1 : 0;
                    seen = now;
                    if (seen[0] === width && seen[1] === height) {
                        break;
                    }
                }
                if (seen[0] === width && seen[1] === height) {
                    break;
                }
                if (attempt === 3) {
                    throw new Error(`WebKit: the page is ${seen.join('×')}, not ${width}×${height}`);
                }
                outerWidth += width - seen[0];
                outerHeight += height - seen[1];
            }
            frame = [outerWidth - width, outerHeight - height];
            await driver.executeAsyncScript(
                'requestAnimationFrame(() => requestAnimationFrame(arguments[0]))');
        },
        screenshot: async file => {
            const { writeFile } = await import('node:fs/promises');
            await writeFile(file, await driver.takeScreenshot(), 'base64');
        },
        evaluate,
        find,
        click: element => element.click(),
        type: async (element, text) => {
            await element.clear();
            await element.sendKeys(text);
        },
        pressEnter: element => element.sendKeys(Key.ENTER),
        close: async () => {
            try {
                await driver.quit();
            } finally {
                stopAll();
            }
        },
    };
}

// Waits until `role`/`name` is found (or, with `gone`, no longer found).
export async function waitFor(engine, role, name, { gone = false, timeout = 15000 } = {}) {
    const end = Date.now() + timeout;
    for (;;) {
        const element = await engine.find(role, name);
        if (gone ? !element : element) {
            return element;
        }
        if (Date.now() > end) {
            const seen = await engine.evaluate(() => [...document.querySelectorAll('dialog[open]')]
                .map(d => d.textContent).join(' | ') + ' / ' + document.activeElement?.id);
            throw new Error(`${engine.name}: ${role} ${name} ${gone ? 'still there' : 'not found'}` +
                            ` (open: ${seen})`);
        }
        await sleep(100);
    }
}

// Watches, from before the page's own scripts, for the prompt to open, and notes the time in
// the page's own clock (from the start of the navigation). Given to `beforeScripts`, which
// WebKitWebDriver has not.
export function watchPrompt() {
    new MutationObserver((_, observer) => {
        if (document.querySelector('dialog[open]')) {
            observer.disconnect();
            window.promptOpenedAt = performance.now();
        }
    }).observe(document, { subtree: true, attributes: true, childList: true });
}

// The time from the start of the navigation to the open prompt: as `watchPrompt` noted it, or
// else as an observer put in once the page has loaded sees it (where the prompt is already
// open by then, the time of that first look, so never less than the truth).
export const promptOpenedAt = () => new Promise(resolve => {
    const open = () => document.querySelector('dialog[open]');
    if (window.promptOpenedAt !== undefined || open()) {
        resolve(window.promptOpenedAt ?? performance.now());
        return;
    }
    new MutationObserver((_, observer) => {
        if (open()) {
            observer.disconnect();
            resolve(performance.now());
        }
    }).observe(document, { subtree: true, attributes: true, childList: true });
});

// The time of the page's first paint with content, or null in an engine that does not tell it.
export const firstPaintAt = () => new Promise(resolve => {
    if (!PerformanceObserver.supportedEntryTypes?.includes('paint')) {
        resolve(null);
        return;
    }
    new PerformanceObserver(list => {
        const paint = list.getEntriesByName('first-contentful-paint')[0];
        if (paint) {
            resolve(paint.startTime);
        }
    }).observe({ type: 'paint', buffered: true });
});

// Whether the page's own font has loaded (so that no stand-in draws its words), once the
// fonts it asked for have settled.
export const ownFontLoaded = () => document.fonts.ready.then(fonts =>
    [...fonts].some(face => face.family.replace(/"/g, '') === 'Hashigoro Gothic' &&
                            face.status === 'loaded'));
