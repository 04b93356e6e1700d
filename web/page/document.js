// The one place that changes the design. Every change goes through the engine's document
// (the core's editing rules); a finished change becomes one undo step, kept as the
// project's bytes. Views listen and redraw; each change gets an edit number.
export class DesignDocument {
  constructor(engine, width, height) {
    this.doc = new engine.Document(width, height);
    this.undoStack = [];
    this.redoStack = [];
    this.edit = 0;
    this.listeners = new Set();
    this.saved = this.doc.projectBytes();
    this.current = this.saved;
    this.name = 'button';
    this.replaced = true; // views centre on the design when it is replaced
    this.pictures = 0; // counts the changes that may bring a new glyph or texture picture
    // Kept beside the design, never in its bytes or its undo steps, as the desktop keeps it
    // in its session: an open keeps it, a new project starts from the centre.
    this.textureOrigin = { x: 0, y: 0 };
  }

  onChange(listener) { this.listeners.add(listener); }

  changed(step) {
    this.edit += 1;
    const bytes = this.doc.projectBytes();
    if (step && !sameBytes(bytes, this.current)) {
      this.undoStack.push(this.current);
      if (this.undoStack.length > 200) this.undoStack.shift();
      this.redoStack = [];
    }
    this.current = step ? bytes : this.current;
    this.listeners.forEach((l) => l(this, bytes));
  }

  // An engine call that returns {error}; the design stays as it was on an error.
  run(result, step = true) {
    if (result && result.error) throw new Error(result.error);
    this.changed(step);
    return result;
  }

  load(bytes, name) {
    const r = this.doc.load(bytes, name || guessName(bytes));
    if (r.error) throw new Error(r.error);
    this.pictures += 1;
    this.replaced = true;
    if (r.kind === 'project') {
      this.undoStack = [];
      this.redoStack = [];
      this.current = this.doc.projectBytes();
      this.saved = this.current;
      this.changed(false);
    } else {
      this.changed(true);
    }
    return r.kind;
  }

  newProject() {
    this.doc.newProject();
    this.textureOrigin = { x: 0, y: 0 };
    this.pictures += 1;
    this.replaced = true;
    this.undoStack = [];
    this.redoStack = [];
    this.current = this.doc.projectBytes();
    this.saved = this.current;
    this.changed(false);
  }

  undo() { this.travel(this.undoStack, this.redoStack); }
  redo() { this.travel(this.redoStack, this.undoStack); }

  travel(from, to) {
    if (from.length === 0) return;
    const target = from.pop();
    to.push(this.current);
    const r = this.doc.restore(target);
    if (r.error) throw new Error(r.error);
    this.pictures += 1;
    this.current = target;
    this.changed(false);
  }

  get modified() { return !sameBytes(this.current, this.saved); }
  markSaved() { this.saved = this.current; this.changed(false); }

  view() { return this.doc.view(); }
  settings() { return this.doc.settings(); }
  projectBytes() { return this.doc.projectBytes(); }
  shapeText() { return this.doc.shapeText(); }

  // Mouse rules: a drag is one undo step, taken on release.
  press(x, y) { this.run(this.doc.press(x, y), false); }
  move(x, y) { this.run(this.doc.move(x, y), false); }
  release() { this.doc.release(); this.changed(true); }
  rightPress(x, y) { this.run(this.doc.rightPress(x, y)); }
  deleteSelected() { this.run(this.doc.deleteSelected()); }
  setPointType(t) { this.run(this.doc.setPointType(t)); }
  transform(what, a = 0, b = 0) { this.run(this.doc.transform(what, a, b)); }
  setSettings(values, step = true) { this.run(this.doc.setSettings(values), step); }
  commit() { this.changed(true); }
  setTextureOrigin(x, y) {
    if (x === this.textureOrigin.x && y === this.textureOrigin.y) return;
    this.textureOrigin = { x, y };
    this.changed(false);
  }
  applyStyle(bytes, name) { this.run(this.doc.applyStyle(bytes, name)); }
  setPicture(kind, bytes, width, height) {
    const r = this.doc.setPicture(kind, bytes, width, height);
    if (!r.error) this.pictures += 1;
    this.run(r);
  }
  generateLights() { this.doc.generateLights(); this.changed(true); }
  glyphPicture() { return this.doc.glyphPicture(); }
  styleBytes(name, image) {
    const r = this.doc.styleBytes(name, new Uint8Array(image.data.buffer), image.width, image.height);
    if (r.error) throw new Error(r.error);
    return r.bytes;
  }

  // The light editor: its state, and its controls (a drag on the pad is one undo step,
  // taken on release; `step` false while a bar or colour is still being moved).
  lights() { return this.doc.lights(); }
  lightAction(what, a = 0, b = 0, step = true) { this.run(this.doc.lightAction(what, a, b), step); }
  lightPress(x, y) { this.lightAction('press', x, y, false); }
  lightMove(x, y) { this.lightAction('move', x, y, false); }
  lightRelease(x, y) { this.lightAction('release', x, y); }
  lightNudge(x, y) {
    this.run(this.doc.lightAction('press', x, y), false);
    this.lightRelease(x, y);
  }
  resize(w, h) { this.doc.resize(w, h); }
}

function sameBytes(a, b) {
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; i += 1) if (a[i] !== b[i]) return false;
  return true;
}

const kProjectMagic = [0x09, 0x75, 0x84, 0x49];
function guessName(bytes) {
  const project = kProjectMagic.every((v, i) => bytes[i] === v);
  return project ? 'design.tbp' : 'design.shp';
}
