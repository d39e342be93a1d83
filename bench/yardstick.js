// The yardstick: what a user would otherwise write. Decodes each GBK page with TextDecoder and runs
// the listing pattern with a global RegExp, reading every group of every match.
//   node bench/yardstick.js PAGES_DIR [SECONDS]
// PAGES_DIR holds fulltime.html (GBK) and pattern-fulltime.txt (UTF-8), as bench_core writes them.
const fs = require('fs');
const path = require('path');

const dir = process.argv[2];
const seconds = Number(process.argv[3] || 3);
const decoder = new TextDecoder('gbk');

for (const kind of ['fulltime', 'parttime']) {
  const page = fs.readFileSync(path.join(dir, `${kind}.html`));
  const pattern = fs.readFileSync(path.join(dir, `pattern-${kind}.txt`), 'utf8');
  let pages = 0;
  let groups = 0;
  const start = process.hrtime.bigint();
  const limit = BigInt(Math.round(seconds * 1e9));
  while (process.hrtime.bigint() - start < limit) {
    for (let k = 0; k < 100; ++k) {
      const text = decoder.decode(page);
      const re = new RegExp(pattern, 'g');
      let m;
      while ((m = re.exec(text)) !== null) {
        for (let g = 1; g < m.length; ++g) groups += m[g].length;
        if (m[0].length === 0) re.lastIndex++;
      }
      ++pages;
    }
  }
  const elapsed = Number(process.hrtime.bigint() - start) / 1e9;
  console.log(`yardstick ${kind}: ${(pages / elapsed).toFixed(0)} pages/s (${page.length} bytes, ${groups} group chars)`);
}
