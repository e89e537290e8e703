// What a person would find wrong with the page as it stands on a screen, measured inside the
// page in any engine: `audit` is evaluated there and returns a list of faults (empty if none).

// Runs in the page. Looks at everything shown (the main window, or the answer sheet when open):
// - nothing reaches past the screen's width, and the page never scrolls sideways;
// - no caption or text is cut by its own box;
// - every target a finger uses is at least 24 × 24 CSS px and is what a tap at its centre hits;
// - the answer sheet scrolls no further than its content.
export function audit() {
    const faults = [];
    const width = window.innerWidth;
    const name = element => element.id ? '#' + element.id
        : element.tagName.toLowerCase() + '.' + [...element.classList].join('.') + ' "' +
          (element.textContent ?? '').trim().slice(0, 20) + '"';
    const shown = element => element.getClientRects().length > 0 &&
        !element.closest('[hidden], .sr-only, [inert]') &&
        getComputedStyle(element).visibility !== 'hidden';
    const sheet = document.querySelector('.sheet:not([hidden])');
    const scope = sheet ?? document.body;
    if (!sheet && document.documentElement.scrollWidth > width + 1) {
        faults.push(`the page scrolls sideways (${document.documentElement.scrollWidth} > ${width})`);
    }
    if (sheet && sheet.scrollWidth > sheet.clientWidth + 1) {
        faults.push(`the answer sheet scrolls sideways (${sheet.scrollWidth} > ${sheet.clientWidth})`);
    }
    const dialogs = [...document.querySelectorAll('dialog[open]')];
    for (const element of scope.querySelectorAll('*')) {
        if (!shown(element) || element.closest('canvas')) {
            continue;
        }
        const box = element.getBoundingClientRect();
        if (box.right > width + 1 && getComputedStyle(element).position !== 'fixed') {
            faults.push(`${name(element)} reaches past the screen (${Math.round(box.right)} > ${width})`);
        }
        const style = getComputedStyle(element);
        const ownText = [...element.childNodes].some(node => node.nodeType === 3 &&
                                                              node.textContent.trim());
        if (ownText && style.overflow !== 'visible' &&
            (element.scrollWidth > element.clientWidth + 1 ||
             element.scrollHeight > element.clientHeight + 2)) {
            faults.push(`${name(element)} cuts its text (${element.scrollWidth}×${element.scrollHeight} in ` +
                        `${element.clientWidth}×${element.clientHeight})`);
        }
    }
    // The targets: buttons, choices, entries, and the labels that stand for hidden inputs.
    const targets = [...scope.querySelectorAll('button, select, input, textarea, label.button, label.class-show')]
        .filter(element => shown(element) && !(element.tagName === 'INPUT' &&
                                               (element.closest('label') || element.type === 'file')));
    if (sheet) {
        targets.push(...[...document.querySelectorAll('#Corner select, #Corner button')].filter(shown));
    }
    for (const target of targets) {
        // Inside an open dialog's page only the dialog is reachable.
        if (dialogs.length > 0 && !dialogs.some(dialog => dialog.contains(target))) {
            continue;
        }
        target.scrollIntoView({ block: 'center', inline: 'center' });
        const box = target.getBoundingClientRect();
        if (box.width < 24 - 0.01 || box.height < 24 - 0.01) {
            faults.push(`${name(target)} is ${box.width.toFixed(1)}×${box.height.toFixed(1)} px`);
        }
        const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
        const label = target.tagName === 'LABEL' ? target.control : null;
        if (!hit || !(target.contains(hit) || hit === label || hit.closest('label') === target)) {
            faults.push(`${name(target)} is covered at its centre by ${hit ? name(hit) : 'nothing'}`);
        }
    }
    if (sheet) {
        sheet.scrollTop = 0;
        const top = sheet.getBoundingClientRect().top;
        let bottom = 0;
        for (const child of sheet.querySelectorAll('*')) {
            if (shown(child)) {
                bottom = Math.max(bottom, child.getBoundingClientRect().bottom - top);
            }
        }
        if (sheet.scrollHeight > bottom + 40) {
            faults.push(`the answer sheet scrolls ${Math.round(sheet.scrollHeight - bottom)} px past its content`);
        }
    } else {
        window.scrollTo(0, 0);
    }
    return faults;
}
