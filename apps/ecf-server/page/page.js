"use strict";
// The emulated printer's page: asks for the service's token once (kept for
// this browser tab only), then holds a request open for the next change of
// the printer and draws its paper, state, faults and last calls.

const TOKEN_KEY = "ecf-token";
const CUT = "~".repeat(48);
const $ = (selector) => document.querySelector(selector);

let version = null;
let tapeVersion = null;
let shownTape = null;
let watching = false;

function token() { return sessionStorage.getItem(TOKEN_KEY); }

function showMessage(text) { $("#message").textContent = text || ""; }

function setConnected(connected) {
  const badge = $("#connection");
  badge.textContent = connected ? "connected" : "not connected";
  badge.className = connected ? "on" : "off";
}

function askToken(why) {
  sessionStorage.removeItem(TOKEN_KEY);
  $("#token-form").hidden = false;
  $("#token-error").textContent = why || "";
  setConnected(false);
}

// A request with the token; a refused token asks for it again.
async function api(path, options = {}) {
  const headers = Object.assign({ "Authorization": "Bearer " + token() }, options.headers || {});
  const response = await fetch(path, Object.assign({}, options, { headers, cache: "no-store" }));
  let body = null;
  try { body = await response.json(); } catch (ignored) { body = null; }
  if (response.status === 401) {
    askToken("The service did not accept that token.");
    throw new Error("unauthorized");
  }
  return { status: response.status, body };
}

function errorText(status, body) {
  return body && body.error && body.error.message ? body.error.message : "the service answered " + status;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The paper: one strip per document, each ended by its cut.
function drawTape(text) {
  if (text === shownTape) return;
  shownTape = text;
  const tape = $("#tape");
  const follow = tape.scrollTop + tape.clientHeight >= tape.scrollHeight - 40;
  const documents = [];
  let lines = [];
  for (const line of text.split(/\r?\n/)) {
    if (line === CUT) {
      documents.push(lines);
      lines = [];
    } else {
      lines.push(line);
    }
  }
  if (lines.length > 1 || (lines.length === 1 && lines[0] !== "")) documents.push(lines);
  const strips = documents.map((documentLines) => {
    const strip = document.createElement("div");
    strip.className = "strip";
    const paper = document.createElement("pre");
    paper.className = "paper";
    paper.textContent = documentLines.join("\n");
    const cut = document.createElement("div");
    cut.className = "cut";
    strip.append(paper, cut);
    return strip;
  });
  tape.replaceChildren(...strips);
  if (follow || strips.length <= 1) tape.scrollTop = tape.scrollHeight;
}

const SHOWN = {
  Ligada: (v) => (v === "1" ? "ligada" : "desligada"),
  HorarioVerao: (v) => (v === "1" ? "sim" : "não"),
};
const ALERT = { Ligada: (v) => v !== "1", Papel: (v) => v !== "normal" };

function drawState(state) {
  for (const cell of document.querySelectorAll("#state dd[data-key]")) {
    const key = cell.dataset.key;
    const value = state[key] === undefined ? "" : state[key];
    cell.textContent = value === "" ? "—" : (SHOWN[key] ? SHOWN[key](value) : value);
    cell.classList.toggle("alert", Boolean(ALERT[key] && value !== "" && ALERT[key](value)));
  }
}

function drawFaults(faults) {
  $("#faults").replaceChildren(...faults.map((fault) => {
    const item = document.createElement("li");
    item.className = "fault " + fault.status.replace(/ /g, "-");
    item.dataset.id = fault.id;
    item.textContent = fault.label + " — " + fault.status;
    return item;
  }));
}

function drawJournal(journal) {
  $("#journal").replaceChildren(...journal.slice().reverse().map((call) => {
    const item = document.createElement("li");
    const failed = call.result !== 1;
    item.className = failed ? "failed" : "";
    item.textContent = call.name + " → " + call.result +
      (call.st1 || call.st2 ? " (ST1 " + call.st1 + ", ST2 " + call.st2 + ")" : "");
    return item;
  }));
}

function draw(view) {
  if (view.tape !== null) drawTape(view.tape);  // null: the tape shown is still the printer's
  tapeVersion = view.tape_version;
  drawState(view.state);
  drawFaults(view.faults);
  drawJournal(view.journal);
  version = view.version;
  $("#tape").dataset.version = String(view.version);
  document.body.dataset.connected = "1";
  setConnected(true);
}

// One request at a time, held by the service until the printer changes.
async function watch() {
  if (watching) return;
  watching = true;
  try {
    while (token()) {
      try {
        const query = version === null ? "" : "?since=" + version + "&tape=" + tapeVersion;
        const { status, body } = await api("/page/view" + query);
        if (status !== 200 || !body) {
          showMessage(errorText(status, body));
          await sleep(2000);
          continue;
        }
        draw(body);
      } catch (error) {
        if (error.message === "unauthorized") return;
        setConnected(false);
        await sleep(2000);
      }
    }
  } finally {
    watching = false;
  }
}

// What each button asks of the printer, in ecf-tool's words.
const SCRIPT_ANSWERS = {
  "refuse": ["1", "6", "0", "1"],  // answered, ST2 bit 0: not executed
  "execute": ["0", "0", "0", "0"],  // no answer
  "power-loss": ["0", "0", "0", "0"],
  "paper-out": ["1", "6", "0", "0"],
  "power-cut-before": ["-6", "0", "0", "0"],
};
const FAULTS = {
  "paper-low": () => ["paper", ["low"]],
  "paper-out": () => ["paper", ["out"]],
  "paper-ok": () => ["paper", ["ok"]],
  "paper-ends-after": () => ["paper-ends-after", [$("#paper-items").value]],
  "power-off": () => ["power", ["off"]],
  "power-on": () => ["power", ["on"]],
  "port-refused": () => ["port", ["refused"]],
  "port-ok": () => ["port", ["ok"]],
  "clock-move": () => ["clock-offset", [$("#clock-offset").value]],
  "clock-real": () => ["clock-offset", ["0"]],
  "script": () => {
    const how = $("#script-how").value;
    const [result, ack, st1, st2] = SCRIPT_ANSWERS[how];
    return ["script-after", [$("#script-skip").value, $("#script-entry").value.trim(), result, ack, st1, st2, "1", how]];
  },
  "clear-scripts": () => ["clear-scripts", []],
};

async function press(button) {
  const [command, args] = FAULTS[button.dataset.fault]();
  button.disabled = true;
  try {
    const { status, body } = await api("/page/fault", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify({ command, args }),
    });
    showMessage(status === 200 ? "" : errorText(status, body));
  } catch (error) {
    if (error.message !== "unauthorized") showMessage("the service cannot be reached");
  } finally {
    button.disabled = false;
  }
}

for (const button of document.querySelectorAll("button[data-fault]"))
  button.addEventListener("click", () => press(button));

$("#token-form").addEventListener("submit", (event) => {
  event.preventDefault();
  const given = $("#token-input").value.trim();
  if (!given) return;
  sessionStorage.setItem(TOKEN_KEY, given);
  $("#token-input").value = "";
  $("#token-form").hidden = true;
  $("#token-error").textContent = "";
  watch();
});

if (token()) {
  $("#token-form").hidden = true;
  watch();
}
