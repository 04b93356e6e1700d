// The controls of lights, text, shadow, glyph and background: each writes through the
// document and shows the document's values after every change. While a slider, colour or
// text is being moved the preview follows; the undo step is taken when the change is done.
import { AngleDial } from './angle-dial.js';

const $ = (id) => document.getElementById(id);
const hex = (rgb) => `#${rgb.toString(16).padStart(6, '0')}`;
const rgb = (value) => parseInt(value.slice(1), 16);
const kStates = [0, 1, 2];

// Generic families always work; the named faces are offered when the browser draws them
// (see installedFonts).
const kGenericFonts = ['sans-serif', 'serif', 'monospace', 'cursive', 'system-ui'];
const kCommonFonts = [
  'Arial', 'Helvetica', 'Verdana', 'Tahoma', 'Trebuchet MS', 'Segoe UI', 'Calibri',
  'Times New Roman', 'Georgia', 'Garamond', 'Courier New', 'Consolas', 'Impact',
  'Comic Sans MS', 'Liberation Sans', 'Liberation Serif', 'Liberation Mono', 'DejaVu Sans',
  'DejaVu Serif', 'DejaVu Sans Mono', 'Noto Sans', 'Noto Serif', 'Ubuntu', 'Cantarell',
  'Roboto', 'Open Sans', 'Lato', 'Menlo', 'Monaco', 'Helvetica Neue', 'San Francisco',
];

// A face is there when text in it measures differently from every generic fallback it
// could fall back on. (document.fonts.check answers true for any face it does not have to
// download, installed or not, so it cannot tell.)
export function installedFonts(candidates = kCommonFonts) {
  const g = new OffscreenCanvas(8, 8).getContext('2d');
  const sample = 'mmmmmmmmmmlli WQ@#0123456789';
  const width = (font) => { g.font = `48px ${font}`; return g.measureText(sample).width; };
  const bases = ['monospace', 'serif', 'sans-serif'].map((b) => [b, width(b)]);
  return candidates.filter((face) => bases.some(([b, w]) => width(`"${face}", ${b}`) !== w));
}

export class Controls {
  constructor(doc, setStatus) {
    this.doc = doc;
    this.guard = (fn) => (...a) => { try { fn(...a); } catch (e) { setStatus(e.message, true); } };
    this.fillFonts();
    this.wireSettings();
    this.wireLights();
    this.wireGlyphPicker();
    this.dial = new AngleDial($('shadow-dial'), this.guard((a, step) => this.doc.setSettings({ shadowAngle: a }, step)));
    doc.onChange(() => this.read());
  }

  fillFonts() {
    const faces = [...installedFonts(), ...kGenericFonts];
    $('font').replaceChildren(...faces.map((f) => new Option(f, f)));
  }

  // One control, one key; `live` controls follow input without an undo step each.
  bind(id, key, read, live = false) {
    const el = $(id);
    el.addEventListener('input', this.guard(() => this.doc.setSettings({ [key]: read(el) }, !live)));
    el.addEventListener('change', this.guard(() => this.doc.setSettings({ [key]: read(el) })));
  }

  // One control of a three-state value: the other states keep theirs.
  bindState(id, key, i, read, live) {
    const el = $(id);
    const set = (step) => {
      const values = [...this.doc.settings()[key]];
      values[i] = read(el);
      this.doc.setSettings({ [key]: values }, step);
    };
    el.addEventListener('input', this.guard(() => set(!live)));
    el.addEventListener('change', this.guard(() => set(true)));
  }

  wireSettings() {
    const num = (el) => +el.value;
    const check = (el) => el.checked;
    const colour = (el) => rgb(el.value);
    // The opacities are stored as the weight of what lies under them; the sliders show
    // how much of the caption, glyph or texture shows, as the desktop's bars do.
    const shown = (el) => 255 - +el.value;
    this.bind('caption', 'caption', (el) => el.value, true);
    this.bind('font', 'fontName', (el) => el.value);
    this.bind('font-size', 'fontSize', num, true);
    this.bind('bold', 'bold', check);
    this.bind('italic', 'italic', check);
    this.bind('underline', 'underline', check);
    for (const i of kStates) {
      this.bindState(`text-color-${i}`, 'textColors', i, colour, true);
      this.bindState(`text-effect-${i}`, 'textEffects', i, num, false);
      this.bindState(`shadow-height-${i}`, 'shadowHeights', i, num, true);
    }
    this.bind('effect-color', 'effectColor', colour, true);
    this.bind('text-opacity', 'textOpacity', shown, true);
    // The angle steps by 5 and wraps around, as the desktop's spin box does: the document
    // wraps it, and the field shows the wrapped value once the change is done.
    const angle = $('text-angle');
    const setAngle = (step) => {
      const v = Math.trunc(+angle.value);
      if (angle.value !== '' && Number.isFinite(v)) this.doc.setSettings({ textAngle: v }, step);
      if (step) angle.value = this.doc.settings().textAngle;
    };
    angle.addEventListener('input', this.guard(() => setAngle(false)));
    angle.addEventListener('change', this.guard(() => setAngle(true)));
    this.bind('text-x', 'textX', num, true);
    this.bind('text-y', 'textY', num, true);
    this.bind('shadow', 'shadow', check);
    this.bind('shadow-blur', 'shadowBlur', num, true);
    this.bind('shadow-color', 'shadowColor', colour, true);
    this.bind('shadow-angle', 'shadowAngle', num, true);
    this.bind('background', 'background', colour, true);
    this.bind('button-color', 'buttonColor', colour, true);
    this.bind('glyph', 'glyph', check);
    this.bind('glyph-opacity', 'glyphOpacity', shown, true);
    this.bind('glyph-transparent', 'glyphTransparent', check);
    this.bind('glyph-transparent-color', 'glyphTransparentColor', colour, true);
    this.bind('glyph-x', 'glyphX', num, true);
    this.bind('glyph-y', 'glyphY', num, true);
    this.bind('texture', 'texture', check);
    this.bind('texture-opacity', 'textureOpacity', shown, true);
    const origin = this.guard(() => this.doc.setTextureOrigin(+$('texture-x').value, +$('texture-y').value));
    for (const id of ['texture-x', 'texture-y']) {
      $(id).addEventListener('input', origin);
      $(id).addEventListener('change', origin);
    }
    document.querySelectorAll('input[type=range]').forEach((el) => {
      el.addEventListener('input', () => this.showValue(el));
    });
  }

  wireLights() {
    const act = (what, read, live) => (el) => {
      el.addEventListener('input', this.guard(() => this.doc.lightAction(what, read(el), 0, !live)));
      el.addEventListener('change', this.guard(() => this.doc.lightAction(what, read(el))));
    };
    act('power', (el) => +el.value, true)($('light-power'));
    act('radius', (el) => +el.value, true)($('light-radius'));
    act('color', (el) => rgb(el.value), true)($('light-color'));
    document.querySelectorAll('[data-light]').forEach((b) => {
      b.onclick = this.guard(() => this.doc.lightAction('select', +b.dataset.light));
    });
    document.querySelectorAll('[data-light-on]').forEach((box) => {
      box.onchange = this.guard(() => this.doc.lightAction('on', +box.dataset.lightOn, box.checked ? 1 : 0));
    });
    $('generate').onclick = this.guard(() => this.doc.generateLights());
  }

  // The transparent colour is picked by pointing into the glyph picture, shown enlarged.
  wireGlyphPicker() {
    const c = $('glyph-pick');
    const pick = (e, step) => {
      const p = this.doc.glyphPicture();
      if (!p) return;
      const r = c.getBoundingClientRect();
      const x = Math.min(p.width - 1, Math.max(0, Math.floor(((e.clientX - r.left) * p.width) / r.width)));
      const y = Math.min(p.height - 1, Math.max(0, Math.floor(((e.clientY - r.top) * p.height) / r.height)));
      const o = 4 * (y * p.width + x);
      const colour = (p.rgba[o] << 16) | (p.rgba[o + 1] << 8) | p.rgba[o + 2];
      this.doc.setSettings({ glyphTransparentColor: colour, glyphTransparent: true }, step);
    };
    c.addEventListener('pointerdown', this.guard((e) => pick(e, true)));
  }

  showValue(el) {
    const out = el.nextElementSibling;
    if (out && out.tagName === 'OUTPUT') out.value = el.value;
  }

  // Offsets reach half the button's size either way, as the desktop's bars do.
  setOffsetRanges(width, height) {
    for (const [ids, size] of [[['text-x', 'glyph-x'], width], [['text-y', 'glyph-y'], height]]) {
      for (const id of ids) {
        const half = Math.trunc(size / 2);
        $(id).min = -half;
        $(id).max = half;
      }
    }
  }

  put(id, prop, value) {
    const el = $(id);
    if (document.activeElement === el) return;
    if (id === 'font' && ![...el.options].some((o) => o.value === value)) {
      el.append(new Option(`${value} (not on this computer)`, value));
    }
    el[prop] = value;
    if (el.type === 'range') this.showValue(el);
  }

  read() {
    const s = this.doc.settings();
    const put = this.put.bind(this);
    put('caption', 'value', s.caption);
    put('font', 'value', s.fontName);
    put('font-size', 'value', s.fontSize);
    for (const k of ['bold', 'italic', 'underline', 'shadow', 'glyph', 'texture']) put(k, 'checked', s[k]);
    for (const i of kStates) {
      put(`text-color-${i}`, 'value', hex(s.textColors[i]));
      put(`text-effect-${i}`, 'value', String(s.textEffects[i]));
      put(`shadow-height-${i}`, 'value', s.shadowHeights[i]);
    }
    put('effect-color', 'value', hex(s.effectColor));
    put('text-opacity', 'value', 255 - s.textOpacity);
    put('text-angle', 'value', s.textAngle);
    put('text-x', 'value', s.textX);
    put('text-y', 'value', s.textY);
    put('shadow-blur', 'value', s.shadowBlur);
    put('shadow-color', 'value', hex(s.shadowColor));
    put('shadow-angle', 'value', s.shadowAngle);
    this.dial.show(s.shadowAngle);
    put('background', 'value', hex(s.background));
    put('button-color', 'value', hex(s.buttonColor));
    put('glyph-opacity', 'value', 255 - s.glyphOpacity);
    put('glyph-transparent', 'checked', s.glyphTransparent);
    put('glyph-transparent-color', 'value', hex(s.glyphTransparentColor));
    put('glyph-x', 'value', s.glyphX);
    put('glyph-y', 'value', s.glyphY);
    put('texture-opacity', 'value', 255 - s.textureOpacity);
    put('texture-x', 'value', this.doc.textureOrigin.x);
    put('texture-y', 'value', this.doc.textureOrigin.y);
    $('texture-x').disabled = $('texture-y').disabled = !s.texture;
    $('test-area').style.background = hex(s.background);
    this.readLights();
    this.drawGlyph();
  }

  readLights() {
    const l = this.doc.lights();
    document.querySelectorAll('[data-light]').forEach((b) => {
      b.setAttribute('aria-pressed', String(+b.dataset.light === l.current));
    });
    document.querySelectorAll('[data-light-on]').forEach((box) => {
      box.checked = l.lights[+box.dataset.lightOn - 1].on;
    });
    this.put('light-power', 'value', l.power);
    this.put('light-radius', 'value', l.radius);
    this.put('light-color', 'value', hex(l.lightColor));
  }

  // Copied out of the engine only when the picture may have changed, not on every drag step.
  drawGlyph() {
    if (this.shownPictures === this.doc.pictures) return;
    this.shownPictures = this.doc.pictures;
    const c = $('glyph-pick');
    const p = this.doc.glyphPicture();
    c.hidden = !p;
    if (!p) return;
    c.width = p.width;
    c.height = p.height;
    c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(p.rgba.buffer), p.width, p.height), 0, 0);
  }
}
