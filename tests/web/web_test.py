"""The packed scenarios in headless Chromium (run by run.sh).

Usage: web_test.py WORK, where WORK/site/SCENE is a packed scenario and
WORK/SCENE-before.rgb (and pictures-after.rgb) what mowa-headless shows.
"""
import base64
import functools
import http.server
import os
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

WORK = sys.argv[1]
FAREWELL = "mowa: [from 星屑の小瓶] ばいばいもわもわ～！！"
failures = []


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser(width, height, downloads=None):
    o = webdriver.ChromeOptions()
    if downloads:
        o.add_experimental_option("prefs", {
            "download.default_directory": downloads,
            "download.prompt_for_download": False})
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu",
              f"--window-size={width},{height}",
              "--autoplay-policy=no-user-gesture-required"]:
        o.add_argument(a)
    o.binary_location = "/usr/bin/chromium"
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)


CANVAS_RGB = """
const c = document.getElementById('screen');
const d = c.getContext('2d').getImageData(0, 0, 640, 480).data;
const rgb = new Uint8Array(640 * 480 * 3);
for (let i = 0, j = 0; i < d.length; i += 4) {
  rgb[j++] = d[i]; rgb[j++] = d[i + 1]; rgb[j++] = d[i + 2];
}
let s = '';
for (let i = 0; i < rgb.length; i += 8192)
  s += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));
return btoa(s);
"""


def canvas(d):
    return base64.b64decode(d.execute_script(CANVAS_RGB))


def within(seconds, test):
    end = time.time() + seconds
    while time.time() < end:
        if test():
            return True
        time.sleep(0.1)
    return test()


def differing(a, b):
    """How many pixels differ, and the box around them."""
    at = [(i // 3 % 640, i // 3 // 640) for i in range(0, len(a), 3)
          if a[i:i + 3] != b[i:i + 3]]
    if not at:
        return "0"
    xs, ys = [p[0] for p in at], [p[1] for p in at]
    return f"{len(at)} in {min(xs)},{min(ys)}-{max(xs)},{max(ys)}"


def check(scene, what, ok, detail=""):
    if not ok:
        failures.append(f"{scene}: {what} {detail}")
        print(f"web ({scene}): FAILED {what} {detail}")


def await_picture(d, scene, reference_file, what):
    with open(reference_file, "rb") as f:
        want = f.read()
    shown = within(20, lambda: canvas(d) == want)
    check(scene, what, shown,
          "" if shown else f"({differing(canvas(d), want)} pixels differ from mowa-headless)")


def console_lines(d):
    return d.get_log("browser")


def leave(d, scene, logs):
    """Escape: the farewell box on the canvas; Enter ends with code 0; and
    no error was written to the console on the way."""
    before = canvas(d)
    ActionChains(d).send_keys(Keys.ESCAPE).perform()
    seen = within(10, lambda: (logs.extend(console_lines(d)) or
                               any(FAREWELL in l["message"] for l in logs)))
    check(scene, "farewell box after Escape", seen)
    check(scene, "the farewell box drawn on the canvas",
          within(5, lambda: canvas(d) != before))
    ActionChains(d).send_keys(Keys.ENTER).perform()
    body = d.find_element(By.TAG_NAME, "body")
    ended = within(10, lambda: body.get_attribute("data-state") == "ended")
    check(scene, "ended state after the box", ended)
    check(scene, "exit code 0", body.get_attribute("data-exit-code") == "0",
          f"(got {body.get_attribute('data-exit-code')})")
    logs.extend(console_lines(d))
    errors = [l["message"] for l in logs if l["level"] == "SEVERE"]
    check(scene, "no console errors", not errors, str(errors))


def play(scene, port, width=1280, height=960, clicks=False):
    d = browser(width, height)
    logs = []
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        await_picture(d, scene, f"{WORK}/{scene}-before.rgb", "the first picture")
        if clicks:
            click_scaled(d)
            await_picture(d, scene, f"{WORK}/pictures-after.rgb",
                          "the picture after clicks in a scaled window")
        leave(d, scene, logs)
    finally:
        d.quit()


def centre(d):
    return d.execute_script(
        "return Array.from(document.getElementById('screen').getContext('2d')"
        ".getImageData(320, 240, 1, 1).data.slice(0, 3));")


def play_kept(port):
    """A save is kept across a reload right after it."""
    scene = "kept"
    d = browser(1280, 960)
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        check(scene, "the shipped save file read (red)",
              within(20, lambda: centre(d) == [255, 0, 0]), str(centre(d)))
        d.refresh()
        check(scene, "the save read back after a reload (green)",
              within(20, lambda: centre(d) == [0, 255, 0]), str(centre(d)))
        logs = []
        leave(d, scene, logs)
    finally:
        d.quit()


def fetched(d):
    return d.execute_script("return performance.getEntriesByType('resource')"
                            ".map((e) => e.name.toLowerCase());")


def play_later(port):
    """Only the scenario comes before the start; a picture is fetched when the
    scenario first names it, and a missing one gives the desktop's box."""
    scene = "later"
    d = browser(1280, 960)
    logs = []
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        check(scene, "the first picture (red)",
              within(20, lambda: centre(d) == [255, 0, 0]), str(centre(d)))
        later = lambda: any(n.endswith("/later.bmp") for n in fetched(d))
        check(scene, "no picture fetched before it is named", not later())
        ActionChains(d).click(d.find_element(By.ID, "screen")).perform()
        with open(f"{WORK}/later-box.txt", encoding="utf-8") as f:
            box = f.read().strip()
        seen = within(10, lambda: (logs.extend(console_lines(d)) or
                                   any(box in l["message"] for l in logs)))
        check(scene, "the box for a missing picture", seen, box)
        check(scene, "the picture fetched once named", later())
        ActionChains(d).send_keys(Keys.ENTER).perform()
        await_picture(d, scene, f"{WORK}/later-after.rgb",
                      "the picture fetched when named")
        leave(d, scene, logs)
    finally:
        d.quit()


def play_restore(port):
    """A save file picked by the reader replaces the story's once it is
    exactly 400 bytes; a shorter one is refused and the old file kept. The
    file offered for download is the one restored."""
    scene = "restore"
    downloads = f"{WORK}/downloads"
    os.makedirs(downloads, exist_ok=True)
    d = browser(1280, 960, downloads)
    logs = []
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        check(scene, "the shipped save file read (red)",
              within(20, lambda: centre(d) == [255, 0, 0]), str(centre(d)))
        notice = d.find_element(By.ID, "notice")
        for name, colour in (("short.dat", [255, 0, 0]),
                             ("restored.dat", [0, 255, 0])):
            d.find_element(By.ID, "save-file").send_keys(f"{WORK}/{name}")
            check(scene, f"a notice for {name}",
                  within(10, lambda: notice.is_displayed()))
            told = notice.text
            check(scene, f"the notice for {name} names the size",
                  ("400 bytes" in told) == (name == "short.dat"), told)
            d.refresh()
            notice = d.find_element(By.ID, "notice")
            check(scene, f"after {name} and a reload, load reads {colour}",
                  within(20, lambda: centre(d) == colour), str(centre(d)))
        d.find_element(By.ID, "save-download").click()
        saved = f"{downloads}/save.dat"
        check(scene, "the save file downloaded",
              within(10, lambda: os.path.exists(saved)))
        with open(f"{WORK}/restored.dat", "rb") as a:
            same = os.path.exists(saved) and open(saved, "rb").read() == a.read()
        check(scene, "the download is the restored file", same)
        leave(d, scene, logs)
    finally:
        d.quit()


def play_local(port):
    """Stories from the reader's computer, opened over a published one: a
    folder, then a .zip with code page 932 names. Each shows what
    mowa-headless does, drawn with the whole font."""
    scene = "local"
    d = browser(1280, 960)
    logs = []
    try:
        d.get(f"http://127.0.0.1:{port}/later/index.html")
        check(scene, "the published story first (red)",
              within(20, lambda: centre(d) == [255, 0, 0]), str(centre(d)))
        for picker, path, reference in (
                ("story-folder", f"{WORK}/s/japanese", "japanese"),
                ("story-zip", f"{WORK}/text.zip", "text")):
            d.find_element(By.ID, picker).send_keys(path)
            await_picture(d, scene, f"{WORK}/{reference}-before.rgb",
                          f"the picture of {path}")
        leave(d, scene, logs)
    finally:
        d.quit()


def play_keys(port):
    """The reader's keys act on the page, not on the scenario: help, the
    fast-forward that brings a minute's wait within the test's patience,
    mute, volume and a screenshot of the picture alone."""
    scene = "slow"
    downloads = f"{WORK}/shots"
    os.makedirs(downloads, exist_ok=True)
    d = browser(1280, 960, downloads)
    logs = []
    keys = lambda *k: ActionChains(d).send_keys(*k).perform()
    shown = lambda name: d.find_element(By.ID, name).is_displayed()
    audio = lambda: d.execute_script("return Module.mowa.audio;")
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        check(scene, "the first picture (red)",
              within(20, lambda: centre(d) == [255, 0, 0]), str(centre(d)))
        for key, what, test in (
                (Keys.F1, "F1 shows the keys", lambda: shown("help")),
                ("a", "any key hides them", lambda: not shown("help")),
                ("m", "M mutes", lambda: "off" in d.find_element(
                    By.ID, "mute").get_attribute("title")),
                ("-", "- turns the volume down",
                 lambda: audio()["volume"] == 0.9),
                ("+", "+ turns it up", lambda: audio()["volume"] == 1),
                (Keys.TAB, "Tab shows the fast-forward mark",
                 lambda: shown("fast-mark"))):
            keys(key)
            check(scene, what, within(5, test))
        check(scene, "the minute's wait fast-forwarded (green)",
              within(40, lambda: centre(d) == [0, 255, 0]), str(centre(d)))
        keys(Keys.F12)
        check(scene, "F12 downloads a PNG",
              within(10, lambda: any(n.endswith(".png") for n in os.listdir(downloads))))
        for name in os.listdir(downloads):
            rgb = subprocess.run(["convert", f"{downloads}/{name}", "-depth", "8", "rgb:-"],
                                 capture_output=True).stdout
            check(scene, "the screenshot is the picture", rgb == canvas(d))
        leave(d, scene, logs)
    finally:
        d.quit()


def play_demo(port):
    """The demo played to its end with clicks on its last button (each
    screen before the menu goes on at any click): the farewell box, the
    ended state and exit code 0."""
    scene = "demo"
    d = browser(1280, 960)
    logs = []
    try:
        d.get(f"http://127.0.0.1:{port}/{scene}/index.html")
        el = d.find_element(By.ID, "screen")
        scale = el.size["width"] / 640
        # The middle of the menu's last button, from the canvas's centre.
        at = (round((500 - 320) * scale), round((220 - 240) * scale))
        for _ in range(120):
            logs.extend(console_lines(d))
            if any(FAREWELL in l["message"] for l in logs):
                break
            ActionChains(d).move_to_element_with_offset(el, *at) \
                .click_and_hold().pause(0.1).release().perform()
            time.sleep(0.4)
        check(scene, "the farewell box after the last button",
              any(FAREWELL in l["message"] for l in logs))
        ActionChains(d).send_keys(Keys.ENTER).perform()
        body = d.find_element(By.TAG_NAME, "body")
        check(scene, "ended state after the box",
              within(10, lambda: body.get_attribute("data-state") == "ended"))
        check(scene, "exit code 0", body.get_attribute("data-exit-code") == "0",
              f"(got {body.get_attribute('data-exit-code')})")
        logs.extend(console_lines(d))
        errors = [l["message"] for l in logs if l["level"] == "SEVERE"]
        check(scene, "no console errors", not errors, str(errors))
    finally:
        d.quit()


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
    r = el.rect
    d.execute_script("""
        const [x, y] = [arguments[0], arguments[1]];
        for (const type of ['pointermove', 'pointerdown', 'pointerup'])
          document.dispatchEvent(new PointerEvent(type, {clientX: x, clientY: y,
              button: 0, bubbles: true}));""",
                     r["x"] + (500.5 * scale), r["y"] + (400.5 * scale))
    time.sleep(0.3)


TOUCH = """
const r = document.getElementById('screen').getBoundingClientRect();
const s = r.width / 640;
for (const [type, id, x, y] of arguments[0])
  document.getElementById('screen').dispatchEvent(new PointerEvent(type, {
      pointerType: 'touch', pointerId: id, isPrimary: id === 1, button: 0,
      clientX: r.left + (x + 0.5) * s, clientY: r.top + (y + 0.5) * s,
      bubbles: true, cancelable: true}));
"""


def play_touch(port, right):
    """The clicks of click_scaled made with fingers: taps, and the right
    click as a long press or as a tap of two fingers."""
    d = browser(1280, 960)
    scene = f"pictures by touch ({right})"
    try:
        d.get(f"http://127.0.0.1:{port}/pictures/index.html")
        await_picture(d, scene, f"{WORK}/pictures-before.rgb", "the first picture")
        fingers = lambda *events: (d.execute_script(TOUCH, list(events)),
                                   time.sleep(0.3))
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
        await_picture(d, scene, f"{WORK}/pictures-after.rgb",
                      "the picture after taps and a right click by touch")
    finally:
        d.quit()


def play_sound(port):
    """A WAV effect reaches Web Audio and is heard: the page's meter on its
    output rises above silence."""
    d = browser(1280, 960)
    try:
        d.get(f"http://127.0.0.1:{port}/klaenge/index.html")
        audio = "return Module.mowa.audio;"
        check("klänge", "the WAV asked of Web Audio",
              within(20, lambda: d.execute_script(audio)["wavRequests"] >= 1))
        heard = within(10, lambda: d.execute_script(audio)["peak"] > 0.1)
        check("klänge", "the WAV heard", heard,
              f"(peak {d.execute_script(audio)['peak']})")
        d.find_element(By.ID, "mute").click()
        check("klänge", "the mute control", "off" in
              d.find_element(By.ID, "mute").get_attribute("title"))
    finally:
        d.quit()


def main():
    server = serve(f"{WORK}/site")
    port = server.server_address[1]
    try:
        # A window of another shape: the picture is scaled and letterboxed.
        play("pictures", port, 1300, 900, clicks=True)
        for scene in ("text", "zoom", "japanese"):
            play(scene, port)
        play_kept(port)
        play_later(port)
        play_restore(port)
        play_local(port)
        play_keys(port)
        play_demo(port)
        play_sound(port)
        play_touch(port, "long press")
        play_touch(port, "two fingers")
    finally:
        server.shutdown()
    if failures:
        sys.exit(1)
    print("web: pictures, scaled clicks and a tap, text, zoom, Japanese names, "
          "a save kept across a reload, a picture fetched when named and a "
          "missing one, the demo played to its end with clicks, a save file restored "
          "and downloaded, stories opened from a folder and a .zip, the reader's "
          "keys, a WAV heard, taps, a long press and "
          "a two-finger tap, the farewell box and the "
          "ended state as expected")


main()
