// What a school meets in the field, each kept mended: long lessons, embeds, devices that cannot
// run the page, redeployed pages, input methods, and results that must survive the tab.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, prompt, answerPrompt, helpRoundTrips, heapAfterCollection } from './page.mjs';

test('a long lesson\'s help visits leave no window behind', { timeout: 120000 }, async () => {
    const { browser, page } = await openPage({});
    try {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await helpRoundTrips(page, 1);
        const first = await heapAfterCollection(page);
        await helpRoundTrips(page, 20);
        const after = await heapAfterCollection(page);
        assert.equal(after.detachedCanvases, 0);
        // The browser's own records grow a little (undo steps, layout shifts); a window left
        // behind each time would add some 60 KB.
        assert.ok(after.heapBytes - first.heapBytes < 400e3, `${after.heapBytes - first.heapBytes} bytes`);
    } finally {
        await browser.close();
    }
});
