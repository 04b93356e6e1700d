// The main thread's side of the render worker: promises per request, and a preview road
// that keeps only the newest edit waiting.
export class RenderClient {
  constructor() {
    this.worker = new Worker(new URL('./render-worker.js', import.meta.url), { type: 'module' });
    this.pending = new Map();
    this.nextId = 1;
    this.ready = new Promise((resolve) => { this.resolveReady = resolve; });
    this.previewsOnTheirWay = 0;
    this.previewWaiting = null;
    this.worker.onmessage = (event) => {
      const data = event.data;
      if (data.ready) { this.resolveReady(); return; }
      const entry = this.pending.get(data.id);
      this.pending.delete(data.id);
      if (entry) entry(data);
    };
  }

  request(message) {
    const id = this.nextId++;
    return new Promise((resolve) => {
      this.pending.set(id, resolve);
      this.worker.postMessage({ id, ...message });
    });
  }

  // Resolves with {states:[RGBA x3], width, height} or rejects with the engine's message.
  async renderStates(project, origin) {
    const r = await this.request({ kind: 'states', project, origin });
    if (r.error) throw new Error(r.error);
    return r;
  }

  async exportFiles(project, options, origin) {
    const r = await this.request({ kind: 'export', project, options, origin });
    if (r.error) throw new Error(r.error);
    return r.files;
  }

  // The normal state of edit number `edit`. Two previews may be on their way, so that the
  // worker starts the next one as soon as it answers one instead of idling for a round trip
  // through this thread; the newest request waits for a free place, older waiting ones are
  // dropped, and onResult sees results in edit order only (the worker answers in order).
  preview(project, origin, edit, count, onResult) {
    this.previewWaiting = { project, origin, edit, count, onResult };
    this.sendPreviews();
  }

  sendPreviews() {
    while (this.previewsOnTheirWay < 2 && this.previewWaiting) {
      const next = this.previewWaiting;
      this.previewWaiting = null;
      this.previewsOnTheirWay += 1;
      this.request({
        kind: 'preview', project: next.project, origin: next.origin, edit: next.edit, count: next.count,
      }).then((r) => {
        this.previewsOnTheirWay -= 1;
        if (!r.skipped) next.onResult(r);
        this.sendPreviews();
      });
    }
  }
}
