"""Music of the browser player in Debian's headless Chromium.

A story made here loops a one-second MIDI sequence until a left click stops
it, then loops a WAV effect. Where the page may sound at once, the sequence
reaches the synthesiser, is heard (through the page's output too, not when
muted), loops, falls silent at `stop_midi`; the WAV is heard; all is silent
once the story has ended. Where the browser waits for the reader, the music
starts at the first key. No console error either way.
Usage: music_test.py WEB_PLAYER_DIR (exits 77 when a tool or it is missing).
"""
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PLAYER = os.path.abspath(sys.argv[1])
try:
    import browser
    from browser import ActionChains, By, Keys, within
except ImportError:
    print("web_music: python3-selenium is missing (scripts/setup installs it)")
    sys.exit(77)
for need in ("/usr/bin/chromium", "/usr/bin/chromedriver", "sox",
             f"{PLAYER}/mowa.js", f"{ROOT}/web/node_modules/js-synthesizer"):
    if not (os.path.exists(need) or shutil.which(need)):
        print(f"web_music: {need} is missing (scripts/setup and make web make it)")
        sys.exit(77)
check = browser.Checks("web_music")

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
    pathlib.Path(f"{story}/data/mowa.snr").write_bytes(
        SCENARIO.replace("\n", "\r\n").encode("cp932"))
    pathlib.Path(f"{story}/data/loop.mid").write_bytes(midi_file())
    subprocess.run(["sox", "-n", "-r", "22050", "-b", "16", "-c", "1",
                    f"{story}/beep.wav", "synth", "0.3", "sine", "660"], check=True)
    subprocess.run([f"{ROOT}/scripts/web-pack", story, f"{work}/site"], check=True,
                   stdout=subprocess.DEVNULL, env=dict(os.environ, MOWA_WEB_PLAYER=PLAYER))
    return f"{work}/site"


class Page:
    def __init__(self, d):
        self.d = d

    def music(self, field):
        return self.d.execute_script(f"return Module.mowa.music.{field};")

    def level(self):
        return self.music("level()")

    def peak(self, reset=False):
        return self.d.execute_script(
            "const a = Module.mowa.audio, p = a.peak; if (arguments[0]) a.peak = 0; return p;",
            reset)

    def rises(self, run, what, meter, above, seconds=10):
        """METER: "level" of the synthesiser or "peak" of the page's output."""
        read = getattr(self, meter)
        check(run, what, within(seconds, lambda: read() > above), f"({meter} {read()})")


def sounding_at_once(d, page, run):
    check(run, "the loop's next pass reached the synthesiser",
          within(40, lambda: page.music("plays") >= 2), f"({page.music('plays')} passes)")
    page.rises(run, "the music heard", "level", 0.01)
    page.rises(run, "the music heard through the page's output", "peak", 0.01)

    mute = d.find_element(By.ID, "mute")
    mute.click()
    time.sleep(0.3)
    page.peak(reset=True)
    page.rises(run, "the synthesiser still sounding when muted", "level", 0.01)
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
    page.rises(run, "the WAV heard after the music", "peak", 0.1)

    # Escape, Enter on the farewell box: the story ends, and its sound too.
    ActionChains(d).send_keys(Keys.ESCAPE).pause(1).send_keys(Keys.ENTER).perform()
    browser.ended(d, check, run)
    time.sleep(0.3)
    page.peak(reset=True)
    time.sleep(0.5)
    check(run, "silence after the end", page.peak() < SILENT, f"(peak {page.peak()})")


def sounding_after_a_key(d, page, run):
    check(run, "nothing sounds before the reader acts",
          page.music("plays") == 0 and page.level() == 0,
          f"(passes {page.music('plays')}, level {page.level()})")
    ActionChains(d).send_keys(" ").perform()
    check(run, "the music started at the first key",
          within(40, lambda: page.music("plays") >= 1 and page.level() > 0.01),
          f"(passes {page.music('plays')}, level {page.level()})")


work = tempfile.mkdtemp()
try:
    with browser.serving(make_site(work)) as url:
        for run, autoplay, play in (
                ("sound allowed at once", "no-user-gesture-required", sounding_at_once),
                ("sound after the first key", "document-user-activation-required",
                 sounding_after_a_key)):
            with browser.opened(f"{url}/index.html", (800, 600), autoplay=autoplay) as d:
                page, midi_bytes = Page(d), len(midi_file())
                check(run, "the synthesiser received the sequence",
                      within(20, lambda: page.music("loadedBytes") == midi_bytes),
                      f"({page.music('loadedBytes')} bytes of {midi_bytes})")
                play(d, page, run)
                errors = browser.console_errors(d, [])
                check(run, "no console errors", not errors, str(errors))
finally:
    shutil.rmtree(work, ignore_errors=True)
check.end("the sequence reached the synthesiser, was heard, looped, muted and "
          "stopped; the WAV heard after it; silence at the end; music started at "
          "the first key where the browser waits for one; no console errors")
