// The progress window ("学习记录") as plain data: every text and number it shows, made from
// the journal's overview and the few facts only the program knows (the day, whether recording
// is on). A binding only draws a Page: where each part goes, its sizes, faces and colours are
// the binding's, and nothing it shows is computed there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "progress/overview.h"

namespace progresspage {

// A calendar day.
struct Day {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
};

// The local calendar day at `now` (seconds since 1970 UTC), `utc_offset_seconds` east of UTC:
// the day the journal counts its charts from.
Day LocalDay(std::int64_t now, int utc_offset_seconds);

// How far the learner is through one book.
struct BookLearned {
  std::string name;  // as the book choice names it, "《初中英语》(第一册)(304)"
  int learned = 0;
  int words = 0;  // the book's count
};

// What the overview does not hold.
struct Facts {
  Day today;                       // the day the charts count from
  bool recording = true;           // "记录学习进度" is on
  std::vector<BookLearned> books;  // the books practised, in the order to list them
};

// One of the figures in a row at the top: a count with its caption.
struct Figure {
  std::string id;       // the part's name, for assistive technology and tests
  std::string caption;  // "今天到期"
  int value = 0;
  std::string meaning;  // what it counts, said on demand; "" for none
  std::string spoken;   // caption and value in one phrase, "今天到期：23 个"
};

struct Bar {
  int value = 0;       // never below zero
  std::string day;     // "今天", "昨天", "明天", else "5月27日"
  std::string tip;     // the day and value, "5月27日：12 个"
  bool named = false;  // its day is written under the axis
  // Taller than the scale: drawn to the top of the chart, cut there, its value written on it.
  bool cut = false;
};

// A bar chart of one value per day, left to right.
struct Chart {
  std::string id;
  std::string caption;     // its heading and name
  std::string note;        // said on demand about the chart; "" for none
  std::string summary;     // what it shows, in words
  std::string empty_note;  // shown instead of bars when every value is zero
  std::vector<Bar> bars;
  int today = -1;  // the bar drawn stronger
  // The value at the top of the scale (zero at its foot); 0 when every value is zero. When one
  // bar is more than twice as tall as every other, the scale is the tallest of the others and
  // that bar is cut, so the other days stay readable.
  int scale = 0;
};

// Where a chart's bars stand across a plot `width` pixels wide, the same in every binding:
// each day takes `slot`, its bar `bar` wide in the middle of it (a third of the slot is air
// between the bars; bars too thin for air fill their slot); the plot is `width` wide.
struct BarFrame {
  int slot = 1;
  int bar = 1;
  int width = 1;
};
BarFrame PlaceBars(std::size_t bars, int width);
// Bar `i`'s left edge from the plot's.
int BarLeft(const BarFrame& frame, std::size_t i);
// How tall `bar` of `chart` stands in a plot `height` pixels tall: 0 for none; a cut bar fills
// the plot; a value above zero never draws thinner than two pixels.
int BarHeight(const Chart& chart, const Bar& bar, int height);

// Where a named day is written under the axis: its bar and its name's left edge.
struct DayLabel {
  std::size_t bar = 0;
  int left = 0;
};
// The named days of `chart` under its bars (the plot starting `plot_left` from the chart's
// left edge), each kept inside the chart's `width`; a name that would come nearer than `space`
// to the one before is left out. `width_of` measures a name.
std::vector<DayLabel> PlaceDayNames(const Chart& chart, const BarFrame& frame, int plot_left,
                                    int width, int space,
                                    const std::function<int(const std::string&)>& width_of);

struct Column {
  std::string caption;   // "" for a list shown without a header
  bool stretch = false;  // takes the room the others leave; a cut-off cell says itself whole
  bool numeric = false;  // right-aligned
};

struct Row {
  std::vector<std::string> cells;  // one a column, each on one line and of a sane length
  std::string spoken;              // the English word F2 says; "" for a row with none
};

// A list under its caption, or a line saying it is empty.
struct List {
  std::string id;
  std::string caption;  // its heading and name
  std::string hint;     // how to use it; "" for none
  std::vector<Column> columns;
  std::vector<Row> rows;
  std::string empty_id;
  std::string empty_note;  // shown instead when there are no rows
};

struct Page {
  std::string title;   // the window's title
  std::string header;  // a line above everything, "" for none
  // No word in the journal: the window shows `empty_hint` alone. The other parts are filled
  // all the same.
  bool empty = false;
  std::string empty_hint;
  std::vector<Figure> figures;
  std::string good_share;  // the share of Good answers over the last 30 days, in words
  std::vector<Chart> charts;
  std::vector<List> lists;    // the words missed most first
  std::string speak_caption;  // the entry that says a list's word, with its key
};

Page Describe(const progress::Overview& overview, const Facts& facts);

}  // namespace progresspage
