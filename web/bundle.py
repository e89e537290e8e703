#!/usr/bin/python3
"""Puts はしごろう's page together: dist/web/ (the page and its files, with a service worker and
a manifest for installing it) and dist/hashigoro.html (one file with everything inside).

The Japanese gothic is cut from IPAPGothic down to the characters that the pages use, plus
Latin letters, digits and the full-width forms, and renamed, as the font's licence asks of a
derived font; the licence ships beside both.
"""

import argparse
import base64
import hashlib
import json
import pathlib
import re

from fontTools import subset
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
PAGE = ROOT / "web" / "page"
FAMILY = "Hashigoro Gothic"
# Where the pages' own texts are written.
TEXT_SOURCES = ["layout/*.h", "logic/rung_count_prompt.h", "odds/odds_sheet_text.*", "web/*.cpp",
                "web/page/*.html",
                "web/page/*.js"]


def page_characters():
    text = "".join(chr(c) for c in range(0x20, 0x7F))  # Latin letters, digits, signs
    text += "".join(chr(c) for c in range(0xFF01, 0xFF5F))  # their full-width forms
    text += "\u3000\u2212\u3001\u3002\u30fb\u300c\u300d\u3010\u3011\uff08\uff09"
    for pattern in TEXT_SOURCES:
        for path in sorted(ROOT.glob(pattern)):
            text += "".join(c for c in path.read_text(encoding="utf-8") if ord(c) > 0x7F)
    return "".join(sorted(set(text)))


def cut_font(source, target):
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.name_IDs = [1, 2, 3, 4, 6, 16, 17]
    font = TTFont(source)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=page_characters())
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (3, 4):
            record.string = FAMILY + " (subset of IPAPGothic)"
        elif record.nameID == 6:
            record.string = FAMILY.replace(" ", "")
    font.flavor = "woff2"
    font.save(target)


def font_face(url):
    return ('@font-face { font-family: "%s"; src: url("%s") format("woff2"); '
            "font-display: block; }\n" % (FAMILY, url))


# Defines hashigoroBytes, which the font's and the WebAssembly's scripts below use.
BYTES_FROM_BASE64 = (
    "<script>\n"
    "// The bytes that a base64 text stands for.\n"
    "function hashigoroBytes(text) {\n"
    "    if (Uint8Array.fromBase64) {\n"
    "        return Uint8Array.fromBase64(text);\n"
    "    }\n"
    "    const binary = atob(text);\n"
    "    const bytes = new Uint8Array(binary.length);\n"
    "    for (let i = 0; i < binary.length; ++i) {\n"
    "        bytes[i] = binary.charCodeAt(i);\n"
    "    }\n"
    "    return bytes;\n"
    "}\n"
    "</script>\n")


def font_loaded_early(data):
    """A script that hands the font's bytes to the page's fonts at once, before the first layout.

    A font named only in the style sheet is fetched when a first layout asks for it: that layout
    then searches the system's fonts for a stand-in, and lays out again when the font arrives.
    Given as bytes, not as a data address, it needs no fetch at all, which in Firefox is slow
    while the page starts."""
    return ("<script>\n"
            "document.fonts.add(new FontFace('%s', hashigoroBytes('%s'), { display: 'block' }));\n"
            "</script>\n" % (FAMILY, base64.b64encode(data).decode("ascii")))


def wasm_compiled_early(data):
    """A script that starts compiling the WebAssembly at once, and hands the compiled module to
    the page's script when it asks for its instance.

    Compiling runs beside the reading of the rest of the page; left to the script, it would
    start only once the script had been read, and from a data address, which Chromium and
    Firefox fetch slowly. A failure is shown by the page's first script (start.js)."""
    return ("<script>\nif (hashigoroCanStart) {\n"
            "    const compiled = WebAssembly.compile(hashigoroBytes('%s'));\n"
            "    // A refusal is told at once, not only when the script asks for the module.\n"
            "    compiled.catch(error => hashigoroStartFailed(String(error.message || error)));\n"
            "    Module.instantiateWasm = (imports, receive) => {\n"
            "        compiled.then(module => WebAssembly.instantiate(module, imports))\n"
            "            .then(instance => receive(instance),\n"
            "                  error => hashigoroStartFailed(String(error.message || error)));\n"
            "        return {};\n"
            "    };\n"
            "}\n</script>\n" % base64.b64encode(data).decode("ascii"))


def hashed(name, data):
    """The file's name with a part of its content's hash: a new build's files never share a
    name with an old one's, so that no cache (the browser's, a proxy's) can pair them."""
    stem, dot, extension = name.partition(".")
    return "%s-%s%s%s" % (stem, hashlib.sha256(data).hexdigest()[:10], dot, extension)


def fill(template, **values):
    return re.sub(r"\{\{(\w+)\}\}", lambda m: values[m.group(1)], template)


def data_url(kind, data):
    return "data:%s;base64,%s" % (kind, base64.b64encode(data).decode("ascii"))


def main():
    arguments = argparse.ArgumentParser(description=__doc__)
    arguments.add_argument("--script", required=True, type=pathlib.Path)
    arguments.add_argument("--wasm", required=True, type=pathlib.Path)
    arguments.add_argument("--charts", required=True, type=pathlib.Path)
    arguments.add_argument("--chimes", required=True, type=pathlib.Path)
    arguments.add_argument("--icons", required=True, type=pathlib.Path)
    arguments.add_argument("--font", required=True, type=pathlib.Path)
    arguments.add_argument("--licence", required=True, type=pathlib.Path)
    arguments.add_argument("--out", required=True, type=pathlib.Path)
    a = arguments.parse_args()

    web = a.out / "web"
    if web.exists():
        for old in web.iterdir():
            old.unlink()
    web.mkdir(parents=True, exist_ok=True)
    cut = a.out / "hashigoro-gothic.woff2"
    cut_font(a.font, cut)
    font = cut.read_bytes()
    cut.unlink()
    script = a.script.read_text(encoding="utf-8")
    wasm = a.wasm.read_bytes()
    charts = a.charts.read_bytes()
    start = (PAGE / "start.js").read_text(encoding="utf-8")
    style = (PAGE / "page.css").read_text(encoding="utf-8")
    chimes = {name: (a.chimes / name).read_bytes() for name in ("pinpon.wav", "endpinpon.wav")}
    icons = {size: (a.icons / ("%d.png" % size)).read_bytes() for size in (192, 512)}
    licence = a.licence.read_bytes()
    template = (PAGE / "index.html").read_text(encoding="utf-8")

    # The page and its files, for a web server or an installed app. The files that a build
    # changes are named by their content; the chimes keep their names, for a teacher may
    # replace them.
    names = {}

    def write(name, data):
        names[name] = hashed(name, data)
        (web / names[name]).write_bytes(data)

    write("hashigoro-gothic.woff2", font)
    write("hashigoro.wasm", wasm)
    # The script names its WebAssembly by the name the build gave it.
    built_name = '"%s"' % a.wasm.name
    assert script.count(built_name) == 1
    write("hashigoro.js", script.replace(built_name, '"%s"' % names["hashigoro.wasm"])
          .encode("utf-8"))
    write("charts.js", charts)
    write("start.js", start.encode("utf-8"))
    write("page.css", (font_face(names["hashigoro-gothic.woff2"]) + style).encode("utf-8"))
    for name, data in chimes.items():
        (web / name).write_bytes(data)
    for size, data in icons.items():
        (web / ("icon-%d.png" % size)).write_bytes(data)
    (web / "manifest.webmanifest").write_text((PAGE / "manifest.webmanifest").read_text())
    (web / "IPA_Font_License.txt").write_bytes(licence)
    (web / "index.html").write_text(fill(
        template,
        policy="default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
               "font-src 'self'; img-src 'self'; connect-src 'self' data:; "
               "manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'",
        head='<script src="%s"></script>\n'
             '<link rel="preload" href="%s" as="font" type="font/woff2" crossorigin>\n'
             '<link rel="stylesheet" href="%s">\n'
             '<link rel="manifest" href="manifest.webmanifest">\n'
             '<link rel="icon" href="icon-192.png">\n'
             '<meta name="offline" content="sw.js">' % (
                 names["start.js"], names["hashigoro-gothic.woff2"], names["page.css"]),
        body='<script src="%s"></script>\n<script src="%s"></script>' % (
            names["charts.js"], names["hashigoro.js"])),
        encoding="utf-8")
    files = sorted(p.name for p in web.iterdir() if p.name != "sw.js")
    version = hashlib.sha256(b"".join((web / f).read_bytes() for f in files)).hexdigest()[:12]
    (web / "sw.js").write_text(fill((PAGE / "sw.js").read_text(), version=version,
                                    files=json.dumps(["./"] + files)), encoding="utf-8")

    # One file with everything inside, for a USB stick or a shared folder. It makes its chimes
    # itself, and starts the charts' code only when the answer sheet first opens.
    single = fill(
        template,
        policy="default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval'; "
               "style-src 'unsafe-inline'; img-src data:; "
               "connect-src 'self' data:; base-uri 'none'; form-action 'none'",
        head='<script>\n%s</script>\n<link rel="icon" href="%s">\n%s%s%s<style>\n%s</style>' % (
            start, data_url("image/png", icons[192]), BYTES_FROM_BASE64,
            font_loaded_early(font), wasm_compiled_early(wasm), style),
        body="<script>\n" + script + "\n</script>\n" +
             '<script type="text/plain" id="ChartsCode">\n' + charts.decode("utf-8") +
             "\n</script>")
    # Inside a script element the text must not close it.
    for code in (start, script, charts.decode("utf-8")):
        assert "</script" not in code.lower()
    (a.out / "hashigoro.html").write_text(single, encoding="utf-8")
    (a.out / "IPA_Font_License.txt").write_bytes(licence)

    total = sum(p.stat().st_size for p in web.iterdir())
    print("dist/hashigoro.html: %d bytes; dist/web/: %d bytes in %d files; font %d bytes"
          % ((a.out / "hashigoro.html").stat().st_size, total, len(list(web.iterdir())),
             len(font)))


if __name__ == "__main__":
    main()
