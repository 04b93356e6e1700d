// The editor page: loads the engine, builds the document and its views, wires the
// controls, and offers window.plakett to scripts once everything is ready.
import createEngine from './engine/engine.mjs';
import { DesignDocument } from './document.js';
import { RenderClient } from './render-client.js';
import { ShapeView } from './shape-view.js';
import { Panels } from './panels.js';
import { Controls } from './controls.js';
import { LightPad } from './light-pad.js';
import { makeZip } from './zip.js';
import { installScripting } from './scripting.js';

const kDocWidth = 600;
const kDocHeight = 400;
const $ = (id) => document.getElementById(id);

function setStatus(text, error = false) {
  const s = $('status');
  s.textContent = text;
  s.classList.toggle('error', error);
}

function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

async function main() {
  const [engine] = await Promise.all([createEngine()]);
  const renderer = new RenderClient();
  await renderer.ready;
  const doc = new DesignDocument(engine, kDocWidth, kDocHeight);
  const view = new ShapeView($('shape'), doc, kDocWidth, kDocHeight);
  const panels = new Panels(doc, renderer, setStatus);
  const controls = new Controls(doc, setStatus);
  const pad = new LightPad($('light-pad'), doc);
  panels.onSize = (w, h) => controls.setOffsetRanges(w, h);
  view.onError = (err) => setStatus(err.message, true);
  pad.onError = view.onError;
  // While a point or a light is dragged only the normal state follows; all three on release.
  view.onDrag = () => panels.schedule(true);
  pad.onDrag = () => panels.schedule(true);
  doc.onChange(() => {
    if (!view.dragging && !pad.dragging) panels.schedule(false);
    $('undo').disabled = doc.undoStack.length === 0;
    $('redo').disabled = doc.redoStack.length === 0;
    document.title = `${doc.modified ? '• ' : ''}${doc.name} — Plakett`;
  });

  const guard = (fn) => async (...args) => {
    try { await fn(...args); } catch (err) { setStatus(err.message, true); }
  };
  $('new').onclick = guard(() => {
    if (doc.modified && !confirm('Discard the changes to this project?')) return;
    doc.newProject();
    doc.name = 'button';
  });
  $('open').onchange = guard(async (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (!file) return;
    const kind = doc.load(new Uint8Array(await file.arrayBuffer()), file.name);
    if (kind === 'project') doc.name = file.name.replace(/\.[^.]*$/, '');
    setStatus(`Opened ${file.name}`);
  });
  $('save').onclick = () => {
    download(doc.projectBytes(), `${doc.name}.tbp`, 'application/octet-stream');
    doc.markSaved();
  };
  $('save-style').onclick = guard(() => {
    if (!panels.images[0]) throw new Error('There is no rendered button to make the style picture from');
    const name = $('style-name').value.trim();
    download(doc.styleBytes(name, panels.images[0]), `${name}.jpgs`, 'image/jpeg');
  });
  $('save-shape').onclick = () => download(doc.shapeText(), `${doc.name}.shp`, 'text/plain');
  $('undo').onclick = guard(() => doc.undo());
  $('redo').onclick = guard(() => doc.redo());
  $('zoom-in').onclick = () => view.setZoom(view.zoom * 1.5);
  $('zoom-out').onclick = () => view.setZoom(view.zoom / 1.5);
  document.querySelectorAll('[data-transform]').forEach((b) => {
    b.onclick = guard(() => {
      doc.transform(b.dataset.transform);
      view.centreOnShape();
      view.draw();
    });
  });
  $('rotate-apply').onclick = guard(() => {
    doc.transform('rotate', Math.trunc(+$('rotate-angle').value) || 0);
    view.centreOnShape();
    view.draw();
  });
  $('scale-apply').onclick = guard(() => doc.transform('scale', +$('scale-w').value, +$('scale-h').value));
  $('point-type').onchange = guard(() => doc.setPointType(+$('point-type').value));
  $('export').onclick = () => $('export-dialog').showModal();
  $('export-dialog').addEventListener('close', guard(async () => {
    if ($('export-dialog').returnValue !== 'ok') return;
    const f = $('export-dialog').querySelector('form').elements;
    const options = {
      format: f.format.value, states: +f.states.value, quality: +f.quality.value,
      scale: +f.scale.value, sprite: f.sprite.checked, html: f.html.checked,
    };
    setStatus('Exporting…');
    const files = await renderer.exportFiles(doc.projectBytes(), options, doc.textureOrigin);
    download(makeZip(files), `${doc.name}.zip`, 'application/zip');
    setStatus(`Exported ${files.length} files`);
  }));

  document.addEventListener('keydown', guard((e) => {
    if (e.target.matches('input, select, textarea')) return;
    const ctrl = e.ctrlKey || e.metaKey;
    if (ctrl && e.key.toLowerCase() === 'z') { e.preventDefault(); e.shiftKey ? doc.redo() : doc.undo(); }
    else if (ctrl && e.key.toLowerCase() === 'y') { e.preventDefault(); doc.redo(); }
    else if (ctrl && e.key.toLowerCase() === 's') { e.preventDefault(); $('save').click(); }
    // Delete removes the selected point, unless the light pad has the keys.
    else if ((e.key === 'Delete' || e.key === 'Backspace') && e.target.id !== 'light-pad') doc.deleteSelected();
  }));

  await panels.loadLibrary();
  doc.changed(false);
  view.draw();
  await panels.settled();
  setStatus('Ready');
  installScripting({ doc, renderer, panels, view, pad, engine });
}

main().catch((err) => setStatus(`The engine could not start: ${err.message}`, true));
