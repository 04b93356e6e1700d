// The round light pad: the sphere lit by the selected light, a numbered marker for each
// light that is on, and the selected light dragged by pointer (mouse, pen, touch) or moved
// with the arrow keys. It holds no rule of its own: pad pixels go to the document's light
// editor, which keeps the light on the pad's circle.
const kPad = 64;

export class LightPad {
  constructor(canvas, doc) {
    this.canvas = canvas;
    this.doc = doc;
    this.dragging = false;
    this.onDrag = () => {};
    this.onError = () => {};
    canvas.addEventListener('pointerdown', (e) => this.pointerDown(e));
    canvas.addEventListener('pointermove', (e) => this.pointerMove(e));
    canvas.addEventListener('pointerup', (e) => this.pointerUp(e));
    canvas.addEventListener('pointercancel', (e) => this.pointerUp(e));
    canvas.addEventListener('keydown', (e) => this.key(e));
    doc.onChange(() => this.draw());
  }

  // Pad pixels of a pointer event.
  toPad(e) {
    const r = this.canvas.getBoundingClientRect();
    return [Math.floor(((e.clientX - r.left) * kPad) / r.width),
            Math.floor(((e.clientY - r.top) * kPad) / r.height)];
  }

  // Page coordinates of a pad pixel's centre; for scripts.
  toPage(x, y) {
    const r = this.canvas.getBoundingClientRect();
    return [r.left + ((x + 0.5) * r.width) / kPad, r.top + ((y + 0.5) * r.height) / kPad];
  }

  guard(fn) {
    try { fn(); } catch (err) { this.dragging = false; this.onError(err); }
  }

  pointerDown(e) {
    if (e.button !== 0) return;
    this.canvas.focus();
    this.canvas.setPointerCapture(e.pointerId);
    this.dragging = true;
    this.canvas.classList.add('dragging');
    this.guard(() => { this.doc.lightPress(...this.toPad(e)); this.onDrag(); });
  }

  pointerMove(e) {
    if (!this.dragging) return;
    this.guard(() => { this.doc.lightMove(...this.toPad(e)); this.onDrag(); });
  }

  pointerUp(e) {
    if (!this.dragging) return;
    this.dragging = false;
    this.canvas.classList.remove('dragging');
    this.guard(() => this.doc.lightRelease(...this.toPad(e)));
  }

  // Arrow keys move the selected light by one pad pixel (four with Shift): one step each.
  key(e) {
    const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    const d = steps[e.key];
    if (!d) return;
    e.preventDefault();
    const n = e.shiftKey ? 4 : 1;
    const l = this.doc.lights();
    const light = l.lights[l.current];
    this.guard(() => this.doc.lightNudge(light.x + d[0] * n, light.y + d[1] * n));
  }

  draw() {
    const c = this.canvas;
    const size = Math.round(c.getBoundingClientRect().width * (window.devicePixelRatio || 1)) || 192;
    if (c.width !== size) { c.width = size; c.height = size; }
    const g = c.getContext('2d');
    const k = size / kPad;
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.fillStyle = '#000';
    g.fillRect(0, 0, size, size);
    const l = this.doc.lights();
    if (l.preview) {
      const img = new ImageData(new Uint8ClampedArray(l.preview.rgba.buffer), l.preview.width, l.preview.height);
      const small = new OffscreenCanvas(img.width, img.height);
      small.getContext('2d').putImageData(img, 0, 0);
      g.imageSmoothingEnabled = false;
      g.drawImage(small, 0, 0, img.width * k, img.height * k);
    }
    // The selected light last, so that it stays on top.
    const order = l.lights.map((light, i) => ({ ...light, i })).filter((m) => m.on);
    order.sort((a, b) => (a.i === l.current) - (b.i === l.current));
    for (const m of order) this.marker(g, m, m.i === l.current, k);
    c.setAttribute('aria-valuetext', `Light ${l.current + 1} at ${l.lights[l.current].x}, ${l.lights[l.current].y}`);
  }

  marker(g, m, selected, k) {
    const x = (m.x + 0.5) * k;
    const y = (m.y + 0.5) * k;
    const r = (selected ? 5 : 4) * k * 0.8;
    g.beginPath();
    g.arc(x, y, r, 0, Math.PI * 2);
    g.fillStyle = `#${m.color.toString(16).padStart(6, '0')}`;
    g.fill();
    g.lineWidth = selected ? k : k * 0.5;
    g.strokeStyle = selected ? '#fff' : '#000';
    g.stroke();
    const bright = ((m.color >> 16) & 255) * 0.3 + ((m.color >> 8) & 255) * 0.59 + (m.color & 255) * 0.11 > 140;
    g.fillStyle = bright ? '#000' : '#fff';
    g.font = `bold ${Math.round(r * 1.1)}px system-ui, sans-serif`;
    g.textAlign = 'center';
    g.textBaseline = 'middle';
    g.fillText(String(m.i + 1), x, y + k * 0.2);
  }
}
