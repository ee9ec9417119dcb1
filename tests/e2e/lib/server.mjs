// A read-only static file server for one produced quiz site, bound to the
// loopback address on a free port. Frames of a site opened from file:// are
// separate origins in Chromium and cannot reach the top frame's hidden form,
// so the site is always served over HTTP for the browser tests.
import http from 'node:http';
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import path from 'node:path';

// The produced pages, script and style sheet are Windows-1252 text unless
// the server is told otherwise.
const contentTypes = new Map([
  ['.html', 'text/html'],
  ['.htm', 'text/html'],
  ['.js', 'text/javascript'],
  ['.css', 'text/css'],
  ['.gif', 'image/gif'],
]);

export function contentTypeOf(file, charset = 'windows-1252') {
  const type = contentTypes.get(path.extname(file).toLowerCase());
  if (!type) return 'application/octet-stream';
  return type.startsWith('text/') ? `${type}; charset=${charset}` : type;
}

// Maps a request path onto a file inside root, or null when the path leaves
// root or cannot be decoded.
export function resolveInside(root, urlPath) {
  let decoded;
  try {
    decoded = decodeURIComponent(urlPath.split('?')[0].split('#')[0]);
  } catch {
    return null;
  }
  if (decoded.includes('\0')) return null;
  if (decoded.endsWith('/')) decoded += 'index.html';
  const full = path.resolve(root, '.' + path.posix.normalize('/' + decoded));
  const base = path.resolve(root);
  return full === base || full.startsWith(base + path.sep) ? full : null;
}

// Starts serving root; resolves to { url, requests, close() } where url is
// the site's base address ending with "/" and requests lists every path asked for.
// charset names the encoding of the text files.
export async function serveFolder(root, { charset } = {}) {
  const requests = [];
  const server = http.createServer(async (req, res) => {
    requests.push(req.url);
    if (req.method !== 'GET' && req.method !== 'HEAD') {
      res.writeHead(405, { Allow: 'GET, HEAD' }).end();
      return;
    }
    const file = resolveInside(root, req.url);
    let info = null;
    if (file) {
      try {
        info = await stat(file);
      } catch {
        info = null;
      }
    }
    if (!info || !info.isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found');
      return;
    }
    res.writeHead(200, {
      'Content-Type': contentTypeOf(file, charset),
      'Content-Length': info.size,
      'Cache-Control': 'no-store',
    });
    if (req.method === 'HEAD') {
      res.end();
      return;
    }
    createReadStream(file).pipe(res);
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', resolve);
  });
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}/`,
    requests,
    close: () =>
      new Promise((resolve) => {
        server.closeAllConnections();
        server.close(() => resolve());
      }),
  };
}
