// Makes the page installable and usable offline: registers the service
// worker that keeps the page's files. It waits for the page to finish
// loading, so that fetching the files to keep never delays the first odds.
// Where service workers are not available (a page opened from a file, or an
// address other than https or this machine's) the page simply needs the
// network.
if ('serviceWorker' in navigator) {
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('sw.js').catch((error) => {
      console.warn('The page will not work offline: ' + error);
    });
  });
}
