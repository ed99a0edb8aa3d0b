"use strict";

// The report's page: its data (the range's first entry whole, then what each later entry
// changed; see ReportData.h) is inflated by the browser, the timeline drawn on a canvas,
// and every list draws only the rows in sight, so that a history of many entries of a
// large tree stays light.

const ROW_HEIGHT = 26;
const GROWERS_SHOWN = 15;
const SEARCH_SLICE = 50000; // files searched between two looks at the screen

const page = {
    entries: [],
    lines: [],
    sizes: new Map(),
    separator: "/",
    cursor: null,
    from: 0,
    to: 0,
    nextPick: "from",
    hover: -1,
    changes: [],
    tree: null,
};

// ---- The data ----

async function inflateData() {
    // Read once and let go: on a large report it is tens of megabytes.
    const holder = document.getElementById("report-data");
    const base64 = holder.textContent.trim();
    holder.remove();
    const binary = atob(base64);
    const bytes = new Uint8Array(binary.length);
    for (let at = 0; at < binary.length; at++) {
        bytes[at] = binary.charCodeAt(at);
    }
    const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("deflate"));
    return new Response(stream).text();
}

// A file line of the log, path|size|date: the path is what comes before the last two
// "|", which sizes and dates never hold.
function splitFileLine(line) {
    const dateBar = line.lastIndexOf("|");
    const sizeBar = line.lastIndexOf("|", dateBar - 1);
    return {
        path: line.slice(0, sizeBar),
        rest: line.slice(sizeBar + 1),
    };
}

function sizeAndDate(rest) {
    const bar = rest.indexOf("|");
    return { size: rest.slice(0, bar), date: rest.slice(bar + 1) };
}

function readData(text) {
    const lines = text.split("\n");
    if (lines[0] !== "KESTRAVA REPORT 1") {
        throw new Error("this report's data is of a kind this page can't read");
    }
    const entries = [];
    const sizes = new Map();
    let at = 1;
    while (at < lines.length && lines[at].startsWith("E|")) {
        const fields = lines[at].split("|");
        const gone = Number(fields[7]);
        const came = Number(fields[8]);
        entries.push({
            number: Number(fields[1]),
            files: Number(fields[2]),
            bytes: Number(fields[3]),
            changes: fields[4] === "" ? null : {
                added: Number(fields[4]),
                removed: Number(fields[5]),
                modified: Number(fields[6]),
            },
            date: fields.slice(9).join("|"),
            goneAt: at + 1,
            gone,
            cameAt: at + 1 + gone,
            came,
        });
        at += 1 + gone + came;
    }
    for (; at < lines.length; at++) {
        if (lines[at].startsWith("S|")) {
            const bar = lines[at].indexOf("|", 2);
            sizes.set(lines[at].slice(bar + 1), Number(lines[at].slice(2, bar)));
        }
    }
    page.entries = entries;
    page.lines = lines;
    page.sizes = sizes;
    const first = entries.length > 0 && entries[0].came > 0 ? lines[entries[0].cameAt] : "";
    page.separator = !first.startsWith("/") && first.includes("\\") ? "\\" : "/";
}

function bytesOfSize(size) {
    return page.sizes.get(size) || 0;
}

// ---- One entry's files, kept as the history is walked ----

// The files of one entry, path to its size and date ("size|date"; a path listed more than
// once holds them all, a line each). Moving to another entry applies what changed between.
class EntryFiles {
    constructor() {
        this.files = new Map();
        this.at = -1;
    }

    moveTo(index) {
        while (this.at < index) {
            this.at++;
            this.apply(page.entries[this.at], false);
        }
        while (this.at > index) {
            this.apply(page.entries[this.at], true);
            this.at--;
        }
    }

    apply(entry, backward) {
        const lines = page.lines;
        const goneEnd = entry.goneAt + entry.gone;
        const cameEnd = entry.cameAt + entry.came;
        if (backward) {
            for (let at = entry.cameAt; at < cameEnd; at++) this.remove(lines[at]);
            for (let at = entry.goneAt; at < goneEnd; at++) this.add(lines[at]);
        } else {
            for (let at = entry.goneAt; at < goneEnd; at++) this.remove(lines[at]);
            for (let at = entry.cameAt; at < cameEnd; at++) this.add(lines[at]);
        }
    }

    add(line) {
        const { path, rest } = splitFileLine(line);
        const held = this.files.get(path);
        this.files.set(path, held === undefined ? rest : held + "\n" + rest);
    }

    remove(line) {
        const { path, rest } = splitFileLine(line);
        const held = this.files.get(path);
        if (held === undefined) return;
        if (held === rest) {
            this.files.delete(path);
            return;
        }
        const listings = held.split("\n");
        const at = listings.indexOf(rest);
        if (at >= 0) listings.splice(at, 1);
        if (listings.length === 0) this.files.delete(path);
        else this.files.set(path, listings.join("\n"));
    }

    listings(path) {
        const held = this.files.get(path);
        return held === undefined ? [] : held.split("\n");
    }
}

// ---- What changed between two entries, as `diff` tells it ----

// Each listing of a path that is the same in both entries is unchanged; the others are
// paired in their order, a pair being a modified file, and the rest added or removed.
function compareListings(path, before, after, changes) {
    const left = before.slice();
    const right = [];
    for (const listing of after) {
        const at = left.indexOf(listing);
        if (at >= 0) left.splice(at, 1);
        else right.push(listing);
    }
    const paired = Math.min(left.length, right.length);
    for (let at = 0; at < paired; at++) {
        changes.push({ kind: "modified", path, before: sizeAndDate(left[at]),
                       after: sizeAndDate(right[at]) });
    }
    for (let at = paired; at < right.length; at++) {
        changes.push({ kind: "added", path, after: sizeAndDate(right[at]) });
    }
    for (let at = paired; at < left.length; at++) {
        changes.push({ kind: "removed", path, before: sizeAndDate(left[at]) });
    }
}

function compareEntries(fromIndex, toIndex) {
    const cursor = page.cursor;
    const touched = new Set();
    for (let index = fromIndex + 1; index <= toIndex; index++) {
        const entry = page.entries[index];
        const end = entry.cameAt + entry.came;
        for (let at = entry.goneAt; at < end; at++) {
            touched.add(splitFileLine(page.lines[at]).path);
        }
    }
    cursor.moveTo(fromIndex);
    const before = new Map();
    for (const path of touched) before.set(path, cursor.listings(path));
    cursor.moveTo(toIndex);
    const changes = [];
    for (const path of touched) {
        compareListings(path, before.get(path), cursor.listings(path), changes);
    }
    changes.sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0));
    return changes;
}

// ---- Words and numbers ----

function formatBytes(bytes) {
    const units = ["bytes", "KB", "MB", "GB", "TB"];
    let value = Math.abs(bytes);
    let unit = 0;
    while (value >= 1024 && unit < units.length - 1) {
        value /= 1024;
        unit++;
    }
    const shown = unit === 0 ? String(Math.round(value)) : value.toFixed(1);
    return (bytes < 0 ? "\u2212" : "") + shown + " " + units[unit];
}

function formatCount(count) {
    return count.toLocaleString("en-US");
}

function entryLabel(index) {
    const entry = page.entries[index];
    return "entry " + entry.number + " [" + entry.date + "]";
}

function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
}

// ---- Lists that draw only the rows in sight ----

class VirtualList {
    constructor(container, drawRow) {
        this.container = container;
        this.drawRow = drawRow;
        this.items = [];
        this.spacer = element("div", "spacer");
        container.appendChild(this.spacer);
        this.rows = [];
        container.addEventListener("scroll", () => this.draw());
        new ResizeObserver(() => this.draw()).observe(container);
    }

    show(items) {
        this.items = items;
        this.spacer.style.height = items.length * ROW_HEIGHT + "px";
        this.container.scrollTop = 0;
        this.draw();
    }

    scrollTo(index) {
        const top = index * ROW_HEIGHT;
        this.container.scrollTop = Math.max(0, top - this.container.clientHeight / 2);
        this.draw();
    }

    draw() {
        const first = Math.floor(this.container.scrollTop / ROW_HEIGHT);
        const count = Math.ceil(this.container.clientHeight / ROW_HEIGHT) + 1;
        const last = Math.min(this.items.length, first + count);
        let used = 0;
        for (let index = first; index < last; index++, used++) {
            if (used === this.rows.length) {
                const row = element("div", "row");
                this.container.appendChild(row);
                this.rows.push(row);
            }
            const row = this.rows[used];
            row.hidden = false;
            row.style.top = index * ROW_HEIGHT + "px";
            row.className = "row";
            for (const key of Object.keys(row.dataset)) delete row.dataset[key];
            row.replaceChildren();
            this.drawRow(row, this.items[index], index);
        }
        for (; used < this.rows.length; used++) this.rows[used].hidden = true;
    }
}

// ---- The timeline ----

const COLOURS = {};

function readColours() {
    const style = getComputedStyle(document.documentElement);
    for (const name of ["files", "bytes", "added", "removed", "modified", "line", "quiet"]) {
        COLOURS[name] = style.getPropertyValue("--" + name).trim();
    }
}

function chartGeometry(canvas) {
    const width = canvas.clientWidth;
    const height = canvas.clientHeight;
    const left = 56;
    const right = 56;
    const plotWidth = Math.max(1, width - left - right);
    const count = page.entries.length;
    return {
        width, height, left, right, plotWidth,
        linesTop: 10,
        linesBottom: height * 0.62,
        barsTop: height * 0.68,
        barsBottom: height - 20,
        step: count > 1 ? plotWidth / (count - 1) : 0,
        x(index) {
            return count > 1 ? left + index * this.step : left + plotWidth / 2;
        },
        indexAt(x) {
            if (count <= 1) return 0;
            return Math.min(count - 1, Math.max(0, Math.round((x - left) / this.step)));
        },
    };
}

function seriesRange(values) {
    let low = Infinity;
    let high = -Infinity;
    for (const value of values) {
        low = Math.min(low, value);
        high = Math.max(high, value);
    }
    if (low === high) {
        low -= 1;
        high += 1;
    }
    return { low, high };
}

function drawLine(context, geometry, values, colour) {
    const { low, high } = seriesRange(values);
    const span = geometry.linesBottom - geometry.linesTop;
    context.beginPath();
    values.forEach((value, index) => {
        const y = geometry.linesBottom - ((value - low) / (high - low)) * span;
        if (index === 0) context.moveTo(geometry.x(index), y);
        else context.lineTo(geometry.x(index), y);
    });
    if (values.length === 1) {
        context.arc(geometry.x(0), geometry.linesBottom - span / 2, 3, 0, 2 * Math.PI);
    }
    context.strokeStyle = colour;
    context.lineWidth = 2;
    context.stroke();
    return { low, high };
}

function drawBars(context, geometry) {
    let most = 1;
    for (const entry of page.entries) {
        if (entry.changes) {
            most = Math.max(most, entry.changes.added + entry.changes.removed +
                                  entry.changes.modified);
        }
    }
    const span = geometry.barsBottom - geometry.barsTop;
    const width = Math.max(1, Math.min(14, geometry.step * 0.7));
    for (const kind of ["added", "removed", "modified"]) {
        context.fillStyle = COLOURS[kind];
        page.entries.forEach((entry, index) => {
            if (!entry.changes) return;
            let below = 0;
            for (const earlier of ["added", "removed", "modified"]) {
                if (earlier === kind) break;
                below += entry.changes[earlier];
            }
            const value = entry.changes[kind];
            if (value === 0) return;
            const top = geometry.barsBottom - ((below + value) / most) * span;
            const height = Math.max(1, (value / most) * span);
            context.fillRect(geometry.x(index) - width / 2, top, width, height);
        });
    }
    return most;
}

function drawMarker(context, geometry, index, colour, label) {
    const x = geometry.x(index);
    context.strokeStyle = colour;
    context.lineWidth = 1;
    context.setLineDash([4, 3]);
    context.beginPath();
    context.moveTo(x, geometry.linesTop);
    context.lineTo(x, geometry.barsBottom);
    context.stroke();
    context.setLineDash([]);
    if (label) {
        // "from" to the left of its line, "to" to the right, so that near ones don't clash.
        const before = label.startsWith("from");
        context.fillStyle = colour;
        context.textAlign = before ? "right" : "left";
        context.fillText(label, before ? x - 3 : x + 3, geometry.height - 6);
        context.textAlign = "left";
    }
}

function drawTimeline() {
    const canvas = document.getElementById("timeline");
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.round(canvas.clientWidth * ratio);
    canvas.height = Math.round(canvas.clientHeight * ratio);
    const context = canvas.getContext("2d");
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, canvas.clientWidth, canvas.clientHeight);
    const geometry = chartGeometry(canvas);
    context.font = "11px system-ui, sans-serif";

    context.strokeStyle = COLOURS.line;
    context.lineWidth = 1;
    for (const y of [geometry.linesTop, geometry.linesBottom, geometry.barsBottom]) {
        context.beginPath();
        context.moveTo(geometry.left, y + 0.5);
        context.lineTo(geometry.width - geometry.right, y + 0.5);
        context.stroke();
    }
    const most = drawBars(context, geometry);
    const files = drawLine(context, geometry, page.entries.map((entry) => entry.files),
                           COLOURS.files);
    const bytes = drawLine(context, geometry, page.entries.map((entry) => entry.bytes),
                           COLOURS.bytes);

    context.fillStyle = COLOURS.files;
    context.textAlign = "right";
    context.fillText(formatCount(Math.round(files.high)), geometry.left - 4, geometry.linesTop + 8);
    context.fillText(formatCount(Math.round(files.low)), geometry.left - 4, geometry.linesBottom);
    context.fillStyle = COLOURS.quiet;
    context.fillText(formatCount(most), geometry.left - 4, geometry.barsTop + 8);
    context.textAlign = "left";
    context.fillStyle = COLOURS.bytes;
    const bytesX = geometry.width - geometry.right + 4;
    context.fillText(formatBytes(bytes.high), bytesX, geometry.linesTop + 8);
    context.fillText(formatBytes(bytes.low), bytesX, geometry.linesBottom);

    drawMarker(context, geometry, page.from, COLOURS.quiet, "from " + page.entries[page.from].number);
    if (page.to !== page.from) {
        drawMarker(context, geometry, page.to, COLOURS.quiet, "to " + page.entries[page.to].number);
    }
    if (page.hover >= 0) drawMarker(context, geometry, page.hover, "#18181b", "");
}

function showTip(index, x) {
    const tip = document.getElementById("tip");
    const entry = page.entries[index];
    tip.replaceChildren(
        element("div", "", "Entry " + entry.number + " \u00b7 " + entry.date),
        element("div", "", formatCount(entry.files) + " files \u00b7 about " +
                           formatBytes(entry.bytes)),
        element("div", "", entry.changes
            ? "+" + formatCount(entry.changes.added) + " added \u00b7 \u2212" +
              formatCount(entry.changes.removed) + " removed \u00b7 " +
              formatCount(entry.changes.modified) + " modified"
            : "the first entry of the report"));
    Object.assign(tip.dataset, {
        entry: entry.number,
        date: entry.date,
        files: entry.files,
        changes: entry.changes ? [entry.changes.added, entry.changes.removed,
                                  entry.changes.modified].join(" ") : "",
    });
    tip.classList.remove("hidden");
    const chart = document.getElementById("chart");
    const left = Math.min(x + 12, chart.clientWidth - tip.offsetWidth - 4);
    tip.style.left = Math.max(0, left) + "px";
    tip.style.top = "8px";
}

function watchTimeline() {
    const canvas = document.getElementById("timeline");
    const indexAt = (event) => {
        const box = canvas.getBoundingClientRect();
        return { index: chartGeometry(canvas).indexAt(event.clientX - box.left),
                 x: event.clientX - box.left };
    };
    canvas.addEventListener("mousemove", (event) => {
        const { index, x } = indexAt(event);
        if (index !== page.hover) {
            page.hover = index;
            drawTimeline();
        }
        showTip(index, x);
    });
    canvas.addEventListener("mouseleave", () => {
        page.hover = -1;
        document.getElementById("tip").classList.add("hidden");
        drawTimeline();
    });
    canvas.addEventListener("click", (event) => {
        const { index } = indexAt(event);
        if (page.nextPick === "from") {
            page.nextPick = "to";
            pickPair(index, Math.max(index, page.to));
        } else {
            page.nextPick = "from";
            pickPair(Math.min(index, page.from), Math.max(index, page.from));
        }
    });
    new ResizeObserver(() => drawTimeline()).observe(canvas);
}

// ---- Two entries compared ----

function pickPair(from, to) {
    const started = performance.now();
    page.from = from;
    page.to = to;
    document.getElementById("from").value = page.entries[from].number;
    document.getElementById("to").value = page.entries[to].number;
    document.getElementById("pair-dates").textContent =
        entryLabel(from) + " to " + entryLabel(to);
    drawTimeline();
    page.changes = compareEntries(from, to);
    showChanges();
    showGrowers();
    document.body.dataset.pairMilliseconds = (performance.now() - started).toFixed(1);
    // The tree follows the later entry once the changes are on the screen: for an entry
    // of a million files it takes a moment to build.
    setTimeout(() => showTree(to), 0);
}

function indexOfNumber(number) {
    const first = page.entries[0].number;
    return Math.min(page.entries.length - 1, Math.max(0, number - first));
}

function watchPair() {
    for (const id of ["from", "to"]) {
        document.getElementById(id).addEventListener("change", () => {
            const from = indexOfNumber(Number(document.getElementById("from").value));
            const to = indexOfNumber(Number(document.getElementById("to").value));
            pickPair(Math.min(from, to), Math.max(from, to));
        });
    }
}

let changeList = null;

function drawChangeRow(row, change) {
    row.dataset.kind = change.kind;
    row.dataset.path = change.path;
    row.dataset.before = change.before ? change.before.size + "|" + change.before.date : "";
    row.dataset.after = change.after ? change.after.size + "|" + change.after.date : "";
    row.append(element("span", "badge " + change.kind, change.kind), element("span", "name",
                                                                             change.path));
    const was = change.before ? change.before.size : "";
    const is = change.after ? change.after.size : "";
    const sizes = change.kind === "modified" ? was + " \u2192 " + is : was || is;
    const date = (change.after || change.before).date;
    row.append(element("span", "sizes", sizes), element("span", "date", date));
}

function showChanges() {
    const filter = document.getElementById("change-filter").value.toLowerCase();
    const kinds = new Set([...document.querySelectorAll(".kind:checked")].map((box) => box.value));
    const counts = { added: 0, removed: 0, modified: 0 };
    for (const change of page.changes) counts[change.kind]++;
    for (const kind of Object.keys(counts)) {
        document.getElementById("count-" + kind).textContent = "(" + formatCount(counts[kind]) + ")";
    }
    const shown = page.changes.filter((change) => kinds.has(change.kind) &&
        (filter === "" || change.path.toLowerCase().includes(filter)));
    document.getElementById("changes-summary").textContent = page.from === page.to
        ? "pick two entries on the timeline"
        : "from " + entryLabel(page.from) + " to " + entryLabel(page.to) + ": " +
          formatCount(counts.added) + " added, " + formatCount(counts.removed) + " removed, " +
          formatCount(counts.modified) + " modified";
    changeList.show(shown);
}

// Each change counts for every folder above it.
function showGrowers() {
    const growth = new Map();
    const separator = page.separator;
    for (const change of page.changes) {
        const bytes = (change.after ? bytesOfSize(change.after.size) : 0) -
                      (change.before ? bytesOfSize(change.before.size) : 0);
        const files = change.kind === "added" ? 1 : change.kind === "removed" ? -1 : 0;
        let end = change.path.lastIndexOf(separator);
        while (end >= 0) {
            const folder = end === 0 ? separator : change.path.slice(0, end);
            const held = growth.get(folder) || { bytes: 0, files: 0 };
            held.bytes += bytes;
            held.files += files;
            growth.set(folder, held);
            end = end === 0 ? -1 : change.path.lastIndexOf(separator, end - 1);
        }
    }
    // A folder that grew by just what one folder below it grew tells nothing more.
    const passedOn = new Set();
    for (const [folder, held] of growth) {
        const cut = folder.lastIndexOf(separator);
        const above = cut === 0 ? separator : folder.slice(0, cut);
        const parent = cut < 0 || folder === separator ? undefined : growth.get(above);
        if (parent && parent.bytes === held.bytes && parent.files === held.files) {
            passedOn.add(above);
        }
    }
    const folders = [...growth.entries()].filter(([folder]) => !passedOn.has(folder));
    const fill = (id, key, format) => {
        const body = document.querySelector("#" + id + " tbody");
        const most = folders.filter(([, held]) => held[key] > 0)
            .sort((a, b) => b[1][key] - a[1][key] || (a[0] < b[0] ? -1 : 1))
            .slice(0, GROWERS_SHOWN);
        body.replaceChildren(...most.map(([folder, held]) => {
            const row = element("tr");
            const name = element("td", "", folder);
            name.title = folder;
            row.append(name, element("td", "", "+" + format(held[key])));
            return row;
        }));
        if (most.length === 0) {
            body.replaceChildren(element("tr"));
            body.firstChild.append(element("td", "quiet", "no folder grew"), element("td"));
        }
    };
    fill("growers-bytes", "bytes", formatBytes);
    fill("growers-files", "files", formatCount);
}

// ---- The folders of one entry ----

class Folder {
    constructor(name, parent) {
        this.name = name;
        this.parent = parent;
        this.folders = new Map();
        this.files = [];
        this.bytes = 0;
        this.count = 0;
    }
}

// The tree is built once for its entry: files are listed folder by folder, so the folder
// of the file before is most often the file's own.
function buildTree(index) {
    page.cursor.moveTo(index);
    const root = new Folder("", null);
    const separator = page.separator;
    const all = [];
    let lastFolderPath = null;
    let lastFolder = root;
    for (const [path, held] of page.cursor.files) {
        const cut = path.lastIndexOf(separator);
        const folderPath = cut < 0 ? "" : path.slice(0, cut);
        if (folderPath !== lastFolderPath) {
            let folder = root;
            for (const name of folderPath === "" ? [] : folderPath.split(separator)) {
                const key = name === "" && folder === root ? separator : name;
                let below = folder.folders.get(key);
                if (!below) {
                    below = new Folder(key, folder);
                    folder.folders.set(key, below);
                }
                folder = below;
            }
            lastFolderPath = folderPath;
            lastFolder = folder;
        }
        const name = path.slice(cut + 1);
        for (const listing of held.split("\n")) {
            const file = { name, folder: lastFolder, listing };
            lastFolder.files.push(file);
            all.push(file);
            lastFolder.bytes += bytesOfSize(sizeAndDate(listing).size);
            lastFolder.count++;
        }
    }
    addUp(root);
    return { index, root, all, folder: root, marked: null };
}

function addUp(root) {
    const order = [];
    const stack = [root];
    while (stack.length > 0) {
        const folder = stack.pop();
        order.push(folder);
        for (const below of folder.folders.values()) stack.push(below);
    }
    for (let at = order.length - 1; at > 0; at--) {
        order[at].parent.bytes += order[at].bytes;
        order[at].parent.count += order[at].count;
    }
}

function folderPathOf(folder) {
    const names = [];
    for (let at = folder; at.parent; at = at.parent) names.push(at.name);
    names.reverse();
    if (names.length > 0 && names[0] === page.separator) {
        return page.separator + names.slice(1).join(page.separator);
    }
    return names.join(page.separator);
}

let treeList = null;

function drawTreeRow(row, item) {
    if (item.folders) {
        row.classList.add("clickable");
        row.dataset.folder = item.name;
        row.append(element("span", "name folder",
                           item.name.endsWith(page.separator) ? item.name : item.name + page.separator),
                   element("span", "number", formatCount(item.count) + " files"),
                   element("span", "number", "about " + formatBytes(item.bytes)),
                   element("span", "date", ""));
        row.onclick = () => openFolder(item, null);
    } else {
        const { size, date } = sizeAndDate(item.listing);
        row.dataset.file = item.name;
        if (item === page.tree.marked) row.classList.add("marked");
        row.append(element("span", "name", item.name), element("span", "number", ""),
                   element("span", "number", size), element("span", "date", date));
        row.onclick = null;
    }
}

function openFolder(folder, marked) {
    const tree = page.tree;
    tree.folder = folder;
    tree.marked = marked;
    const crumbs = document.getElementById("crumbs");
    const chain = [];
    for (let at = folder; at; at = at.parent) chain.push(at);
    chain.reverse();
    crumbs.replaceChildren(...chain.map((at, position) => {
        const button = element("button", "", at.parent ? at.name : "all folders");
        button.onclick = () => openFolder(at, null);
        return position === 0 ? button : [document.createTextNode(" \u203a "), button];
    }).flat());
    const folders = [...folder.folders.values()].sort((a, b) => b.bytes - a.bytes);
    const files = folder.files.slice().sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
    const items = folders.concat(files);
    treeList.show(items);
    if (marked) treeList.scrollTo(items.indexOf(marked));
}

function showTree(index) {
    if (!page.tree || page.tree.index !== index) {
        page.tree = buildTree(index);
        // From the top folder down while it holds nothing but one folder.
        let folder = page.tree.root;
        while (folder.files.length === 0 && folder.folders.size === 1) {
            folder = folder.folders.values().next().value;
        }
        openFolder(folder, null);
        search();
    }
    document.getElementById("tree-entry").value = page.entries[index].number;
    document.getElementById("tree-date").textContent = "[" + page.entries[index].date + "]";
    document.body.dataset.treeEntry = page.entries[index].number;
}

// ---- Finding files by their names ----

let searchList = null;
let searchRun = 0;

function drawHitRow(row, file) {
    row.classList.add("clickable");
    row.dataset.path = folderPathOf(file.folder) + page.separator + file.name;
    row.append(element("span", "name", file.name),
               element("span", "where", folderPathOf(file.folder)));
    row.onclick = () => openFolder(file.folder, file);
}

// Searched a slice at a time, so that the first files found show at once and the page
// stays responsive over a million names.
function search() {
    const run = ++searchRun;
    const query = document.getElementById("search").value.toLowerCase();
    const results = document.getElementById("search-results");
    const count = document.getElementById("search-count");
    if (query === "" || !page.tree) {
        results.classList.add("hidden");
        count.textContent = "";
        return;
    }
    results.classList.remove("hidden");
    const all = page.tree.all;
    const hits = [];
    let at = 0;
    const slice = () => {
        if (run !== searchRun) return;
        const end = Math.min(all.length, at + SEARCH_SLICE);
        const before = hits.length;
        for (; at < end; at++) {
            if (all[at].name.toLowerCase().includes(query)) hits.push(all[at]);
        }
        const done = at === all.length;
        if (hits.length !== before || done || before === 0) {
            searchList.items = hits;
            searchList.spacer.style.height = hits.length * ROW_HEIGHT + "px";
            searchList.draw();
        }
        count.textContent = formatCount(hits.length) + (hits.length === 1 ? " file" : " files") +
            " in " + entryLabel(page.tree.index) + (done ? "" : ", searching\u2026");
        if (done) {
            results.dataset.done = "true";
        } else {
            setTimeout(slice, 0);
        }
    };
    results.dataset.done = "false";
    searchList.show([]);
    slice();
}

// ---- The page ----

function watchControls() {
    document.getElementById("search").addEventListener("input", search);
    document.getElementById("change-filter").addEventListener("input", showChanges);
    for (const box of document.querySelectorAll(".kind")) {
        box.addEventListener("change", showChanges);
    }
    document.getElementById("tree-entry").addEventListener("change", (event) => {
        showTree(indexOfNumber(Number(event.target.value)));
    });
}

function nextFrame() {
    return new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
}

async function start() {
    try {
        readData(await inflateData());
    } catch (error) {
        document.getElementById("range").textContent = "The report can't be read: " + error.message;
        document.body.dataset.state = "failed";
        return;
    }
    const entries = page.entries;
    const count = entries.length;
    document.getElementById("range").textContent = count === 1
        ? "Entry " + entries[0].number + " [" + entries[0].date + "]"
        : formatCount(count) + " entries, " + entryLabel(0) + " to " + entryLabel(count - 1);
    readColours();
    page.cursor = new EntryFiles();
    page.from = 0;
    page.to = count - 1;
    changeList = new VirtualList(document.getElementById("change-list"), drawChangeRow);
    treeList = new VirtualList(document.getElementById("tree-list"), drawTreeRow);
    searchList = new VirtualList(document.getElementById("search-results"), drawHitRow);
    drawTimeline();
    document.body.dataset.timelineDrawn = String(Math.round(performance.now()));
    watchTimeline();
    watchPair();
    watchControls();
    await nextFrame();
    pickPair(0, count - 1);
    showTree(count - 1);
    document.body.dataset.state = "ready";
}

start();
