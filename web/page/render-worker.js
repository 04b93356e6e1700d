// The page's renderer: its own engine instance, so that a long field never freezes the
// page. Requests carry an edit number; a preview request that was overtaken by a newer one
// before it started is answered as skipped.
import createEngine from './engine/engine.mjs';

const engineReady = createEngine();

// A browser compiles the engine's code quickly at first and optimises each function only
// once it has run a while; a long field started before that runs slowly from start to end.
// So the worker renders the default design once, at a large button's size, before it takes
// requests; that also leaves its memory grown to what such a field needs.
function warmedRenderer(engine) {
  const doc = new engine.Document(1000, 600);
  doc.transform('scale', 500, 250);
  const renderer = new engine.Renderer();
  renderer.render(doc.projectBytes(), 3, 0, 0);
  doc.delete();
  return renderer;
}

const ready = engineReady.then(warmedRenderer);
let newestPreview = 0;

self.onmessage = async (event) => {
  const { id, kind, edit, project, options } = event.data;
  // The texture origin: the page's, beside the project bytes.
  const { x, y } = event.data.origin || { x: 0, y: 0 };
  const renderer = await ready;
  if (kind === 'preview' && edit < newestPreview) {
    self.postMessage({ id, skipped: true });
    return;
  }
  if (kind === 'preview') newestPreview = edit;
  const started = performance.now();
  let result;
  if (kind === 'field') result = (await engineReady).fieldTimes(project, event.data.runs || 1);
  else if (kind === 'export') result = renderer.exportFiles(project, options || {}, x, y);
  else result = renderer.render(project, event.data.count || 3, x, y);
  const ms = performance.now() - started;
  const transfer = [];
  if (result.states) result.states.forEach((s) => transfer.push(s.buffer));
  if (result.files) result.files.forEach((f) => transfer.push(f.bytes.buffer));
  self.postMessage({ id, edit, ms, ...result }, transfer);
};
ready.then(() => self.postMessage({ ready: true }));
