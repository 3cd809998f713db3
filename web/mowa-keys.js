// The reader's own keys, as in the desktop player; none of them reaches the
// scenario. Loaded before web/mowa-page.js.
//   Ctrl (held) or Tab (on and off): fast-forward, sleeps a tenth as long
//   M: mute; - and +: volume in tenths; F12: the picture as a PNG download;
//   F1: the list of keys over the picture until the next key or click.
'use strict';

// `audio` gives the page's sound (mute and volume).
function mowaReaderKeys(canvas, audio) {
  let ctrl = false, lasting = false, noteTimer = 0;
  const mark = document.getElementById('fast-mark');
  const help = document.getElementById('help');
  const note = document.getElementById('notice');

  function say(text) {
    note.textContent = text;
    note.hidden = false;
    clearTimeout(noteTimer);
    noteTimer = setTimeout(() => { note.hidden = true; }, 2000);
  }
  function stamp() {
    const t = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return `${t.getFullYear()}${two(t.getMonth() + 1)}${two(t.getDate())}-` +
           `${two(t.getHours())}${two(t.getMinutes())}${two(t.getSeconds())}`;
  }
  function storyName() {
    const local = new URLSearchParams(location.search).get('local');
    if (local) return local;
    const folder = location.pathname.replace(/\/[^/]*$/, '').split('/').pop();
    return decodeURIComponent(folder || 'mowa');
  }
  function screenshot() {
    canvas.toBlob((blob) => {
      if (!blob) { say('The screenshot could not be made.'); return; }
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = `${storyName()}-${stamp()}.png`;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      say(`Screenshot saved as ${link.download} in your downloads.`);
    }, 'image/png');
  }

  window.addEventListener('keyup', (e) => { if (e.key === 'Control') ctrl = false; });
  window.addEventListener('blur', () => { ctrl = false; });
  document.addEventListener('pointerdown', () => { help.hidden = true; }, true);

  // True when the key was the reader's.
  function handle(e) {
    if (!help.hidden && e.key !== 'F1') {
      help.hidden = true;
      e.preventDefault();
      return true;
    }
    if (e.key === 'Control') {
      ctrl = true;
      return true;
    }
    if (e.ctrlKey || e.altKey || e.metaKey) return false;
    const sound = audio();
    switch (e.key) {
      case 'Tab':
        if (!e.repeat) lasting = !lasting;
        mark.hidden = !lasting;
        break;
      case 'm': case 'M':
        if (!e.repeat) say(sound.toggleMute() ? 'Sound off' : 'Sound on');
        break;
      case '-': case '_':
        say(`Volume ${Math.round(sound.stepVolume(-1) * 100)} %`);
        break;
      case '+': case '=':
        say(`Volume ${Math.round(sound.stepVolume(1) * 100)} %`);
        break;
      case 'F12':
        if (!e.repeat) screenshot();
        break;
      case 'F1':
        help.hidden = !help.hidden;
        break;
      default:
        return false;
    }
    e.preventDefault();
    return true;
  }
  return { handle: handle, fastForward: () => ctrl || lasting };
}
