// kestrava-log's report in headless chromium: how long the page takes to draw its timeline
// from opening, to show the changes between two entries picked on the timeline, and to
// show the first files that a search finds; and the browser's memory meanwhile. Each
// time is the median of RUNS runs, next to the time the same browser takes to open a
// reference page of the same size that does nothing (its data in a comment).
// usage: node report-bench.js REPORT.html SEARCH [RUNS]
"use strict";

const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const puppeteer = require("puppeteer-core");

const [report, query, runsText] = process.argv.slice(2);
const runs = Number(runsText || 3);

function median(values) {
    const sorted = values.slice().sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

// Proportional set size of the browser and every process it started, in MB.
function browserMemory(pid) {
    const all = new Map();
    for (const entry of fs.readdirSync("/proc")) {
        if (!/^\d+$/.test(entry)) continue;
        try {
            const stat = fs.readFileSync(`/proc/${entry}/stat`, "utf8");
            all.set(Number(entry), Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]));
        } catch {
            // The process ended meanwhile.
        }
    }
    const family = new Set([pid]);
    for (let grown = true; grown;) {
        grown = false;
        for (const [child, parent] of all) {
            if (family.has(parent) && !family.has(child)) {
                family.add(child);
                grown = true;
            }
        }
    }
    let kilobytes = 0;
    for (const member of family) {
        try {
            const rollup = fs.readFileSync(`/proc/${member}/smaps_rollup`, "utf8");
            kilobytes += Number(/^Pss:\s+(\d+)/m.exec(rollup)[1]);
        } catch {
            // The process ended meanwhile.
        }
    }
    return kilobytes / 1024;
}

async function launch() {
    const args = ["--headless=new", "--disable-gpu", "--hide-scrollbars"];
    if (process.getuid() === 0) args.push("--no-sandbox");
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
        args,
        defaultViewport: { width: 1200, height: 1500 },
        protocolTimeout: 600000,
    });
}

async function openReference(browser, reference) {
    const page = await browser.newPage();
    const start = Date.now();
    await page.goto("file://" + reference, { waitUntil: "load" });
    const took = Date.now() - start;
    await page.close();
    return took;
}

async function afterNextFrame(page) {
    return page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
}

async function measure(browser) {
    const page = await browser.newPage();
    await page.goto("file://" + path.resolve(report), { waitUntil: "domcontentloaded" });
    await page.waitForSelector("body[data-timeline-drawn]", { timeout: 600000 });
    const timeline = Number(await page.$eval("body", (body) => body.dataset.timelineDrawn));
    await page.waitForSelector("body[data-state=ready]", { timeout: 600000 });
    const ready = await page.evaluate(() => performance.now());

    const box = await (await page.$("#timeline")).boundingBox();
    const y = box.y + box.height / 2;
    const start = Date.now();
    await page.mouse.click(box.x + box.width * 0.3, y);
    await page.mouse.click(box.x + box.width * 0.7, y);
    await afterNextFrame(page);
    const pair = (Date.now() - start) / 2;
    const pairInPage = Number(await page.$eval("body", (body) => body.dataset.pairMilliseconds));
    const changes = await page.$eval("#changes-summary", (summary) => summary.textContent);

    // The query arrives whole, as pasted, and the wait is for a file whose name holds it.
    await page.focus("input");
    const searchStart = Date.now();
    await page.keyboard.sendCharacter(query);
    await page.waitForFunction((wanted) => [...document.querySelectorAll(
        "#search-results .row:not([hidden]) .name")].some((name) =>
        name.textContent.toLowerCase().includes(wanted)), { timeout: 600000 }, query.toLowerCase());
    const search = Date.now() - searchStart;
    await page.waitForSelector("#search-results[data-done=true]", { timeout: 600000 });
    const searchDone = Date.now() - searchStart;
    const hits = await page.$eval("#search-count", (count) => count.textContent);
    const memory = browserMemory(browser.process().pid);
    await page.close();
    return { timeline, ready, pair, pairInPage, changes, search, searchDone, hits, memory };
}

async function main() {
    const size = fs.statSync(report).size;
    const reference = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "report-bench-")), "reference.html");
    fs.writeFileSync(reference, "<!DOCTYPE html><title>reference</title><p>reference<!--" +
                                "x".repeat(size) + "-->");
    const browser = await launch();
    const results = [];
    const references = [];
    try {
        for (let run = 0; run < runs; run++) {
            references.push(await openReference(browser, reference));
            results.push(await measure(browser));
        }
    } finally {
        await browser.close();
        fs.rmSync(path.dirname(reference), { recursive: true, force: true });
    }
    const referenceMs = median(references);
    const line = (name, key, target) => {
        const value = median(results.map((result) => result[key]));
        const wanted = target === null ? "" : ` (target: at most ${target} ms)`;
        console.log(`${name}: ${Math.round(value)} ms${wanted}; ` +
                    `${(value / referenceMs).toFixed(1)} times the reference page's opening`);
    };
    console.log(`report: ${size} bytes; the reference page of as many bytes opens in ` +
                `${referenceMs} ms (median of ${runs})`);
    line("timeline drawn, from opening", "timeline", 2000);
    line("page ready (changes and tree of the newest entry), from opening", "ready", null);
    line("a pair picked on the timeline, its change list drawn (click to the next frame)", "pair", 500);
    line("the same, in the page: the click's handler until the rows are in place", "pairInPage", 500);
    line(`search "${query}", first files shown`, "search", 1000);
    line(`the same search through every file`, "searchDone", null);
    console.log(`changes: ${results[0].changes}`);
    console.log(`found: ${results[0].hits}`);
    console.log(`browser memory (PSS of every chromium process): ` +
                `${Math.round(Math.max(...results.map((result) => result.memory)))} MB ` +
                `(target: at most 1024 MB)`);
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
