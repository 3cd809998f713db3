"""Music of the browser player in Debian's headless Chromium.

A story made here plays a one-second MIDI sequence that loops until a left
click stops it, then loops a WAV effect. In a browser that lets the page
sound at once, the synthesiser must receive the sequence, be heard (also
through the page's output, and not when muted), get the next pass when the
sequencer's clock ends one, fall silent at `stop_midi`, the WAV must still
be heard, and all must be silent once the story has ended. In a browser that waits for the reader, the music must start
at the first key. The console must show no error.

Usage: music_test.py WEB_PLAYER_DIR (exits 77, skipped, when a tool or the
player is missing).
"""
import functools
import http.server
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PLAYER = os.path.abspath(sys.argv[1])
failures = []

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    print("web_music: python3-selenium is missing (scripts/setup installs it)")
    sys.exit(77)
for need in ("/usr/bin/chromium", "/usr/bin/chromedriver", "sox",
             f"{PLAYER}/mowa.js", f"{ROOT}/web/node_modules/js-synthesizer"):
    if not (os.path.exists(need) or shutil.which(need)):
        print(f"web_music: {need} is missing (scripts/setup and make web make it)")
        sys.exit(77)

# Below -80 dB: the synthesiser's reverberation leaves a trace of noise.
SILENT = 1e-4
SCENARIO = r"""play_midi".\data\loop.mid"
[wait]
get_mouse_state"@01"
if"@01=1,stop,wait"
[stop]
stop_midi
play_wav"beep.wav,1"
[rest]
get_mouse_state"@01"
goto"rest"
"""


def midi_file():
    """One track: a C major chord on the piano held for 3/4 of a second,
    ending at one second (480 ticks a beat at the default 120 beats a
    minute)."""
    def var(n):
        out = [n & 0x7F]
        while n > 0x7F:
            n >>= 7
            out.insert(0, 0x80 | (n & 0x7F))
        return bytes(out)
    notes = (60, 64, 67)
    track = b"".join(var(0) + bytes([0x90, n, 100]) for n in notes)
    track += b"".join(var(720 if i == 0 else 0) + bytes([0x80, n, 0])
                      for i, n in enumerate(notes))
    track += var(240) + b"\xff\x2f\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) +
            b"MTrk" + struct.pack(">I", len(track)) + track)


def make_site(work):
    story = f"{work}/story"
    os.makedirs(f"{story}/data")
    with open(f"{story}/data/mowa.snr", "wb") as f:
        f.write(SCENARIO.replace("\n", "\r\n").encode("cp932"))
    with open(f"{story}/data/loop.mid", "wb") as f:
        f.write(midi_file())
    subprocess.run(["sox", "-n", "-r", "22050", "-b", "16", "-c", "1",
                    f"{story}/beep.wav", "synth", "0.3", "sine", "660"], check=True)
    subprocess.run([f"{ROOT}/scripts/web-pack", story, f"{work}/site"], check=True,
                   stdout=subprocess.DEVNULL, env=dict(os.environ, MOWA_WEB_PLAYER=PLAYER))
    return f"{work}/site"


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def browser(autoplay):
    o = webdriver.ChromeOptions()
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=800,600",
              "--autoplay-policy=" + autoplay]:
        o.add_argument(a)
    o.binary_location = "/usr/bin/chromium"
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)


def within(seconds, test):
    end = time.time() + seconds
    while time.time() < end:
        if test():
            return True
        time.sleep(0.1)
    return test()


def check(run, what, ok, detail=""):
    if not ok:
        failures.append(f"{run}: {what} {detail}")
        print(f"web_music ({run}): FAILED {what} {detail}")


class Page:
    def __init__(self, d):
        self.d = d

    def music(self, field):
        return self.d.execute_script(f"return Module.mowa.music.{field};")

    def level(self):
        return self.d.execute_script("return Module.mowa.music.level();")

    def peak(self, reset=False):
        return self.d.execute_script(
            "const a = Module.mowa.audio, p = a.peak; if (arguments[0]) a.peak = 0; return p;",
            reset)


def sounding_at_once(d, page, midi_bytes):
    run = "sound allowed at once"
    check(run, "the synthesiser received the sequence",
          within(20, lambda: page.music("loadedBytes") == midi_bytes),
          f"({page.music('loadedBytes')} bytes of {midi_bytes})")
    check(run, "the loop's next pass reached the synthesiser",
          within(40, lambda: page.music("plays") >= 2), f"({page.music('plays')} passes)")
    check(run, "the music heard", within(10, lambda: page.level() > 0.01),
          f"(level {page.level()})")
    check(run, "the music heard through the page's output",
          within(10, lambda: page.peak() > 0.01), f"(peak {page.peak()})")

    mute = d.find_element(By.ID, "mute")
    mute.click()
    time.sleep(0.3)
    page.peak(reset=True)
    check(run, "the synthesiser still sounding when muted",
          within(10, lambda: page.level() > 0.01))
    time.sleep(0.5)
    check(run, "the mute control silences the music", page.peak() == 0,
          f"(peak {page.peak()})")
    mute.click()

    canvas = d.find_element(By.ID, "screen")
    ActionChains(d).move_to_element(canvas).click_and_hold().pause(0.3).release().perform()
    check(run, "stop_midi silences the synthesiser",
          within(10, lambda: page.music("sounding") == 0 and page.level() < SILENT),
          f"(sounding {page.music('sounding')}, level {page.level()})")
    plays = page.music("plays")
    time.sleep(1.5)  # longer than a pass: a loop that went on would restart
    check(run, "no pass after stop_midi", page.music("plays") == plays)
    page.peak(reset=True)
    check(run, "the WAV heard after the music",
          within(10, lambda: page.peak() > 0.1), f"(peak {page.peak()})")

    # Escape, Enter on the farewell box: the story ends, and its sound too.
    ActionChains(d).send_keys(Keys.ESCAPE).pause(1).send_keys(Keys.ENTER).perform()
    body = d.find_element(By.TAG_NAME, "body")
    check(run, "the story ended",
          within(10, lambda: body.get_attribute("data-state") == "ended"))
    time.sleep(0.3)
    page.peak(reset=True)
    time.sleep(0.5)
    check(run, "silence after the end", page.peak() < SILENT, f"(peak {page.peak()})")


def sounding_after_a_key(d, page, midi_bytes):
    run = "sound after the first key"
    check(run, "the synthesiser received the sequence",
          within(20, lambda: page.music("loadedBytes") == midi_bytes))
    check(run, "nothing sounds before the reader acts",
          page.music("plays") == 0 and page.level() == 0,
          f"(passes {page.music('plays')}, level {page.level()})")
    ActionChains(d).send_keys(" ").perform()
    check(run, "the music started at the first key",
          within(40, lambda: page.music("plays") >= 1 and page.level() > 0.01),
          f"(passes {page.music('plays')}, level {page.level()})")


def main():
    work = tempfile.mkdtemp()
    try:
        site = make_site(work)
        midi_bytes = len(midi_file())
        handler = functools.partial(QuietHandler, directory=site)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        for autoplay, play in (("no-user-gesture-required", sounding_at_once),
                               ("document-user-activation-required", sounding_after_a_key)):
            d = browser(autoplay)
            try:
                d.get(url)
                play(d, Page(d), midi_bytes)
                errors = [l["message"] for l in d.get_log("browser") if l["level"] == "SEVERE"]
                check(play.__name__, "no console errors", not errors, str(errors))
            finally:
                d.quit()
        server.shutdown()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        sys.exit(1)
    print("web_music: the sequence reached the synthesiser, was heard, looped, "
          "muted and stopped; the WAV heard after it; silence at the end; music "
          "started at the first key where the browser waits for one; no console "
          "errors")


main()
