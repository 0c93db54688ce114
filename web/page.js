// The page around one program: it gives the canvas the keys, shows what the
// program writes to its error stream, and says when the program has ended.
// emscripten's generated PROGRAM.js, loaded after this, reads `Module`.
"use strict";

const canvas = document.getElementById("canvas");
const statusLine = document.getElementById("status");
const errors = [];

function showEnded(text) {
    statusLine.hidden = true;
    document.getElementById("ended-text").textContent = text;
    if (errors.length > 0) {
        const pre = document.getElementById("errors");
        pre.textContent = errors.join("\n");
        pre.hidden = false;
    }
    document.getElementById("ended").hidden = false;
    document.body.dataset.state = "ended";
    document.getElementById("again").focus();
}

var Module = {
    thisProgram: document.body.dataset.program,  // the name in the program's messages
    print: (text) => console.log(text),
    printErr: (text) => {
        errors.push(text);
        console.warn(text);
    },
    onRuntimeInitialized: () => {
        statusLine.textContent = "Clic pe desen pentru taste.";
        document.body.dataset.state = "running";
        canvas.focus();
    },
    onExit: (status) => {
        showEnded(status === 0 ? "Programul s-a terminat." : "Programul s-a oprit cu o eroare (" + status + ").");
    },
    onAbort: (what) => {
        errors.push(String(what));
        showEnded("Programul s-a oprit neasteptat.");
    },
};

canvas.addEventListener("mousedown", () => canvas.focus());
document.getElementById("again").addEventListener("click", () => location.reload());
