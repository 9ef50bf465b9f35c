// ESLint's recommended rules over the page's script (an Emscripten library:
// its own globals; the first lines of the page's script; the site's service
// worker) and the tests' scripts (Node.js, and page code they send).
'use strict';
const js = require('@eslint/js');
const globals = require('globals');
module.exports = [
  js.configs.recommended,
  {
    files: ['**/*.js'],
    languageOptions: { ecmaVersion: 2022, sourceType: 'commonjs', globals: { ...globals.node, ...globals.browser } },
  },
  {
    // Emscripten's names, which the library's functions find in the program.
    files: ['forms/web/*.js'],
    languageOptions: { sourceType: 'script', globals: { ...globals.browser } },
  },
  {
    files: ['app/web/page_start.js'],
    languageOptions: { sourceType: 'script', globals: { ...globals.browser } },
  },
  {
    files: ['app/web/service-worker.js'],
    languageOptions: { sourceType: 'script', globals: { ...globals.serviceworker } },
  },
  {
    // Code that runs in the page, where the program's Module is.
    files: ['tests/web/*.js', 'bench/*.js'],
    languageOptions: { globals: { Module: 'readonly' } },
  },
];
