// kestrava-log's report in Debian's chromium, headless, used as a person uses it: a
// history written by the built kestrava-log (snapshots of a tree that changes, the older
// part compacted into the store), its report opened; every point of the timeline pointed
// at and compared with `entries --json`, two points clicked and the change list compared
// with `diff --json`, a file deep in the tree found through the page's first text field
// and opened, and a screenshot checked for the timeline's colours.
// usage: node report-test.js KESTRAVA_LOG OUTPUT_FOLDER [SCREENSHOT]
"use strict";

const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const puppeteer = require("puppeteer-core");

const [program, output, screenshotPath] = process.argv.slice(2);
const tree = path.join(output, "tree");
const log = path.join(output, "Kestrava.txt");
const report = path.join(output, "report.html");
const deepFolder = path.join(tree, "projects", "2026", "q4", "drafts", "old", "keep");
const deepFile = path.join(deepFolder, "Needle report (final).docx");

function kestravaLog(...args) {
    try {
        return execFileSync(program, ["--log", log, ...args], {
            encoding: "utf8",
            env: { ...process.env, TZ: "UTC", LC_ALL: "C.UTF-8" },
        });
    } catch (error) {
        // diff ends 1 when something changed: its output is what is wanted.
        if (error.status === 1) return error.stdout;
        throw error;
    }
}

function write(file, bytes) {
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, Buffer.alloc(bytes, 120));
}

// Seven entries: files come, grow and go, a folder is renamed; the first four are
// compacted into the store, so the report reads both halves of the history.
function writeHistory() {
    fs.rmSync(output, { recursive: true, force: true });
    for (let folder = 0; folder < 6; folder++) {
        for (let file = 0; file < 8; file++) {
            write(path.join(tree, "folder " + folder, "file|" + file + ".txt"), 100 * (file + 1));
        }
    }
    write(deepFile, 5000);
    const steps = [
        () => write(path.join(tree, "folder 1", "big.iso"), 3 * 1024 * 1024),
        () => {
            write(path.join(tree, "folder 2", "file|3.txt"), 70000);
            fs.rmSync(path.join(tree, "folder 0", "file|0.txt"));
        },
        () => fs.renameSync(path.join(tree, "folder 5"), path.join(tree, "folder five")),
        () => write(path.join(tree, "folder 3", "new.txt"), 2048),
        () => {
            for (let file = 0; file < 4; file++) {
                write(path.join(tree, "folder 4", "grown " + file + ".bin"), 400000);
            }
        },
        () => fs.rmSync(path.join(tree, "folder 1", "big.iso")),
    ];
    kestravaLog("snapshot", tree);
    steps.forEach((step, index) => {
        step();
        kestravaLog("snapshot", tree);
        if (index === 2) kestravaLog("compact");
    });
}

async function launch() {
    const args = ["--headless=new", "--disable-gpu", "--hide-scrollbars", "--mute-audio"];
    if (process.getuid && process.getuid() === 0) args.push("--no-sandbox");
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
        args,
        defaultViewport: { width: 1200, height: 1500 },
    });
}

// Points along the whole timeline, a few pixels apart: every entry the tip shows, with
// where it showed.
async function pointAtEveryEntry(page) {
    const canvas = await page.$("#timeline");
    const box = await canvas.boundingBox();
    const seen = new Map();
    for (let x = 1; x < box.width; x += 3) {
        await page.mouse.move(box.x + x, box.y + box.height / 2);
        const tip = await page.$eval("#tip", (element) => ({ ...element.dataset }));
        if (!seen.has(tip.entry)) seen.set(tip.entry, { ...tip, x: box.x + x, y: box.y + 20 });
    }
    return seen;
}

function expectPoints(points, entries) {
    assert.deepEqual([...points.keys()], entries.map((entry) => String(entry.entry)));
    for (const entry of entries) {
        const point = points.get(String(entry.entry));
        assert.equal(point.date, entry.date);
        assert.equal(Number(point.files), entry.files);
        const changes = entry.changes
            ? [entry.changes.added, entry.changes.removed, entry.changes.modified].join(" ") : "";
        assert.equal(point.changes, changes, "the changes of entry " + entry.entry);
    }
}

// Every row of the change list: only those in sight are drawn, so it is scrolled through.
async function changeRows(page) {
    return page.$eval("#change-list", async (list) => {
        const rows = new Map();
        for (let top = 0; ; top += list.clientHeight / 2) {
            list.scrollTop = top;
            list.dispatchEvent(new Event("scroll"));
            await new Promise((resolve) => requestAnimationFrame(resolve));
            for (const row of list.querySelectorAll(".row:not([hidden])")) {
                rows.set(row.style.top, { ...row.dataset });
            }
            if (top + list.clientHeight >= list.scrollHeight) break;
        }
        list.scrollTop = 0;
        return [...rows.values()];
    });
}

function expectedChanges(diff) {
    const rows = [];
    const text = (file) => file.size + "|" + file.modified;
    for (const file of diff.added) rows.push({ kind: "added", path: file.path, before: "", after: text(file) });
    for (const file of diff.removed) rows.push({ kind: "removed", path: file.path, before: text(file), after: "" });
    for (const file of diff.modified) {
        rows.push({ kind: "modified", path: file.path, before: text(file.before), after: text(file.after) });
    }
    return rows.sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : a.kind < b.kind ? -1 : 1));
}

function sorted(rows) {
    return rows.map(({ kind, path: file, before, after }) => ({ kind, path: file, before, after }))
        .sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : a.kind < b.kind ? -1 : 1));
}

// How many pixels of the screenshot are near each colour, counted by the browser itself.
async function colourCounts(browser, png, colours) {
    const page = await browser.newPage();
    const counts = await page.evaluate(async (base64, wanted) => {
        const image = new Image();
        image.src = "data:image/png;base64," + base64;
        await image.decode();
        const canvas = document.createElement("canvas");
        canvas.width = image.width;
        canvas.height = image.height;
        const context = canvas.getContext("2d");
        context.drawImage(image, 0, 0);
        const pixels = context.getImageData(0, 0, image.width, image.height).data;
        const found = wanted.map(() => 0);
        let white = 0;
        for (let at = 0; at < pixels.length; at += 4) {
            if (pixels[at] > 245 && pixels[at + 1] > 245 && pixels[at + 2] > 245) white++;
            wanted.forEach(([r, g, b], index) => {
                if (Math.abs(pixels[at] - r) + Math.abs(pixels[at + 1] - g) +
                    Math.abs(pixels[at + 2] - b) < 30) found[index]++;
            });
        }
        return { found, white, all: pixels.length / 4 };
    }, png.toString("base64"), colours);
    await page.close();
    return counts;
}

async function main() {
    writeHistory();
    kestravaLog("report", "--html", report);
    const entries = JSON.parse(kestravaLog("entries", "--json"));
    assert.equal(entries.length, 7);

    const browser = await launch();
    try {
        const page = await browser.newPage();
        const problems = [];
        page.on("pageerror", (error) => problems.push(error.message));
        page.on("requestfailed", (request) => problems.push("asked the network: " + request.url()));
        await page.goto("file://" + path.resolve(report));
        await page.waitForSelector("body[data-state=ready]", { timeout: 20000 });

        // Every point of the timeline is its entry, as entries --json tells it.
        const points = await pointAtEveryEntry(page);
        expectPoints(points, entries);

        // Two entries picked on the timeline, the later first: the list is what diff says.
        for (const [from, to] of [[2, 6], [1, 7], [5, 6]]) {
            await page.mouse.click(points.get(String(to)).x, points.get(String(to)).y);
            await page.mouse.click(points.get(String(from)).x, points.get(String(from)).y);
            assert.equal(await page.$eval("#from", (input) => input.value), String(from));
            assert.equal(await page.$eval("#to", (input) => input.value), String(to));
            const diff = JSON.parse(kestravaLog("diff", String(from), String(to), "--json"));
            assert.deepEqual(sorted(await changeRows(page)), expectedChanges(diff),
                             "the changes from " + from + " to " + to);
        }

        // Filtered by kind and by path, as the list's controls offer.
        await page.click(".kind[value=added]");
        assert.deepEqual(await changeRows(page), []);
        await page.click(".kind[value=added]");
        await page.type("#change-filter", "GROWN 2");
        const grown = await changeRows(page);
        assert.deepEqual(grown.map((row) => row.path), [path.join(tree, "folder 4", "grown 2.bin")]);

        // From 5 to 6 only folder 4 grew: it leads both lists, the folders above it, which
        // grew by just as much, left out.
        for (const list of ["#growers-bytes", "#growers-files"]) {
            const growers = await page.$$eval(list + " tbody td:first-child",
                                              (cells) => cells.map((cell) => cell.textContent));
            assert.deepEqual(growers, [path.join(tree, "folder 4")], list);
        }

        // The first text field finds a file deep in the tree by part of its name, and shows
        // where it lies.
        await page.waitForSelector("body[data-tree-entry='6']");
        const firstField = await page.$("input");
        assert.equal(await firstField.evaluate((input) => input.id), "search");
        await firstField.type("needle REPORT");
        await page.waitForSelector("#search-results[data-done=true] .row:not([hidden])");
        const hits = await page.$$eval("#search-results .row:not([hidden])",
                                       (rows) => rows.map((row) => row.dataset.path));
        assert.deepEqual(hits, [deepFile]);
        await page.click("#search-results .row:not([hidden])");
        const crumbs = await page.$eval("#crumbs", (nav) => nav.textContent);
        assert.ok(crumbs.endsWith("keep"), "the tree shows the file's folder: " + crumbs);
        const marked = await page.$eval("#tree-list .row.marked", (row) => row.dataset.file);
        assert.equal(marked, path.basename(deepFile));
        await firstField.click({ clickCount: 3 });
        await page.keyboard.press("Backspace");

        // A screenshot: the page drawn, the timeline's lines among it.
        await page.mouse.move(points.get("4").x, points.get("4").y + 60);
        const png = await page.screenshot({ clip: { x: 0, y: 0, width: 1200, height: 1250 } });
        if (screenshotPath) fs.writeFileSync(screenshotPath, png);
        const counts = await colourCounts(browser, png, [[0x25, 0x63, 0xeb], [0xea, 0x58, 0x0c]]);
        assert.ok(counts.white < counts.all * 0.98, "the screenshot is blank");
        assert.ok(counts.found[0] > 200, "no line of files on the screenshot: " + counts.found[0]);
        assert.ok(counts.found[1] > 200, "no line of bytes on the screenshot: " + counts.found[1]);

        // A report of some entries only: each point still says what entries says of it.
        const part = path.join(output, "part.html");
        kestravaLog("report", "3", "-2", "--html", part);
        await page.goto("file://" + path.resolve(part));
        await page.waitForSelector("body[data-state=ready]", { timeout: 20000 });
        expectPoints(await pointAtEveryEntry(page), entries.slice(2, 6));
        assert.deepEqual(problems, []);
    } finally {
        await browser.close();
    }
    console.log("report in the browser: all checks passed");
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
