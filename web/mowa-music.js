// The player's music: the MIDI sequences its MCI sequencer devices load,
// start and unload, sounded by FluidSynth compiled to WebAssembly
// (js-synthesizer) with the TimGM6mb soundfont, the synthesiser and the
// sounds of the Linux player. It runs in an AudioWorklet, which needs no
// SharedArrayBuffer and no special headers, only a secure page (https or
// localhost); FluidSynth's module takes the global name `Module`, which the
// page already uses, so it cannot run beside the page itself. The
// synthesiser and its soundfont are fetched at the first play, once the
// first picture is shown.
//
// The sequencer's clock, not the synthesiser, ends every pass: a sequence
// sounds until its device is unloaded, and the next pass is a new start.
'use strict';

(function (mowa) {
  const FILES = 'music/';
  const audio = mowa.audio;
  let context = null;  // the page's audio context, asked for at the first play
  const sequences = new Map();  // device id -> the file's bytes
  let wanted = 0;  // the device whose sequence should sound now (0: none)
  let serial = 0;  // bumped by every change of what should sound
  let ready = null;  // a promise of the synthesiser, made at the first play
  let synth = null;  // the synthesiser, once it has its soundfont
  let analyser = null;
  let warned = false;
  // What the browser tests read: sequences received, passes handed to the
  // synthesiser, the device sounding, and level() the loudest sample the
  // synthesiser sends out now.
  const state = { loads: 0, loadedBytes: 0, plays: 0, sounding: 0, level: level };

  function level() {
    if (!analyser) return 0;
    const data = new Float32Array(analyser.fftSize);
    analyser.getFloatTimeDomainData(data);
    return data.reduce((peak, v) => Math.max(peak, Math.abs(v)), 0);
  }

  async function makeSynth() {
    if (!context || !context.audioWorklet)
      throw new Error('this page cannot run an AudioWorklet (it needs https or localhost)');
    const font = fetch(FILES + 'TimGM6mb.sf2').then((response) => {
      if (!response.ok) throw new Error('TimGM6mb.sf2: ' + response.status);
      return response.arrayBuffer();
    });
    await mowaLoadScript(FILES + 'js-synthesizer.min.js');
    await context.audioWorklet.addModule(FILES + 'libfluidsynth-2.4.6.js');
    await context.audioWorklet.addModule(FILES + 'js-synthesizer.worklet.min.js');
    const made = new JSSynth.AudioWorkletNodeSynthesizer();
    made.init(context.sampleRate);
    // The gain the Linux player's mixer gives FluidSynth at full volume.
    const node = made.createAudioNode(context, { initialGain: 1.2 });
    // FluidSynth's messages go to the console as errors, among them one for
    // every file function the web build stubs out, at each soundfont; its
    // real failures reject the calls below and are reported by sound().
    // (JSSynth.disableLogging would bind the page's own Module.)
    made.handleLoggingChanged(JSSynth.LogLevel.Error);
    node.connect(audio.output);  // through the mute control
    analyser = context.createAnalyser();
    node.connect(analyser);
    await made.loadSFont(await font);
    synth = made;
    return made;
  }

  // Sounds the wanted sequence from its start, once the reader has let the
  // page sound and the synthesiser is ready.
  async function sound() {
    const mine = ++serial;
    if (!wanted || !sequences.has(wanted) || state.sounding === wanted) return;
    if (!context || context.state !== 'running') return;  // at the first click or key
    try {
      await ready;
    } catch (error) {
      if (!warned) console.warn('mowa: music cannot be played: ' + error);
      warned = true;
      return;
    }
    if (mine !== serial) return;
    const device = wanted;
    try {
      synth.stopPlayer();
      await synth.resetPlayer();
      if (mine !== serial) return;
      await synth.addSMFDataToPlayer(sequences.get(device).slice().buffer);
      if (mine !== serial) return;
      state.sounding = device;
      state.plays += 1;
      await synth.playPlayer();
    } catch (error) {
      console.warn('mowa: a sequence cannot be played: ' + error);
    }
  }

  function load(device, bytes) {
    sequences.set(device, bytes);
    state.loads += 1;
    state.loadedBytes = bytes.length;
  }

  function start(device) {
    if (!sequences.has(device)) return;
    wanted = device;
    if (!ready) {
      // The audio output, the synthesiser's download and its compilation all
      // come after the first picture, which they would slow, and the output
      // opens while the scenario waits for the reader, as it stalls the page.
      ready = audio.afterFirstPicture()
          .then(() => (audio.opened() ? null : audio.whileWaiting())).then(() => {
        context = audio.context;
        if (!context) throw new Error('this browser has no Web Audio');
        context.addEventListener('statechange', () => { if (wanted) sound(); });
        return makeSynth();
      });
      ready.then(sound, sound);  // a failure is reported by sound()
    }
    sound();
  }

  function unload(device) {
    sequences.delete(device);
    if (wanted !== device) return;
    wanted = 0;
    ++serial;
    state.sounding = 0;
    if (synth) {
      synth.stopPlayer();
      synth.midiAllSoundsOff();  // no release tails: silent at once
    }
  }

  // When the story ends its sounds end with it, as they do with the desktop
  // program's process, though the page stays.
  function ended() {
    for (const device of Array.from(sequences.keys())) unload(device);
    audio.stopWav();
  }
  new MutationObserver(() => {
    if (document.body.dataset.state === 'ended') ended();
  }).observe(document.body, { attributes: true, attributeFilter: ['data-state'] });

  mowa.music = Object.assign(state, { load: load, start: start, unload: unload });
})(Module.mowa);
