// Produces the self-contained quiz page of a fixture and drives it as a
// student does, by role and accessible name, in Chromium (playwright-core) or
// Firefox (puppeteer-core over WebDriver BiDi). Every script error, console
// error and request other than the file itself or a data: address is
// recorded in `problems`.
import { execFileSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

import { cliPath, e2eDir } from './site.mjs';
import { QuestionType } from './quiz.mjs';

export const firefoxPath = '/usr/bin/firefox-esr';

// Converts fixtures/<name>.json (or the given document object) into a
// document in a fresh folder and writes its single page there (and the site
// too when withSite is set); prepare(folder) may add files first.
export function produceSingleFile(name, { withSite = false, document = null, prepare = () => {} } = {}) {
  const cli = cliPath();
  const work = mkdtempSync(path.join(tmpdir(), 'tavimor-single-'));
  const json = path.join(work, `${name}.json`);
  if (document) writeFileSync(json, JSON.stringify(document));
  else copyFileSync(path.join(e2eDir, 'fixtures', `${name}.json`), json);
  prepare(work);
  const doc = path.join(work, `${name}.kwz`);
  const prefs = path.join(work, 'prefs');
  const run = (args) => execFileSync(cli, args, { cwd: work, encoding: 'utf8', stdio: 'pipe' });
  run(['from-json', json, doc]);
  const said = run(['standalone', doc, '--prefs', prefs]);
  const file = path.join(work, `${name}.html`);
  if (!existsSync(file)) throw new Error(`no ${file}; tavimor-cli said: ${said}`);
  if (withSite) run(['produce', doc, '--prefs', prefs]);
  return {
    file,
    url: pathToFileURL(file).href,
    siteDir: path.join(work, name),
    remove: () => rmSync(work, { recursive: true, force: true }),
  };
}

export function launchFirefox() {
  if (!existsSync(firefoxPath)) throw new Error(`${firefoxPath} is missing: scripts/setup-deps.sh installs firefox-esr`);
  return puppeteer.launch({ browser: 'firefox', executablePath: firefoxPath, headless: true, protocol: 'webDriverBiDi' });
}

const quoted = (name) => JSON.stringify(name);

// Both libraries name these events and their fields alike.
function recordProblems(page, record) {
  page.on('pageerror', (error) => record(`script error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') record(`console error: ${message.text()}`);
  });
  page.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith('file:') && !url.startsWith('data:')) record(`request: ${url}`);
  });
}

// The few actions the journeys need, on a playwright page.
export function playwrightActions(page) {
  const byRole = (role, name) => page.getByRole(role, { name, exact: true });
  return {
    page,
    goto: (url) => page.goto(url, { waitUntil: 'load' }),
    reload: () => page.reload({ waitUntil: 'load' }),
    click: (role, name) => byRole(role, name).click(),
    fill: (name, text) => byRole('textbox', name).fill(text),
    setChecked: (role, name, checked) => byRole(role, name).setChecked(checked),
    selectIndex: (name, index) => byRole('combobox', name).selectOption({ index }),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    onProblem: (record) => recordProblems(page, record),
  };
}

// The same actions on a puppeteer page, through its accessibility-tree
// queries (::-p-aria), which match the accessible name exactly. The page
// draws each view at once, so the element is looked up without waiting.
export function puppeteerActions(page) {
  const selector = (role, name) => `::-p-aria([name=${quoted(name)}][role=${quoted(role)}])`;
  const find = async (role, name) => {
    const handle = await page.$(selector(role, name));
    if (!handle) throw new Error(`no ${role} named "${name}"`);
    return handle;
  };
  const withHandle = async (role, name, use) => {
    const handle = await find(role, name);
    try {
      return await use(handle);
    } finally {
      await handle.dispose();
    }
  };
  return {
    page,
    goto: (url) => page.goto(url, { waitUntil: 'load' }),
    reload: () => page.reload({ waitUntil: 'load' }),
    click: (role, name) => withHandle(role, name, (h) => h.click()),
    fill: (name, text) =>
      withHandle('textbox', name, async (h) => {
        await h.evaluate((field) => (field.value = ''));
        await h.type(text);
      }),
    // As playwright's: the click must have ticked (or cleared) the box by the
    // time it returns, so that what follows never overtakes it.
    setChecked: (role, name, checked) =>
      withHandle(role, name, async (h) => {
        if ((await h.evaluate((b) => b.checked)) === checked) return;
        await h.click();
        if ((await h.evaluate((b) => b.checked)) !== checked) {
          throw new Error(`clicking the ${role} "${name}" did not change its state`);
        }
      }),
    selectIndex: (name, index) =>
      withHandle('combobox', name, async (h) => {
        await h.select(await h.evaluate((l, i) => l.options[i].value, index));
      }),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    onProblem: (record) => recordProblems(page, record),
  };
}

export class SingleFileStudent {
  constructor(actions, url) {
    this.act = actions;
    this.url = url;
    this.problems = [];
    actions.onProblem((problem) => this.problems.push(problem));
  }

  async open() {
    await this.act.goto(this.url);
    await this.waitForView();
  }

  // A reload (F5) of the page. The page stores the progress within the
  // handling of each action, and every action here returns once the page has
  // handled it, so F5 follows at once. The stored progress must come through
  // the reload unchanged (the new page stores again what it took up); when
  // it does not, the error tells a progress never stored from one lost or
  // refused on loading.
  async reload() {
    const before = await this.storedProgress();
    if (before === null) {
      throw new Error(`before the reload, the page stores no progress (problems: ${this.problems.join(' | ')})`);
    }
    await this.act.reload();
    await this.waitForView();
    const after = await this.storedProgress();
    if (after !== before) {
      throw new Error(
        `the reload did not keep the progress: before ${before}, after ${after} (problems: ${this.problems.join(' | ')})`,
      );
    }
  }

  // The progress the page keeps in its session storage: the value of its one
  // "tavimor-quiz:" key, or null.
  storedProgress() {
    return this.act.evaluate(() => {
      const keys = Object.keys(sessionStorage).filter((key) => key.startsWith('tavimor-quiz:'));
      return keys.length === 1 ? sessionStorage.getItem(keys[0]) : null;
    });
  }

  async waitForView() {
    const deadline = Date.now() + 10_000;
    while (!(await this.act.evaluate(() => document.querySelector('#quiz-view > *') !== null))) {
      if (Date.now() > deadline) throw new Error(`the page shows no view (problems: ${this.problems.join(' | ')})`);
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }

  async enter(name) {
    await this.act.fill('Quel est votre nom?', name);
    await this.act.click('button', 'Commencer');
  }

  next() {
    return this.act.click('button', 'Question suivante');
  }

  previous() {
    return this.act.click('button', 'Question pr\u00e9c\u00e9dente');
  }

  restart() {
    return this.act.click('button', 'Recommencer');
  }

  link(name) {
    return this.act.click('link', name);
  }

  // Clicks "Question n" in the results table.
  openFeedback(n) {
    return this.act.click('link', `Question ${n}`);
  }

  // Gives a planned answer { choice, cert } on the question view: the radio
  // button named by the choice, or the entry of the list named "Réponse";
  // then the certainty box, named by the certainty sentence.
  async answer(quiz, question, answer) {
    if (answer.choice !== null) {
      if (question.type === QuestionType.cloze) {
        await this.act.selectIndex('R\u00e9ponse', answer.choice + 1);
      } else {
        await this.act.setChecked('radio', question.choices[answer.choice], true);
      }
    }
    if (quiz.certainty) await this.act.setChecked('checkbox', quiz.certSentence, Boolean(answer.cert));
  }

  // What the page shows, whatever the view.
  view() {
    return this.act.evaluate(() => {
      const main = document.getElementById('quiz-view');
      const radios = [...main.querySelectorAll('input[type="radio"]')];
      const list = main.querySelector('select');
      const cert = main.querySelector('input[type="checkbox"]');
      const table = main.querySelector('table.results');
      const rows = table ? [...table.rows] : [];
      const tail = (row) => (row ? [...row.cells].slice(1) : []);
      const markOf = (cell) => {
        const img = cell.querySelector('img');
        return { alt: img?.alt ?? '', loaded: Boolean(img && img.complete && img.naturalWidth > 0) };
      };
      return {
        h1: document.querySelector('h1')?.innerText.trim() ?? null,
        heading: main.querySelector('h2')?.innerText.trim() ?? null,
        focused: document.activeElement?.id ?? null,
        text: main.innerText,
        name: document.getElementById('student-name')?.value ?? null,
        radios: radios.map((r) => r.checked),
        labels: radios.map((r) => r.closest('label').innerText.trim()),
        cellCount: new Set(radios.map((r) => r.closest('td'))).size,
        rowCount: new Set(radios.map((r) => r.closest('tr'))).size,
        options: list ? [...list.options].map((o) => o.text) : null,
        selectedIndex: list ? list.selectedIndex : null,
        cert: cert ? cert.checked : null,
        rowHeads: rows.map((r) => r.cells[0].innerText.trim()),
        headerCells: rows.map((r) => [...r.cells].filter((c) => c.tagName === 'TH').length),
        numbers: tail(rows[0]).map((c) => c.querySelector('a')?.textContent.trim() ?? null),
        marks: tail(rows[1]).map(markOf),
        certainty: tail(rows[2]).map((c) => c.innerText.trim()),
        links: [...main.querySelectorAll('a')].map((a) => ({ href: a.getAttribute('href'), text: a.textContent })),
        navigation: [...document.querySelectorAll('#quiz-nav button, #quiz-nav a')].map((c) => c.textContent.trim()),
      };
    });
  }
}
