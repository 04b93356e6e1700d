// The right-hand side and the library: the three states, the test button, the pictures
// of glyph and texture, and the library. Pictures come from the render worker, newest
// edit first.
const $ = (id) => document.getElementById(id);

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
    this.onSize = () => {};
    this.wireControls();
    this.wireTestButton();
    doc.onChange(() => this.readControls());
  }

  // Renders the newest edit: only the normal state while a drag goes on.
  schedule(dragging) {
    const edit = this.doc.edit;
    document.body.classList.add('rendering');
    this.renderer.preview(this.doc.projectBytes(), this.doc.textureOrigin, edit, dragging ? 1 : 3,
      (r) => this.show(r));
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
      this.onSize(r.width, r.height);
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
    const v = this.doc.view();
    for (const [id, value] of [['scale-w', v.maxX - v.minX], ['scale-h', v.maxY - v.minY]]) {
      if (document.activeElement !== $(id)) $(id).value = value;
    }
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
