// The shape editor's canvas: draws the document's outline, points and handles, and turns
// pointer events into the document's mouse rules. It holds no editing rule of its own.
export class ShapeView {
  constructor(canvas, document, docWidth, docHeight) {
    this.canvas = canvas;
    this.document = document;
    this.docWidth = docWidth;
    this.docHeight = docHeight;
    this.zoom = 1;
    this.cx = docWidth / 2; // the document point shown at the canvas centre
    this.cy = docHeight / 2;
    this.dragging = false;
    this.onDrag = () => {};
    canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    canvas.addEventListener('pointerdown', (e) => this.pointerDown(e));
    canvas.addEventListener('pointermove', (e) => this.pointerMove(e));
    canvas.addEventListener('pointerup', (e) => this.pointerUp(e));
    canvas.addEventListener('pointercancel', (e) => this.pointerUp(e));
    document.onChange(() => {
      // A new design is shown around its middle, as the desktop's view after opening.
      if (document.replaced) {
        document.replaced = false;
        this.centreOnShape();
      }
      this.draw();
    });
    new ResizeObserver(() => this.draw()).observe(canvas);
  }

  // Document coordinates of a pointer event.
  toDoc(e) {
    const r = this.canvas.getBoundingClientRect();
    const sx = (e.clientX - r.left) * (this.docWidth / r.width);
    const sy = (e.clientY - r.top) * (this.docHeight / r.height);
    return [
      Math.round((sx - this.docWidth / 2) / this.zoom + this.cx),
      Math.round((sy - this.docHeight / 2) / this.zoom + this.cy),
    ];
  }

  // The page coordinates (relative to the canvas box) of a document point; for scripts.
  toPage(x, y) {
    const r = this.canvas.getBoundingClientRect();
    const sx = (x - this.cx) * this.zoom + this.docWidth / 2;
    const sy = (y - this.cy) * this.zoom + this.docHeight / 2;
    return [r.left + sx * (r.width / this.docWidth), r.top + sy * (r.height / this.docHeight)];
  }

  pointerDown(e) {
    const [x, y] = this.toDoc(e);
    try {
      if (e.button === 2) {
        this.document.rightPress(x, y);
        return;
      }
      if (e.button !== 0) return;
      this.canvas.setPointerCapture(e.pointerId);
      this.dragging = true;
      this.document.press(x, y);
    } catch (err) {
      this.dragging = false;
      this.onError(err);
    }
  }

  pointerMove(e) {
    if (!this.dragging) return;
    const [x, y] = this.toDoc(e);
    try {
      this.document.move(x, y);
      this.onDrag();
    } catch (err) {
      this.onError(err);
    }
  }

  pointerUp() {
    if (!this.dragging) return;
    this.dragging = false;
    this.document.release();
  }

  centreOnShape() {
    const v = this.document.view();
    this.cx = (v.minX + v.maxX) / 2;
    this.cy = (v.minY + v.maxY) / 2;
  }

  setZoom(z) {
    this.zoom = Math.min(8, Math.max(0.25, z));
    this.draw();
  }

  draw() {
    const c = this.canvas;
    const dpr = window.devicePixelRatio || 1;
    const w = Math.round(this.docWidth * dpr);
    const h = Math.round(this.docHeight * dpr);
    if (c.width !== w || c.height !== h) { c.width = w; c.height = h; }
    const g = c.getContext('2d');
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.clearRect(0, 0, w, h);
    const k = dpr * this.zoom;
    g.setTransform(k, 0, 0, k, dpr * (this.docWidth / 2 - this.cx * this.zoom),
                   dpr * (this.docHeight / 2 - this.cy * this.zoom));
    const v = this.document.view();
    const o = v.outline;
    if (o.length >= 4) {
      g.beginPath();
      g.moveTo(o[0] + 0.5, o[1] + 0.5);
      for (let i = 2; i < o.length; i += 2) g.lineTo(o[i] + 0.5, o[i + 1] + 0.5);
      g.closePath();
      g.fillStyle = 'rgba(59,108,246,0.08)';
      g.fill();
      g.lineWidth = 1.5 / this.zoom;
      g.strokeStyle = '#1d2330';
      g.stroke();
    }
    const s = 2.5 / this.zoom;
    v.points.forEach((p, i) => {
      const selected = i === v.selected;
      if (selected && p.type === 1) {
        g.strokeStyle = '#3b6cf6';
        g.lineWidth = 1 / this.zoom;
        g.beginPath();
        g.moveTo(p.lx, p.ly); g.lineTo(p.x, p.y); g.lineTo(p.rx, p.ry);
        g.stroke();
        g.fillStyle = '#3b6cf6';
        [[p.lx, p.ly], [p.rx, p.ry]].forEach(([hx, hy]) => {
          g.beginPath(); g.arc(hx, hy, s * 1.2, 0, Math.PI * 2); g.fill();
        });
      }
      g.fillStyle = selected ? '#3b6cf6' : '#fff';
      g.strokeStyle = p.type === 2 ? '#c0392b' : '#1d2330';
      g.lineWidth = 1.2 / this.zoom;
      g.fillRect(p.x - s, p.y - s, 2 * s, 2 * s);
      g.strokeRect(p.x - s, p.y - s, 2 * s, 2 * s);
    });
  }

  onError() {}
}
