// The story the page plays (loaded before web/mowa-page.js): its files,
// fetched as the program opens them; the files the program writes whole (the
// save file), kept in IndexedDB; the save file downloaded and restored; and
// stories opened from the reader's own computer.
'use strict';

// A script of the site loaded when first needed (the .zip reader, the
// synthesiser).
function mowaLoadScript(src) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = src;
    script.onload = resolve;
    script.onerror = () => reject(new Error(src + ' cannot be loaded'));
    document.head.appendChild(script);
  });
}

// `fs` gives the player's file system once the player has loaded.
function mowaStory(fs) {
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
      bytes = fs().readFile(path);
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
  // The database is read while the player loads, and the program starts
  // without waiting for it (a browser takes a while to open it): until it is
  // read, opening a file the program may have kept waits (fetchPlaced).
  // The program keeps only the save file, which it writes beside itself first.
  const KEPT = /(^|\/)save\.dat(\.new)?$/i;
  const saved = (() => {
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
    }).then(() => entries, (error) => {
      console.warn('mowa: saved files cannot be read: ' + error);
      return [];
    });
  })();
  let restoring = saved;  // settles once the kept files are in place
  async function restore(FS) {
    for (const [path, bytes] of await saved) {
      try {
        FS.mkdirTree(path.slice(0, path.lastIndexOf('/')) || '/');
        FS.writeFile(path, bytes);
        delete FS.lookupPath(path).node.mowaUrl;  // no longer the story's own
      } catch (error) {
        console.warn('mowa: the kept ' + path + ' cannot be put back: ' + error);
      }
    }
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
    const FS = fs();
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
    if (!fs()) return;
    await restoring;
    const save = savePath();
    if (save.exists) await fetchPlaced(save.path);
    let bytes;
    try {
      bytes = fs().readFile(save.path);
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
    if (!file || !fs()) return;
    await restoring;
    if (file.size !== SAVE_BYTES) {
      notice(`"${file.name}" is not a save file of this player: a save file ` +
             `is exactly ${SAVE_BYTES} bytes, this one ${file.size}. ` +
             'The save file is left as it was.');
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    const FS = fs();
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
  // The files the scenario names first (web-pack lists them, and the page
  // has the browser fetch them with the player): by address, their bytes.
  const early = new Map();
  function fetchEarly(names) {
    for (const name of names) {
      const fetching = fetchBytes('story/' + name);
      fetching.catch(() => {});  // reported when the program opens the file
      early.set('story/' + name, fetching);
    }
  }
  const story = LOCAL !== null ? (async () => {
    const record = await transaction('readonly', (store) => store.get(LOCAL_KEY + LOCAL));
    if (!record) throw new Error(`the story "${LOCAL}" is no longer kept in this browser`);
    // Such a story may show any character: the whole font.
    return { files: [], local: record.files, font: await fetchBytes('mowa-gothic-full.ttf') };
  })() : (async () => {
    // web-pack puts the manifest in the page too.
    const inPage = document.getElementById('mowa-manifest');
    let manifest;
    if (inPage) {
      manifest = JSON.parse(inPage.textContent);
    } else {
      const response = await fetch('story/manifest.json');
      if (!response.ok) throw new Error('story/manifest.json: ' + response.status);
      manifest = await response.json();
    }
    const scenario = manifest.files.find((name) => name.toLowerCase() === SCENARIO);
    fetchEarly(manifest.early || []);
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
    restoring = restore(FS);
  }
  // The bytes of a file placed empty, fetched once; null for any other file.
  // A file the server does not give is taken away, so that the program finds
  // it missing as it would on the desktop.
  function fetchPlaced(path) {
    if (restoring && KEPT.test(path)) {
      const then = () => { restoring = null; return fetchPlaced(path); };
      return restoring.then(then, then);
    }
    const FS = fs();
    let node;
    try {
      node = FS.lookupPath(path, { follow: true }).node;
    } catch (e) {
      return null;
    }
    if (!node.mowaUrl) return null;
    if (!node.mowaFetch) {
      const fetching = early.get(node.mowaUrl) || fetchBytes(node.mowaUrl);
      early.delete(node.mowaUrl);
      node.mowaFetch = fetching.then((bytes) => {
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
      if (!window.fflate) await mowaLoadScript('fflate.js');
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

  return { keep: keep, place: place, fetchPlaced: fetchPlaced };
}
