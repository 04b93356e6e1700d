#!/usr/bin/env node
// plakett-render under node: the same options, inputs, outputs and bytes as the desktop
// build's renderer, from the same sources compiled to WebAssembly. Designs with a caption
// are refused (no font engine here).
import { createRequire } from 'node:module';

// This emscripten's loader takes node's fetch for a browser's and fails on a file path;
// without it, it reads the engine's code from the file. It decides while it is required.
const fetch = globalThis.fetch;
delete globalThis.fetch;
try {
  createRequire(import.meta.url)('./engine/plakett-render-node.js');
} finally {
  globalThis.fetch = fetch;
}
