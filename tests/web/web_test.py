"""The packed scenarios in headless Chromium. Usage (by run.sh): web_test.py
WORK, where WORK/site/SCENE is a packed scenario and WORK/*.rgb what
mowa-headless shows."""
import base64
import contextlib
import functools
import os
import pathlib
import subprocess
import sys
import time

import browser
from browser import ActionChains, By, Keys, within

WORK = sys.argv[1]
FAREWELL = "mowa: [from 星屑の小瓶] ばいばいもわもわ～！！"
RED, GREEN = [255, 0, 0], [0, 255, 0]
check = browser.Checks("web")

CANVAS_RGB = """
const d = document.getElementById('screen').getContext('2d').getImageData(0, 0, 640, 480).data;
let s = '';
for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i + 1], d[i + 2]);
return btoa(s);
"""


def canvas(d):
    return base64.b64decode(d.execute_script(CANVAS_RGB))


def differing(a, b):
    """How many pixels differ, and the box around them."""
    at = [(i // 3 % 640, i // 3 // 640) for i in range(0, len(a), 3)
          if a[i:i + 3] != b[i:i + 3]]
    if not at:
        return "0"
    xs, ys = [p[0] for p in at], [p[1] for p in at]
    return f"{len(at)} in {min(xs)},{min(ys)}-{max(xs)},{max(ys)}"


def await_picture(d, scene, reference, what):
    """The canvas comes to equal WORK/REFERENCE.rgb (what mowa-headless shows)."""
    want = pathlib.Path(f"{WORK}/{reference}.rgb").read_bytes()
    shown = within(20, lambda: canvas(d) == want)
    check(scene, what, shown,
          "" if shown else f"({differing(canvas(d), want)} pixels differ from mowa-headless)")


def centre(d):
    return d.execute_script(
        "return Array.from(document.getElementById('screen').getContext('2d')"
        ".getImageData(320, 240, 1, 1).data.slice(0, 3));")


def await_colour(d, scene, colour, what, seconds=20):
    check(scene, f"{what} ({'red' if colour == RED else 'green'})",
          within(seconds, lambda: centre(d) == colour), str(centre(d)))


def said(d, logs, text):
    """TEXT comes in a console line (all kept in LOGS)."""
    return within(10, lambda: (logs.extend(d.get_log("browser")) or
                               any(text in l["message"] for l in logs)))


def ended(d, scene, logs):
    """Enter on the farewell box ends with code 0, and no error was written
    to the console on the way."""
    ActionChains(d).send_keys(Keys.ENTER).perform()
    browser.ended(d, check, scene)
    errors = browser.console_errors(d, logs)
    check(scene, "no console errors", not errors, str(errors))


def leave(d, scene, logs):
    """Escape: the farewell box, also on the canvas; then ended()."""
    before = canvas(d)
    ActionChains(d).send_keys(Keys.ESCAPE).perform()
    check(scene, "farewell box after Escape", said(d, logs, FAREWELL))
    check(scene, "the farewell box drawn on the canvas",
          within(5, lambda: canvas(d) != before))
    ended(d, scene, logs)


@contextlib.contextmanager
def session(scene, first=None, page=None, downloads=None, size=(1280, 960)):
    """Yields the driver on SCENE (or PAGE), red first if FIRST says so, and
    the console lines seen; then leave()s."""
    logs = []
    with browser.opened(f"{url}/{page or scene}/index.html", size, downloads) as d:
        if first:
            await_colour(d, scene, RED, first)
        yield d, logs
        leave(d, scene, logs)


# Pointer events at picture coordinates: a mouse's to the page, or a
# finger's (pointer ID first, the primary one 1) to the canvas.
POINTER = """
const [events, touch] = arguments, screen = document.getElementById('screen');
const r = screen.getBoundingClientRect(), s = r.width / 640;
for (const [type, id, x, y] of events)
  (touch ? screen : document).dispatchEvent(new PointerEvent(type, Object.assign({
      button: 0, bubbles: true, clientX: r.left + (x + 0.5) * s, clientY: r.top + (y + 0.5) * s},
      touch ? {pointerType: 'touch', pointerId: id, isPrimary: id === 1, cancelable: true} : {})));
"""


def pointers(d, touch, *events):
    d.execute_script(POINTER, list(events), touch)
    time.sleep(0.3)


def click_scaled(d):
    """Left at (100, 100), right at (300, 200) with real input events; then a
    tap at (500, 400) whose press and release arrive together."""
    el = d.find_element(By.ID, "screen")
    w, h = el.size["width"], el.size["height"]
    scale = w / 640

    def offset(x, y):
        return (round((x + 0.5) * scale - w / 2), round((y + 0.5) * scale - h / 2))

    ActionChains(d).move_to_element_with_offset(el, *offset(100, 100)) \
        .click_and_hold().pause(0.3).release().pause(0.3).perform()
    ActionChains(d).move_to_element_with_offset(el, *offset(300, 200)) \
        .context_click().pause(0.3).perform()
    pointers(d, False, *((t, 0, 500, 400) for t in ("pointermove", "pointerdown", "pointerup")))


def touch(right, d):
    """The clicks of click_scaled made with fingers: taps, and the right
    click as a long press or as a tap of two fingers."""
    fingers = functools.partial(pointers, d, True)
    fingers(("pointerdown", 1, 100, 100), ("pointerup", 1, 100, 100))
    if right == "long press":
        fingers(("pointerdown", 1, 300, 200))
        time.sleep(0.6)
        fingers(("pointerup", 1, 300, 200))
    else:
        fingers(("pointerdown", 1, 300, 200), ("pointerdown", 2, 340, 220),
                ("pointerup", 2, 340, 220), ("pointerup", 1, 300, 200))
    fingers(("pointerdown", 1, 500, 400), ("pointermove", 1, 500, 400),
            ("pointerup", 1, 500, 400))


# Each scene shows what mowa-headless does; with input, what it shows after
# the same clicks. A window of another shape scales and letterboxes it.
PLAYS = (("pictures", click_scaled, (1300, 900)), ("text",), ("zoom",), ("japanese",),
         ("pictures by touch (long press)", functools.partial(touch, "long press")),
         ("pictures by touch (two fingers)", functools.partial(touch, "two fingers")))


def play(scene, clicks=None, size=(1280, 960)):
    page = scene.split()[0]
    with session(scene, page=page, size=size) as (d, _):
        await_picture(d, scene, f"{page}-before", "the first picture")
        if clicks:
            clicks(d)
            await_picture(d, scene, "pictures-after", "the picture after clicks")


def play_kept():
    """A save is kept across a reload right after it; the same story opened
    from the reader's computer keeps its saves apart."""
    with session("kept", "the shipped save file read") as (d, _):
        d.refresh()
        await_colour(d, "kept", GREEN, "the save read back after a reload")
        d.find_element(By.ID, "story-folder").send_keys(f"{WORK}/s/kept")
        await_colour(d, "kept", RED, "its copy from the reader's computer reads its own file")
        d.refresh()
        await_colour(d, "kept", GREEN, "the copy's own save read back after a reload")


def fetched(d):
    return d.execute_script("return performance.getEntriesByType('resource')"
                            ".map((e) => e.name.toLowerCase());")


def play_later():
    """The scenario and the first four files it names come with the page;
    a picture named after them is fetched when the scenario opens it, and a
    missing one gives the desktop's box."""
    scene = "later"
    with session(scene, "the first picture") as (d, logs):
        later = lambda: any(n.endswith("/later.bmp") for n in fetched(d))
        early = [n.rsplit("/", 1)[1] for n in fetched(d) if n.endswith(".wav")]
        check(scene, "the files named first fetched with the page, once each",
              sorted(early) == ["four.wav", "one.wav", "three.wav", "two.wav"], str(early))
        check(scene, "no picture fetched before it is named", not later())
        ActionChains(d).click(d.find_element(By.ID, "screen")).perform()
        box = pathlib.Path(f"{WORK}/later-box.txt").read_text(encoding="utf-8").strip()
        check(scene, "the box for a missing picture", said(d, logs, box), box)
        check(scene, "the picture fetched once named", later())
        ActionChains(d).send_keys(Keys.ENTER).perform()
        await_picture(d, scene, "later-after", "the picture fetched when named")


def play_restore():
    """A save file picked by the reader replaces the story's once it is
    exactly 400 bytes; a shorter one is refused and the old file kept. The
    file offered for download is the one restored."""
    scene, downloads = "restore", f"{WORK}/downloads"
    with session(scene, "the shipped save file read", downloads=downloads) as (d, _):
        for name, colour in (("short.dat", RED), ("restored.dat", GREEN)):
            d.find_element(By.ID, "save-file").send_keys(f"{WORK}/{name}")
            notice = d.find_element(By.ID, "notice")
            check(scene, f"a notice for {name}",
                  within(10, lambda: notice.is_displayed()))
            check(scene, f"the notice for {name} names the size",
                  ("400 bytes" in notice.text) == (name == "short.dat"), notice.text)
            d.refresh()
            await_colour(d, scene, colour, f"after {name} and a reload, load reads")
        d.find_element(By.ID, "save-download").click()
        saved = pathlib.Path(f"{downloads}/save.dat")
        check(scene, "the save file downloaded", within(10, saved.exists))
        check(scene, "the download is the restored file", saved.exists() and
              saved.read_bytes() == pathlib.Path(f"{WORK}/restored.dat").read_bytes())


def play_local():
    """Stories from the reader's computer, opened over a published one: a
    folder, then a .zip with code page 932 names. Each shows what
    mowa-headless does, drawn with the whole font."""
    with session("local", "the published story first", page="later") as (d, _):
        for picker, path, reference in (
                ("story-folder", f"{WORK}/s/japanese", "japanese"),
                ("story-zip", f"{WORK}/text.zip", "text")):
            d.find_element(By.ID, picker).send_keys(path)
            await_picture(d, "local", f"{reference}-before", f"the picture of {path}")


def play_keys():
    """The reader's keys act on the page, not on the scenario: help, the
    fast-forward that brings a minute's wait within the test's patience,
    mute, volume and a screenshot of the picture alone."""
    scene, downloads = "slow", f"{WORK}/shots"
    with session(scene, "the first picture", downloads=downloads) as (d, _):
        shown = lambda name: d.find_element(By.ID, name).is_displayed()
        audio = lambda: d.execute_script("return Module.mowa.audio;")
        for key, what, test in (
                (Keys.F1, "F1 shows the keys", lambda: shown("help")),
                ("a", "any key hides them", lambda: not shown("help")),
                ("m", "M mutes", lambda: "off" in d.find_element(
                    By.ID, "mute").get_attribute("title")),
                ("-", "- turns the volume down", lambda: audio()["volume"] == 0.9),
                ("+", "+ turns it up", lambda: audio()["volume"] == 1),
                (Keys.TAB, "Tab shows the fast-forward mark",
                 lambda: shown("fast-mark"))):
            ActionChains(d).send_keys(key).perform()
            check(scene, what, within(5, test))
        await_colour(d, scene, GREEN, "the minute's wait fast-forwarded", 40)
        ActionChains(d).send_keys(Keys.F12).perform()
        check(scene, "F12 downloads a PNG",
              within(10, lambda: any(n.endswith(".png") for n in os.listdir(downloads))))
        for name in os.listdir(downloads):
            rgb = subprocess.run(["convert", f"{downloads}/{name}", "-depth", "8", "rgb:-"],
                                 capture_output=True).stdout
            check(scene, "the screenshot is the picture", rgb == canvas(d))


def play_demo():
    """The demo played to its end with clicks on its last button (each
    screen before the menu goes on at any click): the farewell box, the
    ended state and exit code 0."""
    logs = []
    with browser.opened(f"{url}/demo/index.html") as d:
        el = d.find_element(By.ID, "screen")
        scale = el.size["width"] / 640
        # The middle of the menu's last button, from the canvas's centre.
        at = (round((500 - 320) * scale), round((220 - 240) * scale))
        farewell = lambda: any(FAREWELL in l["message"] for l in logs)
        for _ in range(120):
            logs.extend(d.get_log("browser"))
            if farewell():
                break
            ActionChains(d).move_to_element_with_offset(el, *at) \
                .click_and_hold().pause(0.1).release().perform()
            time.sleep(0.4)
        check("demo", "the farewell box after the last button", farewell())
        ended(d, "demo", logs)


def play_sound():
    """A WAV effect reaches Web Audio and is heard: the page's meter on its
    output rises above silence."""
    with browser.opened(f"{url}/klaenge/index.html") as d:
        audio = lambda: d.execute_script("return Module.mowa.audio;")
        check("klänge", "the WAV asked of Web Audio",
              within(20, lambda: audio()["wavRequests"] >= 1))
        check("klänge", "the WAV heard", within(10, lambda: audio()["peak"] > 0.1),
              f"(peak {audio()['peak']})")
        d.find_element(By.ID, "mute").click()
        check("klänge", "the mute control",
              "off" in d.find_element(By.ID, "mute").get_attribute("title"))


with browser.serving(f"{WORK}/site") as url:  # the root the plays open
    for row in PLAYS:
        play(*row)
    for test in (play_kept, play_later, play_restore, play_local, play_keys,
                 play_demo, play_sound):
        test()
check.end("pictures, scaled clicks and a tap, text, zoom, Japanese names, "
          "a save kept across a reload, a picture fetched when named and a "
          "missing one, the demo played to its end with clicks, a save file "
          "restored and downloaded, stories opened from a folder and a .zip, "
          "the reader's keys, a WAV heard, taps, a long press and a two-finger "
          "tap, the farewell box and the ended state as expected")
