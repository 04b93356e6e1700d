// window.plakett: the page's scripting interface (documented in the README). It appears
// only once the engine is ready.
export function installScripting({ doc, renderer, panels, view, pad }) {
  const toImages = (r) => r.states.map(
    (rgba) => new ImageData(new Uint8ClampedArray(rgba.buffer), r.width, r.height));

  window.plakett = Object.freeze({
    // A .tbp or .shp held in a Uint8Array, told apart by content. Resolves when the design
    // is shown; rejects with the desktop program's message for that file.
    async load(bytes) {
      doc.load(bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes));
      await panels.settled(); // a design that cannot render is shown with its message

    },
    // Normal, hot and pushed at 1x, opaque: the pixels of plakett-render --states 3 --format bmp.
    async render() {
      return toImages(await renderer.renderStates(doc.projectBytes(), doc.textureOrigin));
    },
    // The files plakett-render writes for the base name "button": [{name, bytes}].
    async exportFiles(options = {}) {
      return renderer.exportFiles(doc.projectBytes(), options, doc.textureOrigin);
    },
    // For tests and tools: the editor's points and where they are on the page.
    points() {
      return doc.view().points.map((p) => ({ ...p, page: view.toPage(p.x, p.y) }));
    },
    // The light editor's state, with where a pad pixel is on the page.
    lights() { return { ...doc.lights(), padPoint: (x, y) => pad.toPage(x, y) }; },
    undo() { doc.undo(); return panels.settled(); },
    redo() { doc.redo(); return panels.settled(); },
    settled() { return panels.settled(); },
    projectBytes() { return doc.projectBytes(); },
  });
  window.dispatchEvent(new Event('plakett-ready'));
}
