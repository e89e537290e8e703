#!/usr/bin/python3
"""Puts はしごろう's page together: dist/web/ (the page and its files, with a service worker and
a manifest for installing it) and dist/hashigoro.html (one file with everything inside).

The Japanese gothic is cut from IPAPGothic down to the characters that the pages use, plus
Latin letters, digits and the full-width forms, and renamed, as the font's licence asks of a
derived font; the licence ships beside both. Each other language whose letters the gothic
lacks gets a font of its own, cut from Noto Sans CJK (SIL Open Font License, shipped beside)
down to that language's characters; the page decodes it only when that language is chosen.
"""

import argparse
import base64
import hashlib
import json
import pathlib
import re
import subprocess

from fontTools import subset
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
PAGE = ROOT / "web" / "page"
FAMILY = "Hashigoro Gothic"
# The few letters of the language menu's names that the gothic lacks (한국어, 简), so that the
# menu's first layout need not search the system's fonts for them, which costs a start 15 ms.
NAMES_FAMILY = "Hashigoro Names"
# Where the page's few texts outside the catalogue are written (the font's names).
TEXT_SOURCES = ["web/page/*.html", "web/page/*.js", "web/page/*.css"]
# What the page says before its program runs, from the catalogue: why it cannot start.
FAILURE_TEXTS = ["NewVersion", "CannotRun", "TooOld", "NoWebAssembly", "UpdateAdvice", "Stopped", "StoppedText",
                 "Reload"]


def compact_css(style):
    """The style sheet without its comments and the blanks that only lay it out: the single
    file carries every byte of it. Our sheet has no string holding a comment's marks."""
    style = re.sub(r"/\*.*?\*/", "", style, flags=re.S)
    style = re.sub(r"\s+", " ", style)
    return re.sub(r" ?([{};,>]) ?", r"\1", style).strip() + "\n"


def catalogue(tool):
    """Every language of the catalogue, with its texts by the names of TextId."""
    names = re.findall(r"^    (\w+),", (ROOT / "texts" / "text_id.h").read_text(), re.M)
    languages = json.loads(subprocess.check_output([str(tool)]))["languages"]
    for language in languages:
        assert len(language["texts"]) == len(names)
        language["texts"] = dict(zip(names, language["texts"]))
    return languages


def page_characters(languages):
    """The gothic's characters: those of the languages it draws, and the page's own."""
    text = "".join(chr(c) for c in range(0x20, 0x7F))  # Latin letters, digits, signs
    text += "".join(chr(c) for c in range(0xFF01, 0xFF5F))  # their full-width forms
    text += "\u3000\u2212\u3001\u3002\u30fb\u300c\u300d\u3010\u3011\uff08\uff09"
    for language in languages:
        if not language["font"]:
            text += language["name"] + "".join(language["texts"].values())
    for pattern in TEXT_SOURCES:
        for path in sorted(ROOT.glob(pattern)):
            text += "".join(c for c in path.read_text(encoding="utf-8") if ord(c) > 0x7F)
    # The language menu names every language in itself.
    text += "".join(language["name"] for language in languages)
    return "".join(sorted(set(text)))


def family_of(language):
    """The page's name for a language's own font: "Hashigoro KR" for Noto Sans CJK KR."""
    return "Hashigoro " + language["font"].split()[-1]


def cut_for_lines(text, font):
    """Cuts a face of Noto Sans CJK down to `text`, for horizontal lines only: no vertical
    metrics, no substitutions (which would pull in every alternate form), no hints."""
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.desubroutinize = True
    options.layout_features = []
    options.drop_tables += ["vhea", "vmtx", "VORG", "GSUB", "GPOS", "BASE", "GDEF"]
    options.name_IDs = [0, 1, 2, 3, 4, 6, 13, 14]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)


def cut_names_font(collection, gothic, languages, target):
    """The language menu's letters that the gothic lacks, from the collection's first face."""
    has = TTFont(gothic).getBestCmap()
    letters = sorted(set(c for language in languages for c in language["name"]
                         if ord(c) > 0x7E and ord(c) not in has))
    font = TTFont(collection, fontNumber=0)
    cut_for_lines("".join(letters), font)
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = NAMES_FAMILY
        elif record.nameID in (3, 4, 6):
            record.string = NAMES_FAMILY.replace(" ", "")
    font.flavor = "woff2"
    font.save(target)


def cut_language_font(collection, language, target):
    """The language's characters beyond ASCII (which the gothic draws), from its face of the
    collection."""
    faces = {TTFont(collection, fontNumber=n, lazy=True)["name"].getDebugName(1): n
             for n in range(10)}
    font = TTFont(collection, fontNumber=faces[language["font"]])
    text = language["name"] + "".join(language["texts"].values())
    cut_for_lines("".join(sorted(set(c for c in text if ord(c) > 0x7E))), font)
    # The line as tall as the gothic's, one em from the ideographic top to the bottom, so that
    # the language's text sits in the windows' controls as the Japanese does (the collection's
    # own line is half as tall again).
    os2 = font["OS/2"]
    font["hhea"].ascent, font["hhea"].descent = os2.sTypoAscender, os2.sTypoDescender
    font["hhea"].lineGap = os2.sTypoLineGap = 0
    os2.usWinAscent, os2.usWinDescent = os2.sTypoAscender, -os2.sTypoDescender
    os2.version = max(os2.version, 4)  # which defines the bit below
    os2.fsSelection |= 1 << 7  # USE_TYPO_METRICS
    family = family_of(language)
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID in (3, 4):
            record.string = "%s (subset of %s)" % (family, language["font"])
        elif record.nameID == 6:
            record.string = family.replace(" ", "")
    font.flavor = "woff2"
    font.save(target)


def language_styles(languages):
    """Each language's font first, the gothic after it for what it lacks."""
    styles = ""
    for language in languages:
        if language["font"]:
            styles += (':root:lang(%s) { --gothic: "%s", "%s", sans-serif; '
                       '--toolkit: "%s", system-ui, "%s", sans-serif; }\n'
                       % (language["code"], family_of(language), FAMILY, family_of(language),
                          FAMILY))
    return styles


def start_texts(languages, fonts):
    """What start.js needs before the program runs: the failure messages in every language,
    and where each language's own font is."""
    texts = {language["code"]: {name: language["texts"][name] for name in FAILURE_TEXTS}
             for language in languages}
    return ("globalThis.hashigoroTexts = %s;\nglobalThis.hashigoroFonts = %s;\n"
            % (json.dumps(texts, ensure_ascii=False), json.dumps(fonts)))


def cut_font(source, target, characters):
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.name_IDs = [1, 2, 3, 4, 6, 16, 17]
    font = TTFont(source)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=characters)
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


def font_face(url, family=FAMILY):
    return ('@font-face { font-family: "%s"; src: url("%s") format("woff2"); '
            "font-display: block; }\n" % (family, url))


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


def font_loaded_early(data, family=FAMILY):
    """A script that hands the font's bytes to the page's fonts at once, before the first layout.

    A font named only in the style sheet is fetched when a first layout asks for it: that layout
    then searches the system's fonts for a stand-in, and lays out again when the font arrives.
    Given as bytes, not as a data address, it needs no fetch at all, which in Firefox is slow
    while the page starts."""
    return ("<script>\n"
            "document.fonts.add(new FontFace('%s', hashigoroBytes('%s'), { display: 'block' }));\n"
            "</script>\n" % (family, base64.b64encode(data).decode("ascii")))


def wasm_compiled_early(data):
    """A script that starts compiling the WebAssembly at once, and hands the compiled module to
    the page's script when it asks for its instance.

    Compiling runs beside the reading of the rest of the page; left to the script, it would
    start only once the script had been read, and from a data address, which Chromium and
    Firefox fetch slowly. A failure is shown by the page's first script (start.js)."""
    return ("<script>\nif (hashigoroCanStart) {\n"
            "    const compiled = WebAssembly.compile(hashigoroBytes('%s'));\n"
            "    // The language is chosen while it compiles (start.js).\n"
            "    hashigoroChooseLanguage();\n"
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
    arguments.add_argument("--texts", required=True, type=pathlib.Path,
                           help="the tool that prints the catalogue (layout_json)")
    arguments.add_argument("--cjk", required=True, type=pathlib.Path,
                           help="Noto Sans CJK's collection")
    arguments.add_argument("--cjk-licence", required=True, type=pathlib.Path)
    arguments.add_argument("--out", required=True, type=pathlib.Path)
    a = arguments.parse_args()

    web = a.out / "web"
    if web.exists():
        for old in web.iterdir():
            old.unlink()
    web.mkdir(parents=True, exist_ok=True)
    languages = catalogue(a.texts)
    cut = a.out / "hashigoro-gothic.woff2"
    cut_font(a.font, cut, page_characters(languages))
    font = cut.read_bytes()
    cut.unlink()
    own_fonts = {}
    for language in languages:
        if language["font"]:
            cut = a.out / ("hashigoro-%s.woff2" % language["code"])
            cut_language_font(a.cjk, language, cut)
            own_fonts[language["code"]] = cut.read_bytes()
            cut.unlink()
    cut = a.out / "hashigoro-names.woff2"
    cut_names_font(a.cjk, a.font, languages, cut)
    names_font = cut.read_bytes()
    cut.unlink()
    cjk_licence = a.cjk_licence.read_bytes()
    script = a.script.read_text(encoding="utf-8")
    wasm = a.wasm.read_bytes()
    charts = a.charts.read_bytes()
    # Its comments stand on lines of their own: the single file carries none of them.
    start = "".join(line for line in (PAGE / "start.js").read_text(encoding="utf-8")
                    .splitlines(keepends=True) if not line.lstrip().startswith("//"))
    style = compact_css((PAGE / "page.css").read_text(encoding="utf-8")) + language_styles(languages)
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
    for code, data in own_fonts.items():
        write("hashigoro-%s.woff2" % code, data)
    served_fonts = {code: {"family": family_of(language), "url": names["hashigoro-%s.woff2" % code]}
                    for language in languages for code in [language["code"]] if code in own_fonts}
    write("start.js", (start_texts(languages, served_fonts) + start).encode("utf-8"))
    write("hashigoro-names.woff2", names_font)
    write("page.css", (font_face(names["hashigoro-gothic.woff2"]) +
                       font_face(names["hashigoro-names.woff2"], NAMES_FAMILY) + style)
          .encode("utf-8"))
    for name, data in chimes.items():
        (web / name).write_bytes(data)
    for size, data in icons.items():
        (web / ("icon-%d.png" % size)).write_bytes(data)
    (web / "manifest.webmanifest").write_text((PAGE / "manifest.webmanifest").read_text())
    (web / "IPA_Font_License.txt").write_bytes(licence)
    (web / "Noto_CJK_License.txt").write_bytes(cjk_licence)
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
    single_fonts = {code: {"family": family_of(language), "id": "Font-" + code}
                    for language in languages for code in [language["code"]] if code in own_fonts}
    # Each language's own font, as text that nothing reads until the language is chosen.
    font_texts = "".join('<script type="text/plain" id="Font-%s">%s</script>\n'
                         % (code, base64.b64encode(data).decode("ascii"))
                         for code, data in own_fonts.items())
    single = fill(
        template,
        policy="default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval'; "
               "style-src 'unsafe-inline'; img-src data:; "
               "connect-src 'self' data:; base-uri 'none'; form-action 'none'",
        head='<script>\n%s</script>\n<link rel="icon" href="%s">\n%s%s%s<style>\n%s</style>' % (
            start_texts(languages, single_fonts) + start, data_url("image/png", icons[192]),
            BYTES_FROM_BASE64,
            font_loaded_early(font) + font_loaded_early(names_font, NAMES_FAMILY),
            wasm_compiled_early(wasm), style),
        body="<script>\n" + script + "\n</script>\n" +
             '<script type="text/plain" id="ChartsCode">\n' + charts.decode("utf-8") +
             "\n</script>\n" + font_texts)
    # Inside a script element the text must not close it.
    for code in (start, script, charts.decode("utf-8")):
        assert "</script" not in code.lower()
    (a.out / "hashigoro.html").write_text(single, encoding="utf-8")
    (a.out / "IPA_Font_License.txt").write_bytes(licence)
    (a.out / "Noto_CJK_License.txt").write_bytes(cjk_licence)

    total = sum(p.stat().st_size for p in web.iterdir())
    print("dist/hashigoro.html: %d bytes; dist/web/: %d bytes in %d files; fonts %d bytes (%s)"
          % ((a.out / "hashigoro.html").stat().st_size, total, len(list(web.iterdir())),
             len(font), ", ".join("%s %d" % (c, len(d)) for c, d in own_fonts.items())))


if __name__ == "__main__":
    main()
