// The first lines of the page's script. The page's failure text follows the
// script and shows unless a script that ran says otherwise: it has started;
// then only a load that failed (WebAssembly refused, an error before the form
// was ready) shows it and hides the inert form.
/* global Module, tryParseAsDataURI, wasmBinaryFile */
document.documentElement.classList.add('started');
const bottlesFailed = () => {
  const page = document.documentElement.classList;
  if (!page.contains('ready')) page.add('load-failed');
};
addEventListener('error', bottlesFailed);
addEventListener('unhandledrejection', bottlesFailed);
Module.onAbort = bottlesFailed;
// The WebAssembly, which is in the script, is compiled and run once the
// browser has painted the form that the page's markup holds (the frame
// after the first one is drawn), or at once in a page not shown.
// tryParseAsDataURI and wasmBinaryFile are Emscripten's, of its single-file
// output: the WebAssembly as a data address in the script.
Module.instantiateWasm = (imports, receive) => {
  const start = () => WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)
    .then((result) => receive(result.instance), bottlesFailed);
  if (document.visibilityState === 'hidden') start();
  else requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(start)));
  return {};
};
// The site's copy of the page names its manifest: there a service worker
// keeps the page for play offline. The single file asks for nothing.
if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
  navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
