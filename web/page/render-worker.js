// The page's renderer: its own engine instance, so that a long field never freezes the
// page. Requests carry an edit number; a preview request that was overtaken by a newer one
// before it started is answered as skipped.
import createEngine from './engine/engine.mjs';

const ready = createEngine().then((engine) => new engine.Renderer());
let newestPreview = 0;

self.onmessage = async (event) => {
  const { id, kind, edit, project, options } = event.data;
  const renderer = await ready;
  if (kind === 'preview' && edit < newestPreview) {
    self.postMessage({ id, skipped: true });
    return;
  }
  if (kind === 'preview') newestPreview = edit;
  const started = performance.now();
  let result;
  if (kind === 'export') result = renderer.exportFiles(project, options || {});
  else result = renderer.render(project, event.data.count || 3);
  const ms = performance.now() - started;
  const transfer = [];
  if (result.states) result.states.forEach((s) => transfer.push(s.buffer));
  if (result.files) result.files.forEach((f) => transfer.push(f.bytes.buffer));
  self.postMessage({ id, edit, ms, ...result }, transfer);
};
ready.then(() => self.postMessage({ ready: true }));
