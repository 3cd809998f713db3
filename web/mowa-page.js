// The page around the player (mowa.js): places the story (mowa-story.js) in
// the player's memory, shows its picture on the canvas, queues input for it
// and reports its state on <body data-state>.
'use strict';

var Module = (function () {
  const WIDTH = 640, HEIGHT = 480;
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const image = context.createImageData(WIDTH, HEIGHT);
  const input = [];
  let wake = null;

  // ---- the picture, scaled to fill the window with square pixels ----
  function fit() {
    const scale = Math.min(window.innerWidth / WIDTH, window.innerHeight / HEIGHT);
    canvas.style.width = Math.floor(WIDTH * scale) + 'px';
    canvas.style.height = Math.floor(HEIGHT * scale) + 'px';
  }
  window.addEventListener('resize', fit);
  fit();

  let firstPictureMs = -1, pictureShown = null;
  const shown = new Promise((resolve) => { pictureShown = resolve; });
  // `rgba`: the picture in the canvas's bytes; `lit`: not all of it black.
  function present(rgba, width, height, lit) {
    if (width !== WIDTH || height !== HEIGHT) return;
    image.data.set(rgba);
    context.putImageData(image, 0, 0);
    // Read by scripts/web-bench.
    if (module.mowa.firstFrameMs < 0) module.mowa.firstFrameMs = performance.now();
    if (firstPictureMs < 0 && lit) {
      firstPictureMs = performance.now();
      module.mowa.firstPictureMs = firstPictureMs;
      pictureShown();
    }
  }

  // ---- input, in picture pixels ----
  function push(event) {
    input.push(event);
    wakeUp();
  }
  function wakeUp() {
    if (wake) { const w = wake; wake = null; w(); }
  }
  function at(e) {
    const r = canvas.getBoundingClientRect();
    return {
      x: Math.floor((e.clientX - r.left) * WIDTH / r.width),
      y: Math.floor((e.clientY - r.top) * HEIGHT / r.height),
    };
  }
  function pointer(kind) {
    return (e) => {
      if (e.target.closest && e.target.closest('button')) return;
      if (kind !== 1 && e.button !== 0 && e.button !== 2) return;
      const p = at(e);
      push({ kind: kind, x: p.x, y: p.y, code: kind === 1 ? 0 : e.button });
      if (kind !== 1) e.preventDefault();
    };
  }
  // A finger: a tap is a left click; a press held still for LONG_PRESS_MS,
  // or a tap of two fingers together, is a right click. The left press is
  // held back until the finger moves or lifts, as it may turn out right.
  const LONG_PRESS_MS = 500, STILL_PX = 10;
  const fingers = new Map();
  let held = null, timer = 0, longPress = false, twoFingers = null;
  function touch(kind, e) {
    if (e.target.closest && e.target.closest('button')) return;
    e.preventDefault();
    const p = at(e);
    if (kind === 2) {
      fingers.set(e.pointerId, p);
      if (fingers.size === 2) {
        clearTimeout(timer);
        twoFingers = held || fingers.values().next().value;
        held = null;
      } else if (fingers.size === 1) {
        held = { x: p.x, y: p.y, clientX: e.clientX, clientY: e.clientY };
        push({ kind: 1, x: p.x, y: p.y, code: 0 });
        timer = setTimeout(() => {
          if (!held) return;
          push({ kind: 2, x: held.x, y: held.y, code: 2 });
          held = null;
          longPress = true;
        }, LONG_PRESS_MS);
      }
      return;
    }
    if (kind === 1) {
      if (!fingers.has(e.pointerId)) return;
      if (held && Math.hypot(e.clientX - held.clientX, e.clientY - held.clientY) > STILL_PX) {
        clearTimeout(timer);
        push({ kind: 2, x: held.x, y: held.y, code: 0 });
        held = null;
      }
      if (!held && !twoFingers) push({ kind: 1, x: p.x, y: p.y, code: 0 });
      return;
    }
    if (!fingers.delete(e.pointerId)) return;
    if (twoFingers) {
      if (fingers.size > 0) return;
      push({ kind: 2, x: twoFingers.x, y: twoFingers.y, code: 2 });
      push({ kind: 3, x: twoFingers.x, y: twoFingers.y, code: 2 });
      twoFingers = null;
      return;
    }
    clearTimeout(timer);
    if (held) {
      push({ kind: 2, x: held.x, y: held.y, code: 0 });
      held = null;
      push({ kind: 3, x: p.x, y: p.y, code: 0 });
    } else {
      push({ kind: 3, x: p.x, y: p.y, code: longPress ? 2 : 0 });
    }
    longPress = false;
  }
  function route(kind) {
    const mouse = pointer(kind);
    return (e) => (e.pointerType === 'touch' ? touch(kind, e) : mouse(e));
  }
  document.addEventListener('pointermove', route(1));
  document.addEventListener('pointerdown', route(2));
  document.addEventListener('pointerup', route(3));
  document.addEventListener('pointercancel', route(3));
  document.addEventListener('contextmenu', (e) => e.preventDefault());

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  }
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
  const NAMED_KEYS = {
    Escape: 0x1B, Enter: 0x0D, ' ': 0x20, Backspace: 0x08, Tab: 0x09,
    PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25,
    ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, Insert: 0x2D, Delete: 0x2E,
  };
  function virtualKey(e) {
    if (e.key in NAMED_KEYS) return NAMED_KEYS[e.key];
    if (/^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(e.code)) return e.code.charCodeAt(5);
    const f = /^F([0-9]+)$/.exec(e.key);
    if (f && +f[1] >= 1 && +f[1] <= 12) return 0x6F + +f[1];
    return 0;
  }
  const keys = mowaReaderKeys(canvas, () => audio);
  document.addEventListener('keydown', (e) => {
    if (keys.handle(e)) return;
    if (e.key === 'F11' || (e.key === 'Enter' && e.altKey)) {
      e.preventDefault();
      if (!e.repeat) toggleFullscreen();
      return;
    }
    const vk = virtualKey(e);
    if (!vk || e.repeat) return;
    e.preventDefault();
    push({ kind: 4, x: 0, y: 0, code: vk });
  });

  // ---- sound: one WAV at a time through Web Audio. Browsers let a page
  // sound only after the reader's first click or key; till then a looped
  // sound is held to start at that moment and a single ring is let go ----
  const audio = (function () {
    const Context = window.AudioContext || window.webkitAudioContext;
    let context = null, gain = null, playing = null, held = null, serial = 0;
    let muted = localStorage.getItem('mowa-muted') === '1';
    // The reader's volume, 0 to 1 in tenths, for sounds and music together.
    let volume = Math.min(Math.max(+(localStorage.getItem('mowa-volume') || 1), 0), 1);
    function level() { return muted ? 0 : volume; }
    const state = { peak: 0, wavRequests: 0 };
    // Made when first needed, not while the page loads: a browser takes a
    // long while to open its audio output the first time.
    function ensure() {
      if (context || !Context) return context;
      context = new Context();
      gain = context.createGain();
      gain.gain.value = level();
      gain.connect(context.destination);
      // The loudest sample sent out, read by the browser tests.
      if (context.createScriptProcessor) {
        const meter = context.createScriptProcessor(2048, 1, 1);
        meter.onaudioprocess = (e) => {
          const data = e.inputBuffer.getChannelData(0);
          for (let i = 0; i < data.length; ++i)
            state.peak = Math.max(state.peak, Math.abs(data[i]));
        };
        gain.connect(meter);
        meter.connect(context.destination);
      }
      context.resume().catch(() => {});  // where the browser allows sound at once
      return context;
    }
    function running() { return context && context.state === 'running'; }
    // Opening the audio output blocks the page for a long while the first
    // time (a quarter of a second in a freshly started browser), so sounds
    // the story asks for first wait for its first picture, or a second for
    // a story that starts in black, unless the reader clicks first.
    function afterFirstPicture() {
      if (context) return Promise.resolve();
      return Promise.race([shown, new Promise((resolve) => setTimeout(resolve, 1000))]);
    }
    function start(buffer, loop) {
      const source = context.createBufferSource();
      source.buffer = buffer;
      source.loop = loop;
      source.connect(gain);
      source.start();
      playing = source;
    }
    function stopWav() {
      ++serial;
      held = null;
      if (playing) { try { playing.stop(); } catch (e) {} playing = null; }
    }
    function playWav(bytes, loop) {
      stopWav();
      state.wavRequests += 1;
      const mine = serial;
      afterFirstPicture().then(() => {
        if (mine !== serial || !ensure()) return;
        context.decodeAudioData(bytes.buffer).then((buffer) => {
          if (mine !== serial) return;
          if (running()) start(buffer, loop);
          else if (loop) held = buffer;
        }, (error) => console.warn('mowa: a sound cannot be decoded: ' + error));
      });
    }
    function unlock() {
      if (!ensure() || running()) return;
      context.resume().then(() => {
        if (held) { const b = held; held = null; start(b, true); }
      });
    }
    for (const kind of ['pointerdown', 'keydown'])
      document.addEventListener(kind, unlock, true);
    const button = document.getElementById('mute');
    function showMuted() {
      button.textContent = muted ? '\u{1F507}' : '\u{1F50A}';
      button.title = muted ? 'Sound off (click to turn on)' : 'Sound on (click to mute)';
    }
    function toggleMute() {
      muted = !muted;
      localStorage.setItem('mowa-muted', muted ? '1' : '0');
      if (gain) gain.gain.value = level();
      showMuted();
      return muted;
    }
    function stepVolume(tenths) {
      volume = Math.min(Math.max(Math.round(volume * 10 + tenths), 0), 10) / 10;
      localStorage.setItem('mowa-volume', String(volume));
      state.volume = volume;
      if (gain) gain.gain.value = level();
      return volume;
    }
    button.addEventListener('click', toggleMute);
    showMuted();
    state.volume = volume;
    state.toggleMute = toggleMute;
    state.stepVolume = stepVolume;
    state.playWav = playWav;
    state.stopWav = stopWav;
    state.afterFirstPicture = afterFirstPicture;
    state.opened = () => context !== null;
    // For the music (mowa-music.js): the one context, made when first asked
    // for, and the node behind which the mute control silences everything.
    // Not enumerable, so that the tests can read the state back as plain data.
    Object.defineProperties(state, {
      context: { get: ensure },
      output: { get() { ensure(); return gain; } },
    });
    return state;
  })();

  // A turn for the page's own work (input, painting) between the program's:
  // a message the page sends itself comes back at once, where a timer takes
  // at least a few milliseconds, and often a frame, while the page loads.
  const turns = new MessageChannel();
  const turnWaiters = [];
  turns.port1.onmessage = () => turnWaiters.shift()();
  function yieldTurn() {
    return new Promise((resolve) => {
      turnWaiters.push(resolve);
      turns.port2.postMessage(0);
    });
  }

  // Resolves when the scenario next waits for the reader, or two seconds on:
  // a moment when a stall of the page is not seen.
  let waiting = [];
  function whileWaiting() {
    return new Promise((resolve) => {
      waiting.push(resolve);
      setTimeout(resolve, 2000);
    });
  }
  audio.whileWaiting = whileWaiting;

  function waitForInput(timeoutMs) {
    if (waiting.length > 0) {
      waiting.forEach((resolve) => resolve());
      waiting = [];
    }
    if (input.length > 0) return Promise.resolve();
    return new Promise((resolve) => {
      let timer = 0;
      wake = () => { clearTimeout(timer); resolve(); };
      if (timeoutMs >= 0) timer = setTimeout(() => { wake = null; resolve(); }, timeoutMs);
    });
  }

  function setState(state, exitCode) {
    document.body.dataset.state = state;
    if (state === 'ended') {
      document.body.dataset.exitCode = String(exitCode);
      document.getElementById('ended').hidden = false;
    }
  }
  document.getElementById('again').addEventListener('click', () => location.reload());

  const story = mowaStory(() => module.FS);
  const params = new URLSearchParams(location.search);

  const module = {
    mowa: { input: input, present: present, waitForInput: waitForInput, setState: setState,
            keep: story.keep, audio: audio, fetchPlaced: story.fetchPlaced, firstFrameMs: -1,
            fastForward: () => keys.fastForward(), yieldTurn: yieldTurn },
    arguments: params.has('trace') ? ['--trace'] : [],
    // The program as index.html compiled it while the page loaded.
    instantiateWasm: (imports, receive) => {
      mowaProgram.then((program) => WebAssembly.instantiate(program, imports)).then(
          (instance) => receive(instance), (error) => {
            console.warn('mowa: the player cannot be loaded: ' + error);
            setState('ended', 2);
          });
      return {};
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    preRun: [() => {
      module.addRunDependency('story');
      story.place(module.FS).then(() => module.removeRunDependency('story'), (error) => {
        console.warn('mowa: cannot load the story: ' + error.message);
        setState('ended', 2);
      });
    }],
  };
  return module;
})();
