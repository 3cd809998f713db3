// The page around the player (mowa.js): loads the story into the player's
// memory, shows its picture on the canvas, queues input for it and reports
// its state on <body data-state>.
'use strict';

var Module = (function () {
  const WIDTH = 640, HEIGHT = 480;
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const image = context.createImageData(WIDTH, HEIGHT);
  const words = new Uint32Array(image.data.buffer);
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

  let firstPictureMs = -1;
  function present(pixels, width, height) {
    if (width !== WIDTH || height !== HEIGHT) return;
    if (firstPictureMs < 0 && pixels.some((p) => p !== 0)) {
      firstPictureMs = performance.now();  // read by scripts/web-bench
      module.mowa.firstPictureMs = firstPictureMs;
    }
    for (let i = 0; i < pixels.length; ++i) {
      const p = pixels[i];  // 0x00RRGGBB to the canvas's bytes R, G, B, A
      words[i] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >>> 16) & 0xFF);
    }
    context.putImageData(image, 0, 0);
  }

  // ---- input, in picture pixels ----
  function push(event) {
    input.push(event);
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
  document.addEventListener('keydown', (e) => {
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
    const state = { peak: 0, wavRequests: 0 };
    // Made when first needed, not while the page loads: a browser takes a
    // long while to open its audio output the first time.
    function ensure() {
      if (context || !Context) return context;
      context = new Context();
      gain = context.createGain();
      gain.gain.value = muted ? 0 : 1;
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
      if (!ensure()) return;
      const mine = serial;
      context.decodeAudioData(bytes.buffer).then((buffer) => {
        if (mine !== serial) return;
        if (running()) start(buffer, loop);
        else if (loop) held = buffer;
      }, (error) => console.warn('mowa: a sound cannot be decoded: ' + error));
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
    button.addEventListener('click', () => {
      muted = !muted;
      localStorage.setItem('mowa-muted', muted ? '1' : '0');
      if (gain) gain.gain.value = muted ? 0 : 1;
      showMuted();
    });
    showMuted();
    state.playWav = playWav;
    state.stopWav = stopWav;
    return state;
  })();

  function waitForInput(timeoutMs) {
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

  // ---- files the program wrote whole (the save file), kept in IndexedDB
  // under this story's address ----
  const params = new URLSearchParams(location.search);
  // A story opened from the reader's own computer, by its folder's or .zip's
  // name; null for the story published with the page.
  const LOCAL = params.get('local');
  const SITE_KEY = location.origin + location.pathname.replace(/[^/]*$/, '');
  const STORY_KEY = SITE_KEY + (LOCAL === null ? '' : 'local/' + LOCAL + '/');
  const LOCAL_KEY = 'story|' + SITE_KEY + '|';
  function database() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open('mowa', 1);
      request.onupgradeneeded = () => request.result.createObjectStore('files');
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }
  function transaction(mode, work) {
    return database().then((db) => new Promise((resolve, reject) => {
      const tx = db.transaction('files', mode);
      const result = work(tx.objectStore('files'));
      tx.oncomplete = () => { db.close(); resolve(result.result); };
      tx.onerror = tx.onabort = () => { db.close(); reject(tx.error); };
    }));
  }
  // Resolves once the transaction has committed: 0, or -1 on failure.
  function keep(path) {
    let bytes;
    try {
      bytes = module.FS.readFile(path);
    } catch (e) {
      return Promise.resolve(-1);
    }
    return transaction('readwrite', (store) => store.put(bytes, STORY_KEY + '|' + path))
        .then(() => 0, (error) => {
          console.warn('mowa: cannot keep ' + path + ': ' + error);
          return -1;
        });
  }
  // What the program kept on earlier visits replaces the story's own files.
  function restore(FS) {
    const range = IDBKeyRange.bound(STORY_KEY + '|', STORY_KEY + '|\uffff');
    const entries = [];
    return transaction('readonly', (store) => {
      const request = store.openCursor(range);
      request.onsuccess = () => {
        const cursor = request.result;
        if (!cursor) return;
        entries.push([cursor.key.slice(STORY_KEY.length + 1), cursor.value]);
        cursor.continue();
      };
      return request;
    }).then(() => entries.forEach(([path, bytes]) => {
      FS.mkdirTree(path.slice(0, path.lastIndexOf('/')) || '/');
      FS.writeFile(path, bytes);
      delete FS.lookupPath(path).node.mowaUrl;  // no longer the story's own
    }), (error) => console.warn('mowa: saved files cannot be read: ' + error));
  }

  // ---- the save file offered for download and restored from one the
  // reader picks: a file of any other size than the program's is refused and
  // the old one kept whole ----
  const SAVE_BYTES = 400;
  let noticeTimer = 0;
  function notice(text) {
    const box = document.getElementById('notice');
    box.textContent = text;
    box.hidden = false;
    clearTimeout(noticeTimer);
    noticeTimer = setTimeout(() => { box.hidden = true; }, 6000);
  }
  // The save file's path as the program spells it (any letter case).
  function savePath() {
    const FS = module.FS;
    let data = '/story/data';
    try {
      const found = FS.readdir('/story').find((n) => n.toLowerCase() === 'data');
      if (found) data = '/story/' + found;
      const name = FS.readdir(data).find((n) => n.toLowerCase() === 'save.dat');
      return { path: data + '/' + (name || 'save.dat'), exists: !!name };
    } catch (e) {
      return { path: data + '/save.dat', exists: false };
    }
  }
  document.getElementById('save-download').addEventListener('click', async () => {
    if (!module.FS) return;
    const save = savePath();
    if (save.exists) await fetchPlaced(save.path);
    let bytes;
    try {
      bytes = module.FS.readFile(save.path);
    } catch (e) {
      notice('There is no save file yet: the story has not saved.');
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = 'save.dat';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  });
  const picker = document.getElementById('save-file');
  document.getElementById('save-restore').addEventListener('click', () => picker.click());
  picker.addEventListener('change', async () => {
    const file = picker.files[0];
    picker.value = '';
    if (!file || !module.FS) return;
    if (file.size !== SAVE_BYTES) {
      notice(`"${file.name}" is not a save file of this player: a save file ` +
             `is exactly ${SAVE_BYTES} bytes, this one ${file.size}. ` +
             'The save file is left as it was.');
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    const FS = module.FS;
    const save = savePath();
    // The old file is kept whole until the database has the new one.
    const old = save.exists ? (await fetchPlaced(save.path), FS.readFile(save.path)) : null;
    FS.mkdirTree(save.path.slice(0, save.path.lastIndexOf('/')));
    FS.writeFile(save.path, bytes);
    if (await keep(save.path) !== 0) {
      if (old) FS.writeFile(save.path, old);
      else FS.unlink(save.path);
      notice('The save file could not be stored by the browser; the old one is kept.');
      return;
    }
    notice(`Save file restored from "${file.name}": the story's next load reads it.`);
  });

  // ---- the story's files and the font. Only the manifest, the scenario and
  // the font come before the program starts, fetched while the player itself
  // loads; every other file is placed with its size but no bytes, marked with
  // its address, and fetched when the program first opens it
  // (src/platform/web/web_files.js) ----
  function url(path) {
    return path.split('/').map(encodeURIComponent).join('/');
  }
  async function fetchBytes(path) {
    const response = await fetch(url(path));
    if (!response.ok) throw new Error(path + ': ' + response.status);
    return new Uint8Array(await response.arrayBuffer());
  }
  const SCENARIO = 'data/mowa.snr';
  const story = LOCAL !== null ? (async () => {
    const record = await transaction('readonly', (store) => store.get(LOCAL_KEY + LOCAL));
    if (!record) throw new Error(`the story "${LOCAL}" is no longer kept in this browser`);
    // Such a story may show any character: the whole font.
    return { files: [], local: record.files, font: await fetchBytes('mowa-gothic-full.ttf') };
  })() : (async () => {
    const response = await fetch('story/manifest.json');
    if (!response.ok) throw new Error('story/manifest.json: ' + response.status);
    const manifest = await response.json();
    const scenario = manifest.files.find((name) => name.toLowerCase() === SCENARIO);
    const [font, bytes] = await Promise.all([
      fetchBytes(manifest.font || 'mowa-gothic.ttf'),
      scenario ? fetchBytes('story/' + scenario) : null]);
    return { files: manifest.files, sizes: manifest.sizes || [], scenario: scenario,
             bytes: bytes, font: font };
  })();
  story.catch(() => {});  // reported when the program is about to start
  async function place(FS) {
    const loaded = await story;
    FS.mkdirTree('/font');
    FS.writeFile('/font/mowa-gothic.ttf', loaded.font);
    for (const [name, bytes] of loaded.local || []) {
      FS.mkdirTree('/story/' + name.slice(0, name.lastIndexOf('/') + 1));
      FS.writeFile('/story/' + name, bytes);
    }
    loaded.files.forEach((name, i) => {
      const slash = name.lastIndexOf('/');
      FS.mkdirTree('/story/' + (slash < 0 ? '' : name.slice(0, slash)));
      if (name === loaded.scenario) {
        FS.writeFile('/story/' + name, loaded.bytes);
        return;
      }
      FS.writeFile('/story/' + name, new Uint8Array(0));
      // Its size is known before its bytes, for what looks at it first.
      const node = FS.lookupPath('/story/' + name).node;
      node.usedBytes = loaded.sizes[i] || 0;
      node.mowaUrl = 'story/' + name;
    });
    FS.mkdirTree('/story');  // a folder DATA of the story stays the one found
    await restore(FS);
  }
  // The bytes of a file placed empty, fetched once; null for any other file.
  // A file the server does not give is taken away, so that the program finds
  // it missing as it would on the desktop.
  function fetchPlaced(path) {
    const FS = module.FS;
    let node;
    try {
      node = FS.lookupPath(path, { follow: true }).node;
    } catch (e) {
      return null;
    }
    if (!node.mowaUrl) return null;
    if (!node.mowaFetch) {
      node.mowaFetch = fetchBytes(node.mowaUrl).then((bytes) => {
        if (!node.mowaUrl) return;
        FS.writeFile(path, bytes);
        delete node.mowaUrl;
      }, (error) => {
        console.warn('mowa: cannot fetch ' + error.message);
        delete node.mowaUrl;
        try { FS.unlink(path); } catch (e) {}
      });
    }
    return node.mowaFetch;
  }

  // ---- a story from the reader's own computer: a folder or a .zip, picked
  // or dropped on the page. Its files are kept in the database and the page
  // starts again with it ----
  function storyRoot(paths) {  // the folder that holds data/mowa.snr
    let best = null;
    for (const path of paths) {
      const lower = path.toLowerCase();
      if (lower !== SCENARIO && !lower.endsWith('/' + SCENARIO)) continue;
      const root = path.slice(0, path.length - SCENARIO.length);
      if (best === null || root.length < best.length) best = root;
    }
    return best;
  }
  async function openLocal(name, entries) {  // entries: [path, Blob or bytes]
    const root = storyRoot(entries.map((e) => e[0]));
    if (root === null) {
      notice(`"${name}" holds no data/mowa.snr: it is not a story.`);
      return;
    }
    const files = [];
    for (const [path, data] of entries) {
      if (!path.startsWith(root) || path.endsWith('/')) continue;
      const bytes = data instanceof Uint8Array ? data : new Uint8Array(await data.arrayBuffer());
      files.push([path.slice(root.length), bytes]);
    }
    try {
      await transaction('readwrite', (store) => store.put({ files: files }, LOCAL_KEY + name));
    } catch (error) {
      notice(`"${name}" cannot be kept by the browser: ${error}`);
      return;
    }
    location.search = '?local=' + encodeURIComponent(name);
  }
  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error(src + ' cannot be loaded'));
      document.head.appendChild(script);
    });
  }
  // A name the .zip does not mark as UTF-8 comes as its bytes: Windows writes
  // them in code page 932.
  function zipName(name) {
    if (!/[\x80-\xff]/.test(name) || /[^\x00-\xff]/.test(name)) return name;
    const bytes = Uint8Array.from(name, (c) => c.charCodeAt(0));
    try {
      return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch (e) {
      return new TextDecoder('shift_jis').decode(bytes);
    }
  }
  async function openZip(file) {
    let entries;
    try {
      if (!window.fflate) await loadScript('fflate.js');
      const all = window.fflate.unzipSync(new Uint8Array(await file.arrayBuffer()));
      entries = Object.keys(all).map((n) => [zipName(n), all[n]]);
    } catch (error) {
      notice(`"${file.name}" cannot be read as a .zip: ${error.message || error}`);
      return;
    }
    await openLocal(file.name.replace(/\.zip$/i, ''), entries);
  }
  function openFolder(files) {
    if (files.length === 0) return;
    const paths = files.map((f) => f.webkitRelativePath || f.name);
    const name = paths[0].split('/')[0];
    openLocal(name, files.map((f, i) => [paths[i].slice(name.length + 1), f]));
  }
  async function readTree(folder, prefix, out) {
    const reader = folder.createReader();
    for (;;) {
      const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      if (batch.length === 0) return out;
      for (const entry of batch) {
        if (entry.isDirectory) await readTree(entry, prefix + entry.name + '/', out);
        else out.push([prefix + entry.name, await new Promise((resolve, reject) => entry.file(resolve, reject))]);
      }
    }
  }
  const folderPicker = document.getElementById('story-folder');
  const zipPicker = document.getElementById('story-zip');
  document.getElementById('open-folder').addEventListener('click', () => folderPicker.click());
  document.getElementById('open-zip').addEventListener('click', () => zipPicker.click());
  folderPicker.addEventListener('change', () => openFolder(Array.from(folderPicker.files)));
  zipPicker.addEventListener('change', () => {
    if (zipPicker.files[0]) openZip(zipPicker.files[0]);
  });
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', async (e) => {
    e.preventDefault();
    const item = e.dataTransfer.items && e.dataTransfer.items[0];
    const entry = item && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
    if (entry && entry.isDirectory) {
      openLocal(entry.name, await readTree(entry, '', []));
      return;
    }
    const file = e.dataTransfer.files[0];
    if (file) openZip(file);
  });

  const module = {
    mowa: { input: input, present: present, waitForInput: waitForInput, setState: setState,
            keep: keep, audio: audio, fetchPlaced: fetchPlaced },
    arguments: params.has('trace') ? ['--trace'] : [],
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    preRun: [() => {
      module.addRunDependency('story');
      place(module.FS).then(() => module.removeRunDependency('story'), (error) => {
        console.warn('mowa: cannot load the story: ' + error.message);
        setState('ended', 2);
      });
    }],
  };
  return module;
})();
