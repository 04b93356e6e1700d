// The shadow's angle dial: a needle from the centre, counter-clockwise from the right as
// the desktop's dial draws it; a press or drag on it takes the angle under the pointer
// by the desktop dial's own rule (on its 64-pixel face). The slider beside it stays the
// labelled, keyboard-reachable control.
const kFace = 64;

function roundEven(v) {
  const r = Math.round(v);
  return Math.abs(v % 1) === 0.5 && r % 2 !== 0 ? r - 1 : r;
}

export function dialAngle(x, y) {
  const dx = x - 31;
  const dy = y - 31;
  const r = Math.fround(Math.sqrt(dx * dx + dy * dy) + 0.1);
  const deg = 180 / Math.PI;
  const bearing = y > 30 ? roundEven(Math.asin(-dx / r) * deg) + 180 : roundEven(Math.asin(dx / r) * deg);
  const angle = (90 - bearing) % 360;
  return angle < 0 ? angle + 360 : angle;
}

export class AngleDial {
  constructor(canvas, onAngle) {
    this.canvas = canvas;
    this.angle = 0;
    this.dragging = false;
    const take = (e, step) => {
      const r = canvas.getBoundingClientRect();
      const x = Math.floor(((e.clientX - r.left) * kFace) / r.width);
      const y = Math.floor(((e.clientY - r.top) * kFace) / r.height);
      onAngle(dialAngle(x, y), step);
    };
    canvas.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      canvas.setPointerCapture(e.pointerId);
      this.dragging = true;
      take(e, false);
    });
    canvas.addEventListener('pointermove', (e) => { if (this.dragging) take(e, false); });
    const end = (e) => {
      if (!this.dragging) return;
      this.dragging = false;
      take(e, true);
    };
    canvas.addEventListener('pointerup', end);
    canvas.addEventListener('pointercancel', end);
  }

  show(angle) {
    this.angle = angle;
    const c = this.canvas;
    const size = Math.round(c.getBoundingClientRect().width * (window.devicePixelRatio || 1)) || kFace;
    if (c.width !== size) { c.width = size; c.height = size; }
    const g = c.getContext('2d');
    const k = size / kFace;
    g.setTransform(k, 0, 0, k, 0, 0);
    g.clearRect(0, 0, kFace, kFace);
    g.strokeStyle = '#a0a0a0';
    g.lineWidth = 1;
    g.beginPath();
    g.arc(32, 32, 30, 0, Math.PI * 2);
    g.stroke();
    for (let a = 0; a < 360; a += 30) {
      const t = (a * Math.PI) / 180;
      g.beginPath();
      g.moveTo(32 + 26 * Math.cos(t), 32 - 26 * Math.sin(t));
      g.lineTo(32 + 30 * Math.cos(t), 32 - 30 * Math.sin(t));
      g.stroke();
    }
    const t = (angle * Math.PI) / 180;
    g.strokeStyle = '#1d2330';
    g.lineWidth = 1.6;
    g.beginPath();
    g.moveTo(32, 32);
    g.lineTo(32 + 30 * Math.cos(t), 32 - 30 * Math.sin(t));
    g.stroke();
    g.fillStyle = '#1d2330';
    g.beginPath();
    g.arc(32, 32, 2.2, 0, Math.PI * 2);
    g.fill();
  }
}
