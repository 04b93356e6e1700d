// The right-hand side and the library: the three states, the test button, and the
// controls of lights, text, shadow and background. Controls write through the document;
// pictures come from the render worker, newest edit first.
const $ = (id) => document.getElementById(id);
const hex = (rgb) => `#${rgb.toString(16).padStart(6, '0')}`;
const rgb = (value) => parseInt(value.slice(1), 16);

export class Panels {
  constructor(doc, renderer, setStatus) {
    this.doc = doc;
    this.renderer = renderer;
    this.setStatus = setStatus;
    this.images = [null, null, null];
    this.shownEdit = -1;
    this.waiters = [];
    this.testState = 0;
    this.library = {};
    this.wireControls();
    this.wireTestButton();
    doc.onChange(() => this.readControls());
  }

  // Renders the newest edit: only the normal state while a drag goes on.
  schedule(dragging) {
    const edit = this.doc.edit;
    document.body.classList.add('rendering');
    this.renderer.preview(this.doc.projectBytes(), edit, dragging ? 1 : 3, (r) => this.show(r));
  }

  show(r) {
    document.body.classList.remove('rendering');
    if (r.error) {
      this.setStatus(r.error, true);
    } else {
      r.states.forEach((rgba, i) => {
        this.images[i] = new ImageData(new Uint8ClampedArray(rgba.buffer), r.width, r.height);
        this.paint($(`state${i}`), this.images[i]);
      });
      this.paint($('test-button'), this.images[this.testState] || this.images[0]);
      this.setStatus(`${r.width} × ${r.height} · rendered in ${r.ms.toFixed(0)} ms`);
    }
    this.shownEdit = Math.max(this.shownEdit, r.edit);
    this.lastError = r.error || null;
    this.waiters = this.waiters.filter((w) => {
      if (r.edit < w.edit) return true;
      w.resolve(r);
      return false;
    });
  }

  // Resolves once the current edit is shown (with its result: {error} or states).
  settled() {
    const edit = this.doc.edit;
    if (this.shownEdit >= edit) return Promise.resolve({ error: this.lastError });
    return new Promise((resolve) => this.waiters.push({ edit, resolve }));
  }

  paint(canvas, image) {
    if (!image) return;
    canvas.width = image.width;
    canvas.height = image.height;
    canvas.getContext('2d').putImageData(image, 0, 0);
  }

  wireTestButton() {
    const c = $('test-button');
    const set = (s) => { this.testState = s; this.paint(c, this.images[s] || this.images[0]); };
    c.addEventListener('pointerenter', () => set(1));
    c.addEventListener('pointerleave', () => set(0));
    c.addEventListener('pointerdown', () => set(2));
    c.addEventListener('pointerup', () => set(1));
  }

  wireControls() {
    const guard = (fn) => (...a) => { try { fn(...a); } catch (e) { this.setStatus(e.message, true); } };
    const bind = (id, key, read, live = false) => {
      const el = $(id);
      // While a slider or text is being changed the preview follows; the undo step is
      // taken when the change is done.
      el.addEventListener('input', guard(() => this.doc.setSettings({ [key]: read(el) }, !live)));
      el.addEventListener('change', guard(() => this.doc.setSettings({ [key]: read(el) })));
    };
    bind('caption', 'caption', (el) => el.value, true);
    bind('font', 'fontName', (el) => el.value);
    bind('font-size', 'fontSize', (el) => +el.value, true);
    bind('bold', 'bold', (el) => el.checked);
    bind('italic', 'italic', (el) => el.checked);
    bind('text-color', 'textColor', (el) => rgb(el.value), true);
    bind('shadow', 'shadow', (el) => el.checked);
    bind('shadow-blur', 'shadowBlur', (el) => +el.value, true);
    bind('shadow-color', 'shadowColor', (el) => rgb(el.value), true);
    bind('background', 'background', (el) => rgb(el.value), true);
    bind('button-color', 'buttonColor', (el) => rgb(el.value));
    bind('glyph', 'glyph', (el) => el.checked);
    bind('glyph-opacity', 'glyphOpacity', (el) => +el.value, true);
    bind('texture', 'texture', (el) => el.checked);
    bind('texture-opacity', 'textureOpacity', (el) => +el.value, true);
    const picture = (kind) => async (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      if (file) await this.setPicture(kind, new Uint8Array(await file.arrayBuffer()), file.type);
    };
    $('glyph-file').onchange = (e) => picture('glyph')(e).catch((err) => this.setStatus(err.message, true));
    $('texture-file').onchange = (e) => picture('texture')(e).catch((err) => this.setStatus(err.message, true));
    $('texture-pick').onchange = async () => {
      const name = $('texture-pick').value;
      if (!name) return;
      try {
        await this.setPicture('texture', await this.fetchBytes(`data/Backgrounds/${name}.jpg`), 'image/jpeg');
      } catch (err) {
        this.setStatus(err.message, true);
      }
    };
    $('generate').onclick = guard(() => this.doc.generateLights());
    $('style').onchange = guard(async () => {
      const name = $('style').value;
      if (!name) return;
      const bytes = await this.fetchBytes(`data/Styles/${name}.jpgs`);
      this.doc.applyStyle(bytes, `${name}.jpgs`);
    });
    document.querySelectorAll('[data-tab]').forEach((b) => {
      b.onclick = () => this.showTab(b.dataset.tab);
    });
  }

  readControls() {
    const s = this.doc.settings();
    const put = (id, prop, value) => {
      const el = $(id);
      if (document.activeElement !== el) el[prop] = value;
    };
    put('caption', 'value', s.caption);
    put('font', 'value', s.fontName);
    put('font-size', 'value', s.fontSize);
    put('bold', 'checked', s.bold);
    put('italic', 'checked', s.italic);
    put('text-color', 'value', hex(s.textColor));
    put('shadow', 'checked', s.shadow);
    put('shadow-blur', 'value', s.shadowBlur);
    put('shadow-color', 'value', hex(s.shadowColor));
    put('background', 'value', hex(s.background));
    put('button-color', 'value', hex(s.buttonColor));
    put('glyph', 'checked', s.glyph);
    put('glyph-opacity', 'value', s.glyphOpacity);
    put('texture', 'checked', s.texture);
    put('texture-opacity', 'value', s.textureOpacity);
    $('test-area').style.background = hex(s.background);
    const v = this.doc.view();
    put('scale-w', 'value', v.maxX - v.minX);
    put('scale-h', 'value', v.maxY - v.minY);
  }

  // BMP files go to the core's own reader; other pictures are decoded by the browser and
  // handed over as pixels.
  async setPicture(kind, bytes, type) {
    if (bytes[0] === 0x42 && bytes[1] === 0x4d) {
      this.doc.setPicture(kind, bytes, 0, 0);
      return;
    }
    const bitmap = await createImageBitmap(new Blob([bytes], { type }));
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const g = canvas.getContext('2d');
    g.drawImage(bitmap, 0, 0);
    const data = g.getImageData(0, 0, bitmap.width, bitmap.height).data;
    this.doc.setPicture(kind, new Uint8Array(data.buffer), bitmap.width, bitmap.height);
  }

  async fetchBytes(url) {
    const r = await fetch(url);
    if (!r.ok) throw new Error(`Cannot read ${url}`);
    return new Uint8Array(await r.arrayBuffer());
  }

  async loadLibrary() {
    try {
      this.library = await (await fetch('data/index.json')).json();
    } catch {
      this.library = {};
    }
    const styles = $('style');
    (this.library.Styles || []).forEach((name) => styles.append(new Option(name, name)));
    (this.library.Backgrounds || []).forEach((name) => $('texture-pick').append(new Option(name, name)));
    this.showTab('Buttons');
  }

  showTab(tab) {
    document.querySelectorAll('[data-tab]').forEach((b) => b.classList.toggle('active', b.dataset.tab === tab));
    const list = $('library-list');
    list.replaceChildren();
    for (const name of this.library[tab] || []) {
      const li = document.createElement('li');
      li.textContent = name;
      li.onclick = async () => {
        try {
          if (tab === 'Styles') {
            this.doc.applyStyle(await this.fetchBytes(`data/Styles/${name}.jpgs`), `${name}.jpgs`);
          } else {
            this.doc.load(await this.fetchBytes(`data/${tab}/${name}.shp`), `${name}.shp`);
          }
        } catch (e) {
          this.setStatus(e.message, true);
        }
      };
      list.append(li);
    }
  }
}
