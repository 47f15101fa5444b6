// Writes the FSRS reference vectors that tests/progress replays through our scheduler.
//
// Run by hand, not by the build (CI never runs node; the vectors are kept as test data):
//
//     cd tools/fsrs && npm ci && node make_vectors.mjs ../../tests/progress/fsrs_vectors.txt
//
// Each card starts new and is reviewed many times with ts-fsrs's default parameters
// (FSRS-6, retention 0.9, learning steps 1m 10m, relearning step 10m, no fuzz, short-term
// on), at times drawn by a seeded generator so that the file comes out the same each run:
// reviews a few seconds apart and at the same second, just before and after UTC midnight,
// early, on time, overdue and after gaps of years. Most cards get Again and Good only; some get
// the grades the program gives, Again, Good and Easy ("我认识"); a few get all four.
import { writeFileSync } from "node:fs";
import { createEmptyCard, fsrs, generatorParameters } from "ts-fsrs";

const out = process.argv[2];
if (!out) {
  console.error("usage: node make_vectors.mjs OUT");
  process.exit(2);
}

const scheduler = fsrs(
  generatorParameters({
    request_retention: 0.9,
    learning_steps: ["1m", "10m"],
    relearning_steps: ["10m"],
    enable_fuzz: false,
    enable_short_term: true,
  }),
);

// mulberry32: a small seeded generator, so that the vectors are reproducible.
let seed = 0x5eed2025;
function random() {
  seed = (seed + 0x6d2b79f5) | 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (items) => items[Math.floor(random() * items.length)];
const between = (low, high) => low + Math.floor(random() * (high - low + 1));

const kDay = 86400;
// The next review time, in Unix seconds, for a card last reviewed at `now` and due at `due`.
function NextTime(now, due) {
  const interval = Math.max(1, due - now);
  switch (pick(["same", "seconds", "midnight", "early", "due", "overdue", "overdue", "long"])) {
    case "same":
      return now;
    case "seconds":
      return now + between(1, 90);
    case "midnight": {
      // a few seconds either side of the next UTC midnight
      const midnight = (Math.floor(now / kDay) + 1) * kDay;
      return midnight + between(-5, 5) > now ? midnight + between(-5, 5) : midnight;
    }
    case "early":
      return now + Math.floor(interval * random());
    case "due":
      return due;
    case "overdue":
      return due + Math.floor(interval * 3 * random());
    case "long":
      return due + between(200, 3000) * kDay + between(0, kDay - 1);
  }
}

const kCards = 64;
const lines = [
  "# FSRS reference vectors: written by tools/fsrs/make_vectors.mjs with ts-fsrs " +
    (await import("ts-fsrs")).FSRSVersion,
  "# Default parameters, retention 0.9, learning steps 1m 10m, relearning step 10m, no fuzz.",
  "# One review a line, each card's in order, every card starting new; times in Unix seconds:",
  "# card now grade due stability difficulty state reps lapses learning_steps",
];
for (let id = 0; id < kCards; ++id) {
  const allGrades = id % 8 === 7;
  const withEasy = id % 4 === 1;
  let now = 1767225600 + between(0, 400 * kDay); // from 2026-01-01 UTC
  let card = createEmptyCard(new Date(now * 1000));
  const reviews = between(4, 14);
  for (let n = 0; n < reviews; ++n) {
    const grade = allGrades ? between(1, 4) : withEasy ? pick([1, 3, 3, 4]) : random() < 0.3 ? 1 : 3;
    card = scheduler.next(card, new Date(now * 1000), grade).card;
    const due = card.due.getTime() / 1000;
    lines.push(
      [id, now, grade, due, card.stability, card.difficulty, card.state, card.reps, card.lapses,
        card.learning_steps].join(" "),
    );
    now = NextTime(now, due);
  }
}
writeFileSync(out, lines.join("\n") + "\n");
console.log(`${lines.length - 4} reviews of ${kCards} cards written to ${out}`);
