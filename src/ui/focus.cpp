#include "ui/focus.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>

#include "ui/control.h"

namespace ui {
namespace {

struct Box {
  int left, top, right, bottom;
};

Box BoxOf(const Control& c) {
  return {c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
}

// Touching edges count: the cells of a board touch without overlapping.
bool Meet(const Box& a, const Box& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

Box Union(const Box& a, const Box& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

const Button* ArrayButton(const Control* c) {
  auto* button = dynamic_cast<const Button*>(c);
  return button && button->Array() ? button : nullptr;
}

bool IsOneLineTextBox(const Control* c) {
  auto* box = dynamic_cast<const TextBox*>(c);
  return box && !box->MultiLine();
}

// How near `to` lies to `from` for a walk along rows (or else along columns), less being
// nearer: outside `from`'s own line or not, then the distance along the line plus twice the
// distance across it, measured between centres; at equal distance the one after `from` in
// its array comes first. Both the arrow walk and the focus that moves on use this measure.
using Nearness = std::tuple<bool, long, bool>;

Nearness NearnessOf(const Button& from, const Button& to, bool along_rows) {
  const Box a = BoxOf(from), b = BoxOf(to);
  // Doubled centres, so that they stay whole twips.
  const long dx = std::labs(long{b.left} + b.right - a.left - a.right);
  const long dy = std::labs(long{b.top} + b.bottom - a.top - a.bottom);
  const bool in_line =
      along_rows ? a.top < b.bottom && b.top < a.bottom : a.left < b.right && b.left < a.right;
  const long along = along_rows ? dx : dy;
  const long across = along_rows ? dy : dx;
  return {!in_line, along + 2 * across, to.Index() < from.Index()};
}

// The nearest shown, enabled button that shares `from`'s array (or, for a button of its own,
// that has none either) and that `wanted` accepts.
template <class Wanted>
Button* Nearest(const Window& window, const Button& from, bool along_rows, Wanted wanted) {
  Button* best = nullptr;
  Nearness best_key{};
  for (Control* c : window.Controls()) {
    auto* b = dynamic_cast<Button*>(c);
    if (!b || b == &from || b->Array() != from.Array() || !b->Acts() || !wanted(*b)) continue;
    const Nearness key = NearnessOf(from, *b, along_rows);
    if (!best || key < best_key) {
      best = b;
      best_key = key;
    }
  }
  return best;
}

// For each control, the block it belongs to: controls are joined while any two of them meet.
// A block is named by one of its controls' places.
std::vector<std::size_t> Blocks(const std::vector<Control*>& controls) {
  std::vector<std::size_t> block(controls.size());
  std::iota(block.begin(), block.end(), 0);
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < controls.size(); ++i)
      for (std::size_t j = i + 1; j < controls.size(); ++j)
        if (block[i] != block[j] && Meet(BoxOf(*controls[i]), BoxOf(*controls[j]))) {
          const std::size_t from = block[j], to = block[i];
          std::replace(block.begin(), block.end(), from, to);
          merged = true;
        }
  }
  return block;
}

// For each block (by its name), its place in reading order: rows of blocks from the top, a
// block that starts above the row's bottom joining it; left to right in a row.
std::vector<std::size_t> BlockRanks(const std::vector<Control*>& controls,
                                    const std::vector<std::size_t>& block) {
  std::vector<std::size_t> ids;
  std::vector<Box> extent(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const std::size_t id = block[i];
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
      ids.push_back(id);
      extent[id] = BoxOf(*controls[i]);
    } else {
      extent[id] = Union(extent[id], BoxOf(*controls[i]));
    }
  }
  std::stable_sort(ids.begin(), ids.end(),
                   [&](std::size_t a, std::size_t b) { return extent[a].top < extent[b].top; });
  std::vector<int> row_of(controls.size(), 0);
  int row = -1, row_bottom = 0;
  for (std::size_t id : ids) {
    if (row < 0 || extent[id].top >= row_bottom) {
      ++row;
      row_bottom = extent[id].bottom;
    }
    row_bottom = std::max(row_bottom, extent[id].bottom);
    row_of[id] = row;
  }
  std::stable_sort(ids.begin(), ids.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(row_of[a], extent[a].left, extent[a].top) <
           std::tie(row_of[b], extent[b].left, extent[b].top);
  });
  std::vector<std::size_t> rank(controls.size());
  for (std::size_t k = 0; k < ids.size(); ++k) rank[ids[k]] = k;
  return rank;
}

}  // namespace

std::vector<Control*> TabOrder(const Window& window) {
  std::vector<Control*> controls;
  for (Control* c : window.Controls())
    if (c->TakesFocus()) controls.push_back(c);
  const std::vector<std::size_t> block = Blocks(controls);
  const std::vector<std::size_t> rank = BlockRanks(controls, block);

  std::vector<std::size_t> order(controls.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Control& ca = *controls[a];
    const Control& cb = *controls[b];
    return std::make_tuple(rank[block[a]], ca.Top(), ca.Left()) <
           std::make_tuple(rank[block[b]], cb.Top(), cb.Left());
  });
  std::vector<Control*> result;
  result.reserve(order.size());
  for (std::size_t i : order) result.push_back(controls[i]);
  return result;
}

Control* NextFocus(const Window& window, const Control* from) {
  if (const Button* button = ArrayButton(from))
    if (Control* near = Nearest(window, *button, true, [](const Button&) { return true; }))
      return near;
  const auto first = [&window](auto&& wanted) -> Control* {
    for (Control* c : window.Controls())
      if (c->Acts() && wanted(c)) return c;
    return nullptr;
  };
  if (Control* list = first([](const Control* c) { return dynamic_cast<const ListBox*>(c); }))
    return list;
  if (Control* box = first(IsOneLineTextBox)) return box;
  return first(ArrayButton);
}

Button* Neighbour(const Window& window, const Button& from, Direction direction) {
  const bool along_rows = direction == Direction::Left || direction == Direction::Right;
  const int sign = direction == Direction::Left || direction == Direction::Up ? -1 : 1;
  // Twice the centre, along the walk.
  const auto centre = [along_rows](const Button& b) {
    return along_rows ? 2 * b.Left() + b.Width() : 2 * b.Top() + b.Height();
  };
  return Nearest(window, from, along_rows,
                 [&](const Button& b) { return sign * (centre(b) - centre(from)) > 0; });
}

}  // namespace ui
