"""The manifest of a packed story and its font, cut to what it shows.

Usage: web_manifest.py STORY_DIR SOURCE_DIR FONT OUT_FONT [PAGE]
Writes STORY_DIR/manifest.json (every file of the story, by its path, and
its size, and the files the scenario names first), puts a copy of it in PAGE
(the site's index.html) and has the page fetch the scenario and those first
files while the player loads, and writes OUT_FONT: FONT with only the
characters of the story's scenario (code page 932), the player's own texts
(the comments of src/report/texts.h and the box renderer) and printable
ASCII.
"""
import json
import os
import re
import sys
from urllib.parse import quote

from fontTools import subset

# Code page 932 characters that converters read two ways: both are kept.
_TWINS = "\u301c\uff5e\u2016\u2225\u2212\uff0d\u00a2\uffe0\u00a3\uffe1\u00ac\uffe2\u00a5"


def story_files(story):
    names = []
    for folder, _, files in os.walk(story):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name), story)
            names.append(path.replace(os.sep, "/"))
    return sorted(n for n in names if n != "manifest.json")


def characters(story, source):
    text = set(chr(c) for c in range(0x20, 0x7F)) | set(_TWINS) | {"\u2026", "\u3000"}
    with open(os.path.join(story, "data", "mowa.snr"), "rb") as f:
        text |= set(f.read().decode("cp932", errors="ignore"))
    for own in ("report/texts.h", "platform/softgdi/box_picture.cpp",
                "engine/statement_trace.cpp"):
        path = os.path.join(source, own)
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                text |= set(f.read())
    return "".join(sorted(c for c in text if c.isprintable()))


# The files fetched before the program asks for them: the first this many
# that the scenario names, up to this many bytes (the first whatever its size).
EARLY_FILES = 4
EARLY_BYTES = 512 * 1024


def scenario_of(files):
    return next((n for n in files if n.lower() == "data/mowa.snr"), None)


def _ascii_lower(name):
    """Letter case as the program ignores it: A to Z only."""
    return re.sub("[A-Z]", lambda m: m.group(0).lower(), name)


def early_files(story, files):
    """The story's files named first in the scenario's quoted arguments,
    found as the program finds them (backslashes, any letter case)."""
    scenario = scenario_of(files)
    if scenario is None:
        return []
    index = {_ascii_lower(n): n for n in files if n != scenario}
    with open(os.path.join(story, scenario), "rb") as f:
        text = f.read().decode("cp932", errors="replace")
    early, total = [], 0
    for quoted in re.findall(r'"([^"\r\n]*)"', text):
        for part in quoted.split(","):
            path = re.sub(r"^(\./)+", "", part.strip().replace("\\", "/"))
            name = index.get(_ascii_lower(path))
            if name is None or name in early:
                continue
            total += os.path.getsize(os.path.join(story, name))
            if early and total > EARLY_BYTES:
                return early
            early.append(name)
            if len(early) == EARLY_FILES:
                return early
    return early


def into_page(page, manifest, names):
    """The manifest in the page itself, which then need not fetch it before
    the story's files, and those files fetched by the browser at once."""
    text = json.dumps(manifest, ensure_ascii=False).replace("</", "<\\/")
    head = f'<script id="mowa-manifest" type="application/json">{text}</script>\n'
    for name in names:
        # Escaped as the page's encodeURIComponent does, or the page would
        # fetch it a second time.
        href = "/".join(quote(part, safe="!'()*~") for part in ("story/" + name).split("/"))
        head += f'<link rel="preload" href="{href}" as="fetch" crossorigin>\n'
    with open(page, encoding="utf-8") as f:
        html = f.read()
    html = "".join(line for line in html.splitlines(keepends=True)
                   if 'href="story/manifest.json"' not in line)
    with open(page, "w", encoding="utf-8") as f:
        f.write(html.replace("</head>", head + "</head>", 1))


def main():
    story, source, font, out_font = sys.argv[1:5]
    files = story_files(story)
    early = early_files(story, files)
    manifest = {"files": files,
                "sizes": [os.path.getsize(os.path.join(story, n)) for n in files],
                "early": early, "font": "mowa-gothic.ttf"}
    with open(os.path.join(story, "manifest.json"), "w", encoding="utf-8") as f:
        json.dump(manifest, f, ensure_ascii=False, indent=0)
    if len(sys.argv) > 5:
        scenario = scenario_of(files)
        into_page(sys.argv[5], manifest, ([scenario] if scenario else []) + early)
    options = subset.Options()
    options.hinting = True          # the rasteriser uses the font's hints
    options.notdef_outline = True
    options.name_IDs = ["*"]
    options.layout_features = ["*"]
    options.glyph_names = False
    sub = subset.Subsetter(options)
    ttf = subset.load_font(font, options)
    sub.populate(text=characters(story, source))
    sub.subset(ttf)
    subset.save_font(ttf, out_font, options)


if __name__ == "__main__":
    main()
