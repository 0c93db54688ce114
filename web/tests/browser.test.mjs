// The browser build in headless Chromium: each page shows its program's own
// pictures, pixel for pixel those of the native snapshot tool for the same
// keys or mouse, and says when the program has ended.
//
//   SITE_DIR=build/web NATIVE_TOOLS=build/bin node --test web/tests/
//
// The site is served by python3 -m http.server on a free loopback port, as
// the README serves it. A failed picture comparison leaves the canvas and
// the expected picture as PPM files in TEST_OUT.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const here = path.dirname(fileURLToPath(import.meta.url));
const suite = path.resolve(here, "../..");
const siteDir = path.resolve(process.env.SITE_DIR ?? path.join(suite, "build/web"));
const tools = path.resolve(process.env.NATIVE_TOOLS ?? path.join(suite, "build/bin"));
const outDir = path.resolve(process.env.TEST_OUT ?? path.join(suite, "build-web/test-out"));
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "web-test-"));

// Flags for Chromium on a machine without network or display.
const chromiumFlags = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
];

let server, baseUrl, context;

function startServer() {
    return new Promise((resolve, reject) => {
        server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", siteDir],
                       { stdio: ["ignore", "pipe", "ignore"] });
        let text = "";
        server.stdout.on("data", (chunk) => {
            text += chunk;
            const found = text.match(/port (\d+)/);
            if (found) resolve(`http://127.0.0.1:${found[1]}`);
        });
        server.on("exit", (status) => reject(new Error(`the web server ended (status ${status})`)));
    });
}

before(async () => {
    assert.ok(fs.existsSync(path.join(siteDir, "index.html")), `no site in ${siteDir}`);
    baseUrl = await startServer();
    context = await chromium.launchPersistentContext(path.join(scratch, "profile"), {
        executablePath: "/usr/bin/chromium", headless: true, args: chromiumFlags,
    });
});

after(async () => {
    await context?.close();
    server?.kill();
    fs.rmSync(scratch, { recursive: true, force: true });
});

// --- Pictures ------------------------------------------------------------------

function readPpm(file) {
    const data = fs.readFileSync(file);
    const header = data.toString("latin1", 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    assert.ok(header, `${file} is no PPM`);
    const start = header[0].length;
    return { width: +header[1], height: +header[2], rgb: data.subarray(start) };
}

function writePpm(file, image) {
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${image.width} ${image.height}\n255\n`), image.rgb]));
}

// What the snapshot tool draws for the same program, keys, frames and mouse.
function snapshot(program, { keys = "", frames, mouse } = {}) {
    const file = path.join(scratch, `${program}-expected.ppm`);
    const args = [program, "--keys", keys, "-o", file];
    if (frames !== undefined) args.push("--frames", String(frames));
    if (mouse !== undefined) args.push("--mouse", `${mouse[0]},${mouse[1]}`);
    execFileSync(path.join(tools, "snapshot"), args);
    return readPpm(file);
}

// The frames of an animation's headless run (keys queued at the start) that
// look exactly like `image`.
function framesLike(program, image, frames, keys = "") {
    const file = path.join(scratch, `${program}-capture.ppm`);
    writePpm(file, image);
    const found = execFileSync(path.join(tools, "frame_search"),
                               [program, "--frames", String(frames), "--keys", keys, file]);
    return found.toString().split("\n").filter(Boolean).map((line) => +line.split(" ")[1]);
}

// The canvas as RGB, read with getImageData.
async function canvasImage(page) {
    const { width, height, base64 } = await page.evaluate(() => {
        const canvas = document.getElementById("canvas");
        const rgba = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
        let text = "";
        for (let i = 0; i < rgba.length; i += 4)
            text += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
        return { width: canvas.width, height: canvas.height, base64: btoa(text) };
    });
    return { width, height, rgb: Buffer.from(base64, "base64") };
}

function differences(actual, expected) {
    if (actual.width !== expected.width || actual.height !== expected.height)
        return `sizes differ: ${actual.width}x${actual.height} against ${expected.width}x${expected.height}`;
    let count = 0, first = "";
    for (let i = 0; i < actual.rgb.length; i += 3) {
        if (actual.rgb.compare(expected.rgb, i, i + 3, i, i + 3) === 0) continue;
        if (count++ === 0) {
            const pixel = i / 3;
            first = ` first at (${pixel % actual.width}, ${Math.floor(pixel / actual.width)})`;
        }
    }
    return count === 0 ? "" : `${count} pixels differ;${first}`;
}

// Waits until the canvas shows `expected` exactly; on a timeout fails with
// where the two differ and keeps both pictures.
async function expectCanvas(page, expected, name, timeout = 5000) {
    const deadline = Date.now() + timeout;
    for (;;) {
        const actual = await canvasImage(page);
        const diff = differences(actual, expected);
        if (diff === "") return;
        if (Date.now() > deadline) {
            writePpm(path.join(outDir, `${name}.canvas.ppm`), actual);
            writePpm(path.join(outDir, `${name}.expected.ppm`), expected);
            assert.fail(`${name}: the canvas is not the snapshot tool's picture: ${diff} (pictures in ${outDir})`);
        }
        await page.waitForTimeout(50);
    }
}

// --- Pages ---------------------------------------------------------------------

// Opens a program's page and waits until the program runs with the keys.
async function openProgram(program) {
    const page = await context.newPage();
    const problems = [];
    page.on("pageerror", (error) => problems.push(error.message));
    page.problems = problems;
    page.openedAt = Date.now();
    await page.goto(`${baseUrl}/${program}.html`);
    await page.waitForFunction(() => document.body.dataset.state === "running", null, { timeout: 20000 });
    const focused = await page.evaluate(() => document.activeElement?.id);
    assert.equal(focused, "canvas", "the canvas does not have the keys");
    return page;
}

async function typeKeys(page, keys) {
    for (const key of keys.split(" ").filter(Boolean)) await page.keyboard.press(key);
}

async function expectEnded(page) {
    await page.waitForFunction(() => document.body.dataset.state === "ended", null, { timeout: 5000 });
    const text = await page.locator("#ended").innerText();
    assert.match(text, /Programul s-a terminat\./);
    assert.ok(await page.locator("#again").isVisible(), "no way to start the program again");
    assert.deepEqual(page.problems, []);
}

// Program, window title, client size, and how its first picture is known:
// exactly for the key-driven programs and the arm (which stays still until
// the mouse moves), as some frame of the run for the two animations.
const programs = [
    ["cab_lift", "DISPOZITIV DE RIDICAT CABINA EXCAVATORULUI", 640, 480, "exact"],
    ["backhoe", "FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA", 640, 480, "exact"],
    ["loco_drive", "ANGRENAJE LOCOMOTIVA", 800, 600, "exact"],
    ["jointed_arm", "BRAT ARTICULAT", 800, 600, "exact"],
    ["ic_engine", "MOTOR CU ARDERE INTERNA", 800, 600, "frame"],
    ["gear_train", "ANGRENAJ DINTAT CU DINTI IN NUMAR PAR", 800, 600, "frame"],
];

// Upper bounds of the frames an animation can have shown since its page
// was opened: ic_engine one every 2 ms, gear_train one every 10 ms.
const framePeriodMs = { ic_engine: 2, gear_train: 10 };
const framesSince = (page, program) => Math.ceil((Date.now() - page.openedAt) / framePeriodMs[program]) + 100;

describe("each page", () => {
    for (const [program, title, width, height, picture] of programs) {
        test(`${program}: title, size, first picture, and ESC ends it`, async () => {
            const page = await openProgram(program);
            assert.equal(await page.title(), title);
            const size = await page.evaluate(() => [document.getElementById("canvas").width, document.getElementById("canvas").height]);
            assert.deepEqual(size, [width, height]);
            if (picture === "exact") {
                await expectCanvas(page, snapshot(program, { frames: 2 }), `${program}-first`);
            } else {
                await page.waitForTimeout(300);
                const shown = await canvasImage(page);
                const frames = framesLike(program, shown, framesSince(page, program));
                assert.ok(frames.length > 0, `${program}: the canvas shows no frame of the program's run`);
            }
            await page.keyboard.press("Escape");
            await expectEnded(page);
            await page.close();
        });
    }
});

describe("keys typed into the page", () => {
    // The canvas afterwards is the snapshot tool's picture for the same keys;
    // F1 screens are mostly text, drawn by the same FreeType.
    const cases = [
        ["backhoe", "p p l t", "p p l t"],
        ["cab_lift", "p p m 3 f Escape", "p p m 3 f ESC"],
        ["loco_drive", "p p x 2 d Escape", "p p x 2 d ESC"],
        ["cab_lift", "F1", "F1"],
        ["backhoe", "Shift+F1 F2", "S-F1 F2"],
        ["loco_drive", "Control+F4 q q b", "C-F4 q q b"],
    ];
    for (const [program, typed, tokens] of cases) {
        test(`${program} after ${tokens}`, async () => {
            const page = await openProgram(program);
            await typeKeys(page, typed);
            await expectCanvas(page, snapshot(program, { keys: tokens }), `${program}-${tokens.replace(/ /g, "_")}`);
            await page.close();
        });
    }

    test("the browser does not act on keys that give the program codes", async () => {
        const page = await openProgram("gear_train");
        await page.evaluate(() => {
            window.prevented = {};
            window.addEventListener("keydown", (e) => { window.prevented[e.key] = e.defaultPrevented; });
        });
        await typeKeys(page, "Tab F1 F5 ArrowDown PageDown Backspace Control+d Alt+x Shift CapsLock");
        const prevented = await page.evaluate(() => window.prevented);
        assert.deepEqual(prevented, {
            Tab: true, F1: true, F5: true, ArrowDown: true, PageDown: true, Backspace: true, d: true, x: true,
            Shift: false, Control: false, Alt: false, CapsLock: false,
        });
        await page.close();
    });
});

test("jointed_arm follows the mouse", async () => {
    const page = await openProgram("jointed_arm");
    const box = await page.locator("#canvas").boundingBox();
    for (const [x, y] of [[600, 150], [120, 500], [400, 300]]) {
        await page.mouse.move(box.x + x, box.y + y);
        await expectCanvas(page, snapshot("jointed_arm", { frames: 2, mouse: [x, y] }), `jointed_arm-${x}-${y}`);
    }
    await page.keyboard.press("x");
    await expectEnded(page);
    await page.close();
});

test("gear_train changes its teeth with a and z", async () => {
    const page = await openProgram("gear_train");
    for (const [typed, keys] of [["a a a", "a a a"], ["z", "a a a z"]]) {
        await typeKeys(page, typed);
        await page.waitForTimeout(300);  // one key is taken per frame
        const shown = await canvasImage(page);
        const frames = framesSince(page, "gear_train");
        const withKeys = framesLike("gear_train", shown, frames, keys);
        assert.ok(withKeys.length > 0, `after ${keys} the canvas is no frame of the run with those keys`);
        assert.deepEqual(framesLike("gear_train", shown, frames), [], `after ${keys} the teeth are as at the start`);
    }
    await page.close();
});

test("an ended program starts again from its page", async () => {
    const page = await openProgram("backhoe");
    await typeKeys(page, "t Escape");
    await expectEnded(page);
    await page.locator("#again").click();
    await page.waitForFunction(() => document.body.dataset.state === "running", null, { timeout: 20000 });
    await expectCanvas(page, snapshot("backhoe"), "backhoe-again");
    await page.close();
});
