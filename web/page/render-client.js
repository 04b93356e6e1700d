// The main thread's side of the render worker: promises per request, and a preview road
// that keeps only the newest edit waiting.
export class RenderClient {
  constructor() {
    this.worker = new Worker(new URL('./render-worker.js', import.meta.url), { type: 'module' });
    this.pending = new Map();
    this.nextId = 1;
    this.ready = new Promise((resolve) => { this.resolveReady = resolve; });
    this.previewBusy = false;
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
  async renderStates(project) {
    const r = await this.request({ kind: 'states', project });
    if (r.error) throw new Error(r.error);
    return r;
  }

  async exportFiles(project, options) {
    const r = await this.request({ kind: 'export', project, options });
    if (r.error) throw new Error(r.error);
    return r.files;
  }

  // The normal state of edit number `edit`; while one preview runs only the newest request
  // waits, and onResult sees results in edit order only.
  preview(project, edit, count, onResult) {
    this.previewWaiting = { project, edit, count, onResult };
    if (!this.previewBusy) this.runPreview();
  }

  async runPreview() {
    const next = this.previewWaiting;
    if (!next) return;
    this.previewWaiting = null;
    this.previewBusy = true;
    const r = await this.request({
      kind: 'preview', project: next.project, edit: next.edit, count: next.count,
    });
    this.previewBusy = false;
    if (!r.skipped) next.onResult(r);
    this.runPreview();
  }
}
