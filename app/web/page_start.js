// The first lines of the page's script. The page's failure text follows the
// script and shows unless a script that ran says otherwise: it has started;
// then only a load that failed (WebAssembly refused, an error before the form
// was ready) shows it and hides the inert form.
/* global Module */
document.documentElement.classList.add('started');
const bottlesFailed = () => {
  const page = document.documentElement.classList;
  if (!page.contains('ready')) page.add('load-failed');
};
addEventListener('error', bottlesFailed);
addEventListener('unhandledrejection', bottlesFailed);
Module.onAbort = bottlesFailed;
// The WebAssembly, which follows the script as a block of base64, is
// compiled and run once the page has been read and the browser has painted
// the form that its markup holds (the frame after the first one is drawn;
// at once in a page not shown).
Module.instantiateWasm = (imports, receive) => {
  const start = () => {
    const bytes = Uint8Array.from(atob(document.getElementById('program').textContent), (c) => c.charCodeAt(0));
    WebAssembly.instantiate(bytes, imports).then((result) => receive(result.instance), bottlesFailed);
  };
  const painted = () => {
    if (document.visibilityState === 'hidden') start();
    else requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(start)));
  };
  if (document.readyState === 'loading') addEventListener('DOMContentLoaded', painted);
  else painted();
  return {};
};
// The site's copy of the page names its manifest: there a service worker
// keeps the page for play offline. The single file asks for nothing.
if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
  navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
